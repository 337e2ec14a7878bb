// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Colour texts come from gallery files and from what users type: HtmlToColour must refuse bad
// text only with an Error, and the two conversions must agree with each other.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

#include "Error.h"
#include "FuzzSupport.h"
#include "Helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictalon;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool shaped = text.size() == 7 && text[0] == '#';
  bool allHex = shaped;
  for (std::size_t i = 1; shaped && i < 7; ++i)
    allHex = allHex && std::isxdigit(static_cast<unsigned char>(text[i]));

  try {
    const TColor colour = HtmlToColour(text);
    FUZZ_CHECK(shaped ? allHex : colour == kNoColour);
    if (shaped) {
      FUZZ_CHECK(colour <= 0xFFFFFF);
      std::string upper = text;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      FUZZ_CHECK(ColourToHtml(colour) == upper);
      FUZZ_CHECK(HtmlToColour(ColourToHtml(colour)) == colour);
    }
  } catch (const Error&) {
    FUZZ_CHECK(shaped && !allHex);
  }

  // Any colour value: the text has the "#RRGGBB" form and reads back without the top byte.
  if (size >= 4) {
    TColor value;
    std::memcpy(&value, data, sizeof value);
    const std::string html = ColourToHtml(value);
    FUZZ_CHECK(html.size() == 7 && html[0] == '#');
    FUZZ_CHECK(HtmlToColour(html) == (value & 0xFFFFFF));
    FUZZ_CHECK(ComplementColour(ComplementColour(value)) == (value & 0xFFFFFF));
    FUZZ_CHECK((ComplementColour(value) ^ (value & 0xFFFFFF)) == 0xFFFFFF);
  }
  return 0;
}
