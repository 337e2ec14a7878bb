// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the settings travel between the record and the pages' controls: the introduction's four
// slots and the colour values.
#include <QColor>

#include <array>
#include <string>
#include <vector>

#include "Helpers.h"
#include "Message.h"
#include "TypeDef.h"

namespace pictalon {

constexpr std::size_t kIntroSlots = 4;

// The stored introduction spread over the four slots, each piece at most 255 bytes and never
// ending inside a UTF-8 character. A text that is only blanks goes whole into every slot.
std::array<std::string, kIntroSlots> SplitIntroduction(const std::string& stored);
// True when the four pieces take the whole text, so storing it cuts nothing.
bool IntroductionFits(const std::string& stored);
// The four slots joined, with blanks and line breaks trimmed from both ends.
std::string JoinIntroduction(const GallerySettings& settings);

// A colour value (red in the low byte) as shown on screen; the no-colour value shows as white,
// which is what storing it again gives.
QColor ToQColor(TColor colour);
TColor FromQColor(const QColor& colour);
// A stored colour text for display; a text that is no colour is added to problems and shown as
// white, which is what the next save stores.
QColor StoredColour(const std::string& text, std::vector<TMessage>& problems);

}  // namespace pictalon
