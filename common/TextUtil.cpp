// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextUtil.h"

#include <algorithm>

namespace pictalon {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         SameTextIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

static bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view TrimBlanks(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && IsBlankByte(text[b])) ++b;
  while (e > b && IsBlankByte(text[e - 1])) --e;
  return text.substr(b, e - b);
}

bool IsBlank(std::string_view text) { return TrimBlanks(text).empty(); }

std::vector<std::string> SplitLines(std::string_view text) {
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

std::string WithFullStop(std::string message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
  // text[maxBytes] is the first byte dropped: when it continues a character, drop that character
  // whole. A UTF-8 character has at most three continuation bytes; other bytes are cut as they are.
  std::size_t cut = maxBytes;
  for (int i = 0; i < 3 && cut > 0 && continuation(cut); ++i) --cut;
  if (continuation(cut)) cut = maxBytes;
  return text.substr(0, cut);
}

}  // namespace pictalon
