// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gallery file: one GallerySettings record, optionally followed by a tail of settings added
// since the record was fixed. Readers of the record alone never look past its 4384 bytes, so the
// tail is INI text: CR LF, "[Pictalon]", CR LF, then Key=Value lines. A gallery whose tail
// settings are all at their defaults is written without one, byte for byte as before.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TypeDef.h"

namespace pictalon {

// The user data folder (program folder + "Data/User/", or the user's own folder in the installed
// layout, see GetUserDataFolderPath), created with its parents when missing (a failure to create
// it surfaces when a file in it is opened).
std::string GetUserDataFolder();

// Settles the name of a new gallery file when the writer is given no path: returns the full
// path chosen (the desktop program asks the user in a save dialog), or empty text to write nothing.
using GalleryNameProvider = std::function<std::string(const std::string& userDataFolder)>;
void SetGalleryNameProvider(GalleryNameProvider provider);

// Where a gallery's pictures open and how its pages are marked up.
enum class TPageStyle { Classic, Modern };
// The order of the image list.
enum class TImageOrder { ByName, ByDate };

// The settings kept in the tail. Keys that this version does not know (written by a newer one)
// are kept in Other, in file order, and written back as they came.
struct TGalleryTail {
  bool ResizeCopies = false;         // "Resize copies for the web" (with "Copy images to output folder")
  std::int32_t LongestSide = 1600;   // "Longest side (pixels):"
  TPageStyle PageStyle = TPageStyle::Classic;  // PageStyle=classic|modern
  std::string PublishTo;                       // PublishTo=sftp://[user@]host[:port]/path
  bool PhotoCaptions = false;                  // PhotoCaptions=1: the photos' own titles as captions
  TImageOrder Order = TImageOrder::ByName;     // Order=name|date
  std::vector<std::pair<std::string, std::string>> Other;

  static constexpr std::int32_t kMinLongestSide = 320;
  static constexpr std::int32_t kMaxLongestSide = 8192;

  // The settings a new gallery starts with (a default-constructed tail keeps older galleries'
  // pages as they were).
  static TGalleryTail ForNewGallery();
  // A tail that sets the web copies only.
  static TGalleryTail WebCopies(bool resize, std::int32_t longestSide) {
    TGalleryTail tail;
    tail.ResizeCopies = resize;
    tail.LongestSide = longestSide;
    return tail;
  }

  friend bool operator==(const TGalleryTail& a, const TGalleryTail& b) {
    return a.ResizeCopies == b.ResizeCopies && a.LongestSide == b.LongestSide &&
           a.PageStyle == b.PageStyle && a.PublishTo == b.PublishTo &&
           a.PhotoCaptions == b.PhotoCaptions && a.Order == b.Order && a.Other == b.Other;
  }
  friend bool operator!=(const TGalleryTail& a, const TGalleryTail& b) { return !(a == b); }
};

// The tail's text for these settings: empty when they are all at their defaults. Each key added
// since the first two is written only when it differs from its default, so a tail written
// before it existed reads back byte for byte.
std::string GalleryTail(const TGalleryTail& tail);
// The settings a tail holds. A missing or damaged tail and a value out of range give the
// defaults; nothing here is an error.
TGalleryTail ParseGalleryTail(std::string_view tail);

// Stores the record and the tail atomically at path. An empty path asks the name provider; a name without the
// ".pgs" extension gets it. On success writtenPath receives the path written; on failure (or when
// no name was given) the result is false and writtenPath is untouched.
bool WriteGalleryFile(const std::string& path, GallerySettings settings,
                      const TGalleryTail& tail, std::string& writtenPath);
// As above for a caller that knows only the record: the tail of the file already at path is kept.
bool WriteGalleryFile(const std::string& path, GallerySettings settings, std::string& writtenPath);

// Reads up to the record's size from the start of the file into settings; a shorter file fills
// only the leading bytes, longer files are cut. False when the file is missing or unreadable.
bool ReadGalleryFile(const std::string& path, GallerySettings& settings);
// As above, and the tail's settings into tail (their defaults when there is no tail).
bool ReadGalleryFile(const std::string& path, GallerySettings& settings, TGalleryTail& tail);

}  // namespace pictalon
