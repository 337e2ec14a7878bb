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

// The settings kept in the tail.
struct TWebCopySettings {
  bool ResizeCopies = false;         // "Resize copies for the web" (with "Copy images to output folder")
  std::int32_t LongestSide = 1600;   // "Longest side (pixels):"

  static constexpr std::int32_t kMinLongestSide = 320;
  static constexpr std::int32_t kMaxLongestSide = 8192;

  friend bool operator==(const TWebCopySettings& a, const TWebCopySettings& b) {
    return a.ResizeCopies == b.ResizeCopies && a.LongestSide == b.LongestSide;
  }
  friend bool operator!=(const TWebCopySettings& a, const TWebCopySettings& b) { return !(a == b); }
};

// The tail's text for these settings: empty when they are all at their defaults.
std::string GalleryTail(const TWebCopySettings& webCopies);
// The settings a tail holds. A missing or damaged tail, a value out of range and keys it does not
// know give the defaults; nothing here is an error.
TWebCopySettings ParseGalleryTail(std::string_view tail);

// Stores the record and the tail atomically at path. An empty path asks the name provider; a name without the
// ".pgs" extension gets it. On success writtenPath receives the path written; on failure (or when
// no name was given) the result is false and writtenPath is untouched.
bool WriteGalleryFile(const std::string& path, GallerySettings settings,
                      const TWebCopySettings& webCopies, std::string& writtenPath);
// As above for a caller that knows only the record: the tail of the file already at path is kept.
bool WriteGalleryFile(const std::string& path, GallerySettings settings, std::string& writtenPath);

// Reads up to the record's size from the start of the file into settings; a shorter file fills
// only the leading bytes, longer files are cut. False when the file is missing or unreadable.
bool ReadGalleryFile(const std::string& path, GallerySettings& settings);
// As above, and the tail's settings into webCopies (their defaults when there is no tail).
bool ReadGalleryFile(const std::string& path, GallerySettings& settings, TWebCopySettings& webCopies);

}  // namespace pictalon
