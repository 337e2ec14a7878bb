// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Image details files are edited by hand and come with copied galleries: the INI document must
// take any bytes, and what it writes must read back as the same document and write the same text
// again, or every save would change the user's file a little more.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using pictalon::TIniDocument;
  TIniDocument first;
  first.SetText(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string text = first.Text();

  TIniDocument second;
  second.SetText(text);
  FUZZ_CHECK(second == first);
  FUZZ_CHECK(second.Text() == text);

  // Every section and key the document lists can be found again by its own name.
  for (const std::string& section : first.SectionNames()) {
    FUZZ_CHECK(first.SectionExists(section));
    for (const std::string& key : first.KeyNames(section)) {
      const std::string value = first.ReadString(section, key, "\x01missing");
      FUZZ_CHECK(value != "\x01missing");
      FUZZ_CHECK(value.find_first_of("\r\n") == std::string::npos);
    }
  }
  return 0;
}
