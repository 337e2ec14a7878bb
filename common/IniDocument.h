// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An in-memory INI document: read whole when opened, read and written by section and key,
// written back whole on request.
//
// Reading rules: section and key names match without regard to ASCII letter case; blanks (bytes of
// code 32 or less) around section names, keys and values are dropped; empty lines, lines beginning
// with ';' and lines before the first section are dropped; a line inside a section without '=' is
// kept in its section and written back. Lines end at CR LF, LF or CR; a zero byte ends the text.
// Order is kept: sections in file order, then new ones in the order first written.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pictalon {

class TIniDocument {
public:
  TIniDocument() = default;
  // Opens the document on path; a file that does not exist or cannot be read gives an empty one.
  explicit TIniDocument(std::string path);

  const std::string& FileName() const { return path_; }

  void SetText(std::string_view text);
  std::string Text() const;  // every line ended by CR LF, one empty line after each section

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  bool SectionExists(std::string_view section) const;
  std::vector<std::string> SectionNames() const;
  std::vector<std::string> KeyNames(std::string_view section) const;  // in file order

  // Rewrites the file whole (atomically); false when it cannot be written.
  bool UpdateFile() const;

  friend bool operator==(const TIniDocument& a, const TIniDocument& b);

private:
  struct Line {
    std::string key;    // the whole line when it has no '='
    std::string value;
    bool hasValue;
    friend bool operator==(const Line& a, const Line& b) {
      return a.key == b.key && a.value == b.value && a.hasValue == b.hasValue;
    }
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
  };

  const Section* FindSection(std::string_view name) const;
  std::size_t SectionFor(std::string_view name);  // its position; added at the end when missing

  std::string path_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> index_;  // lower-case name -> position
};

}  // namespace pictalon
