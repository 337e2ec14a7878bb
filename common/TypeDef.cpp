// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TypeDef.h"

#include <cstring>

#include "TextUtil.h"

namespace pictalon {

void StringSlot::set(std::string_view value) {
  std::string_view kept = CutUtf8(value, kMaxText);
  // Bytes after the new text keep what the slot held before, as readers never look at them.
  std::memcpy(text, kept.data(), kept.size());
  length = static_cast<std::uint8_t>(kept.size());
}

std::int32_t Int32Field::get() const {
  std::uint32_t v = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                    std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
  return static_cast<std::int32_t>(v);
}

void Int32Field::set(std::int32_t value) {
  std::uint32_t v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void ApplyDefaultSettings(GallerySettings& s, const std::string& programFolder) {
  for (StringSlot* slot : {&s.TitleText, &s.IntroText1, &s.IntroText2, &s.IntroText3,
                           &s.IntroText4, &s.FooterText, &s.LogoGraphic, &s.TitleGraphic,
                           &s.BackgroundImage, &s.ImageFolder, &s.ImageURL, &s.BackLinkURL})
    slot->set("");
  s.TextColour.set("#000000");
  s.BackgroundColour.set("#ffffff");
  s.CellStyleSheet.set(programFolder + "Data/gallerycell6.css");
  s.TemplateName.set("PictBase.html");
  s.OutputFolder.set(programFolder + "Output/");
  s.Columns.set(3);
  s.Rows.set(5);
  s.ThumbSize.set(100);
  s.TableWidth.set(100);
  s.TableWidthUnit.set(0);
  s.CellSpacing.set(4);
  s.ScalingMode = 0;
  s.HyperlinkMode = 0;
  s.HyperlinkImages.set(true);
  s.FileNameAsCaption.set(true);
  s.LinkInNewWindow.set(true);
  s.DisableRightClick.set(true);
  s.DisableImageToolbar.set(true);
  s.CopyImages.set(true);
}

}  // namespace pictalon
