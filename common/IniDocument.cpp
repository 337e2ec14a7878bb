// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniDocument.h"

#include <utility>

#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

TIniDocument::TIniDocument(std::string path) : path_(std::move(path)) {
  std::string bytes;
  if (ReadWholeFile(path_, bytes)) SetText(bytes);
}

void TIniDocument::SetText(std::string_view text) {
  sections_.clear();
  index_.clear();
  std::size_t current = sections_.size();  // none yet: lines before the first section are dropped
  for (const std::string& raw : SplitLines(text)) {
    std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = SectionFor(TrimBlanks(line.substr(1, line.size() - 2)));
      continue;
    }
    if (current >= sections_.size()) continue;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
      sections_[current].lines.push_back({std::string(line), std::string(), false});
    else
      sections_[current].lines.push_back({std::string(TrimBlanks(line.substr(0, eq))),
                                          std::string(TrimBlanks(line.substr(eq + 1))), true});
  }
}

std::string TIniDocument::Text() const {
  std::string out;
  for (const Section& section : sections_) {
    out += '[';
    out += section.name;
    out += "]\r\n";
    for (const Line& line : section.lines) {
      out += line.key;
      if (line.hasValue) {
        out += '=';
        out += line.value;
      }
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

const TIniDocument::Section* TIniDocument::FindSection(std::string_view name) const {
  auto it = index_.find(AsciiLower(name));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

std::size_t TIniDocument::SectionFor(std::string_view name) {
  auto [it, added] = index_.emplace(AsciiLower(name), sections_.size());
  if (added) sections_.push_back({std::string(name), {}});
  return it->second;
}

std::string TIniDocument::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
  if (const Section* s = FindSection(section))
    for (const Line& line : s->lines)
      if (line.hasValue && SameTextIgnoringCase(line.key, key)) return line.value;
  return std::string(defaultValue);
}

void TIniDocument::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  // A line break would turn the rest of the value into lines of their own (even a new section)
  // when the file is read back, so breaks are stored as blanks.
  std::string stored(value);
  for (char& c : stored)
    if (c == '\r' || c == '\n') c = ' ';
  Section& s = sections_[SectionFor(section)];
  for (Line& line : s.lines)
    if (line.hasValue && SameTextIgnoringCase(line.key, key)) {
      line.value = std::move(stored);
      return;
    }
  s.lines.push_back({std::string(key), std::move(stored), true});
}

bool TIniDocument::SectionExists(std::string_view section) const {
  return FindSection(section) != nullptr;
}

std::vector<std::string> TIniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

std::vector<std::string> TIniDocument::KeyNames(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = FindSection(section))
    for (const Line& line : s->lines)
      if (line.hasValue) keys.push_back(line.key);
  return keys;
}

bool TIniDocument::UpdateFile() const {
  return !path_.empty() && WriteFileAtomic(path_, Text(), /*durable=*/true);
}

bool operator==(const TIniDocument& a, const TIniDocument& b) {
  if (a.sections_.size() != b.sections_.size()) return false;
  for (std::size_t i = 0; i < a.sections_.size(); ++i)
    if (a.sections_[i].name != b.sections_[i].name || a.sections_[i].lines != b.sections_[i].lines)
      return false;
  return true;
}

}  // namespace pictalon
