// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gallery settings record: its byte layout is the gallery file format, shared by the
// desktop program and the engine, so every field is a plain byte array (no padding, no
// alignment, little-endian integers whatever the host).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pictalon {

// A counted string of 256 bytes: byte 0 is the length, bytes 1..length the text.
// Bytes after the text are never read; they may hold leftovers of a longer earlier value.
struct StringSlot {
  static constexpr std::size_t kMaxText = 255;
  std::uint8_t length;
  char text[kMaxText];

  std::string get() const { return std::string(text, length); }
  bool empty() const { return length == 0; }
  // Stores at most 255 bytes, never cutting a UTF-8 character in two.
  void set(std::string_view value);
};

// A signed 32-bit integer stored little-endian.
struct Int32Field {
  std::uint8_t bytes[4];

  std::int32_t get() const;
  void set(std::int32_t value);
};

// One byte; writers store 0 or 1, readers take any non-zero byte as true.
struct BoolField {
  std::uint8_t value;

  bool get() const { return value != 0; }
  void set(bool on) { value = on ? 1 : 0; }
};

struct GallerySettings {
  StringSlot TitleText;
  StringSlot IntroText1;
  StringSlot IntroText2;
  StringSlot IntroText3;
  StringSlot IntroText4;
  StringSlot FooterText;
  StringSlot TextColour;
  StringSlot LogoGraphic;
  StringSlot TitleGraphic;
  StringSlot BackgroundImage;
  StringSlot BackgroundColour;
  StringSlot CellStyleSheet;
  StringSlot TemplateName;
  StringSlot ImageFolder;
  StringSlot ImageURL;
  StringSlot OutputFolder;
  StringSlot BackLinkURL;
  Int32Field Columns;
  Int32Field Rows;
  Int32Field ThumbSize;
  Int32Field TableWidth;
  Int32Field TableWidthUnit;
  Int32Field CellSpacing;
  std::uint8_t ScalingMode;    // 0 proportional, 1 fixed height, 2 fixed width
  std::uint8_t HyperlinkMode;  // 0 caption only, 1 image only, 2 image and caption
  BoolField HyperlinkImages;
  BoolField FileNameAsCaption;
  BoolField LinkInNewWindow;
  BoolField DisableRightClick;
  BoolField DisableImageToolbar;
  BoolField CopyImages;
};

constexpr std::size_t kGallerySettingsSize = 4384;

static_assert(sizeof(GallerySettings) == kGallerySettingsSize, "gallery file record size");
static_assert(alignof(GallerySettings) == 1, "the record has no padding");
static_assert(offsetof(GallerySettings, TitleText) == 0);
static_assert(offsetof(GallerySettings, IntroText1) == 256);
static_assert(offsetof(GallerySettings, IntroText2) == 512);
static_assert(offsetof(GallerySettings, IntroText3) == 768);
static_assert(offsetof(GallerySettings, IntroText4) == 1024);
static_assert(offsetof(GallerySettings, FooterText) == 1280);
static_assert(offsetof(GallerySettings, TextColour) == 1536);
static_assert(offsetof(GallerySettings, LogoGraphic) == 1792);
static_assert(offsetof(GallerySettings, TitleGraphic) == 2048);
static_assert(offsetof(GallerySettings, BackgroundImage) == 2304);
static_assert(offsetof(GallerySettings, BackgroundColour) == 2560);
static_assert(offsetof(GallerySettings, CellStyleSheet) == 2816);
static_assert(offsetof(GallerySettings, TemplateName) == 3072);
static_assert(offsetof(GallerySettings, ImageFolder) == 3328);
static_assert(offsetof(GallerySettings, ImageURL) == 3584);
static_assert(offsetof(GallerySettings, OutputFolder) == 3840);
static_assert(offsetof(GallerySettings, BackLinkURL) == 4096);
static_assert(offsetof(GallerySettings, Columns) == 4352);
static_assert(offsetof(GallerySettings, Rows) == 4356);
static_assert(offsetof(GallerySettings, ThumbSize) == 4360);
static_assert(offsetof(GallerySettings, TableWidth) == 4364);
static_assert(offsetof(GallerySettings, TableWidthUnit) == 4368);
static_assert(offsetof(GallerySettings, CellSpacing) == 4372);
static_assert(offsetof(GallerySettings, ScalingMode) == 4376);
static_assert(offsetof(GallerySettings, HyperlinkMode) == 4377);
static_assert(offsetof(GallerySettings, HyperlinkImages) == 4378);
static_assert(offsetof(GallerySettings, FileNameAsCaption) == 4379);
static_assert(offsetof(GallerySettings, LinkInNewWindow) == 4380);
static_assert(offsetof(GallerySettings, DisableRightClick) == 4381);
static_assert(offsetof(GallerySettings, DisableImageToolbar) == 4382);
static_assert(offsetof(GallerySettings, CopyImages) == 4383);

// Puts the settings of a new gallery into a record (all other bytes untouched).
// dataFolder and programFolder end with '/'.
void ApplyDefaultSettings(GallerySettings& settings, const std::string& programFolder);

}  // namespace pictalon
