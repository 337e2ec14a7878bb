// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Message.h"

namespace pictalon {

std::string TMessage::FillArguments(const std::string& pattern, const std::vector<std::string>& arguments) {
  if (arguments.empty()) return pattern;
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const std::size_t n = i + 1 < pattern.size() ? std::size_t(pattern[i + 1] - '0') : 0;
    if (pattern[i] == '%' && n >= 1 && n <= arguments.size() && n <= 9) {
      text += arguments[n - 1];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace pictalon
