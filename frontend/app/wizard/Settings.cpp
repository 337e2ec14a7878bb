// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How the settings travel between the record and the pages' controls.
#include "Settings.h"

#include "Error.h"
#include "Helpers.h"
#include "TextUtil.h"

namespace pictalon {

std::array<std::string, kIntroSlots> SplitIntroduction(const std::string& stored) {
  std::array<std::string, kIntroSlots> pieces;
  if (IsBlank(stored)) {
    pieces.fill(std::string(CutUtf8(stored, StringSlot::kMaxText)));
    return pieces;
  }
  std::string_view rest = stored;
  for (std::string& piece : pieces) {
    piece = CutUtf8(rest, StringSlot::kMaxText);
    rest.remove_prefix(piece.size());
  }
  return pieces;
}

bool IntroductionFits(const std::string& stored) {
  if (IsBlank(stored)) return stored.size() <= StringSlot::kMaxText;
  std::size_t taken = 0;
  for (const std::string& piece : SplitIntroduction(stored)) taken += piece.size();
  return taken == stored.size();
}

std::string JoinIntroduction(const GallerySettings& s) {
  return std::string(TrimBlanks(s.IntroText1.get() + s.IntroText2.get() + s.IntroText3.get() +
                                s.IntroText4.get()));
}

QColor ToQColor(TColor colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

TColor FromQColor(const QColor& colour) {
  return TColor(colour.red()) | TColor(colour.green()) << 8 | TColor(colour.blue()) << 16;
}

QColor StoredColour(const std::string& text, std::vector<TMessage>& problems) {
  try {
    return ToQColor(HtmlToColour(text));
  } catch (const Error& e) {
    problems.push_back(MessageOf(e));
    return ToQColor(kNoColour);
  }
}

}  // namespace pictalon
