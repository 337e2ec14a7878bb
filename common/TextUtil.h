// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small byte-string helpers shared by the readers and writers.
#include <string>
#include <string_view>
#include <vector>

namespace pictalon {

// ASCII-only case folding: names in files are compared the way the file formats define.
char AsciiLower(char c);
std::string AsciiLower(std::string_view text);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix);

// Removes leading and trailing bytes of code 32 or less (blanks and control characters).
std::string_view TrimBlanks(std::string_view text);
bool IsBlank(std::string_view text);

// Splits text into lines at CR LF, lone LF and lone CR. A zero byte ends the text; a line break
// at the very end adds no empty line, an empty line inside the text is an empty entry.
std::vector<std::string> SplitLines(std::string_view text);

// The message with a full stop added, unless it ends with '.' or a byte that sorts before it.
std::string WithFullStop(std::string message);

// Joins lines, each followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// The longest prefix of text of at most maxBytes bytes that does not end inside a UTF-8 sequence.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace pictalon
