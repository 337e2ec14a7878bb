// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a photo says about itself: the title and description its owner gave it in the program
// they manage their photos with (XMP, IPTC or Exif), and when it was taken. Read with Exiv2,
// never written; the only module that knows Exiv2.
#include <string>
#include <vector>

#include "GalleryFile.h"

namespace pictalon {

struct TPhotoMetadata {
  std::string title;        // UTF-8, trimmed; empty when the photo has none
  std::string description;  // likewise
  // "YYYY-MM-DD HH:MM:SS" or a leading part of it (the time as the camera kept it, without its
  // zone), so that texts sort as times; empty when unknown.
  std::string taken;
  friend bool operator==(const TPhotoMetadata& a, const TPhotoMetadata& b) {
    return a.title == b.title && a.description == b.description && a.taken == b.taken;
  }
};

// Readies the metadata library once for the whole process (the XMP parser, with a lock so that
// worker threads may read too; its warnings silenced). Every reader below calls it; a program
// calls it up front, before any thread may read.
void PreparePhotoMetadata();

// The user's language as XMP names it ("de" of "de_DE.UTF-8"), from LC_ALL, LC_MESSAGES, LANG;
// empty for the C locale.
std::string UserLanguage();

// Reads the photo at path: the title (XMP dc:title, IPTC Object Name, Exif ImageDescription,
// XPTitle: the first that is not blank and not a camera's fixed text), the description (XMP
// dc:description, IPTC Caption) and the time taken (Exif DateTimeOriginal, else XMP
// photoshop:DateCreated). XMP language alternatives give language's text, else x-default.
// Never throws: a missing, unreadable or damaged file gives what could be read, or nothing.
TPhotoMetadata ReadPhotoMetadata(const std::string& path, const std::string& language);

// As above in the user's language, read once per photo and read again only when the photo's size
// or modification time has changed: the process keeps what it read, and the user data folder's "photo-metadata.cache" keeps
// it between runs (loaded at the first call). Safe on any thread.
TPhotoMetadata PhotoMetadata(const std::string& path);
// While one lives, PhotoMetadata takes a photo it has already looked at in this snapshot as
// unchanged and does not look at the file again: a short run (pictgen) that asks for each photo
// more than once (to order the list, then for the titles) sees each photo once. One at a time.
class TPhotoMetadataSnapshot {
public:
  TPhotoMetadataSnapshot();
  ~TPhotoMetadataSnapshot();
  TPhotoMetadataSnapshot(const TPhotoMetadataSnapshot&) = delete;
  TPhotoMetadataSnapshot& operator=(const TPhotoMetadataSnapshot&) = delete;
};
// Writes what PhotoMetadata read since the cache file was loaded, when anything (atomically;
// entries of photos that no longer exist are dropped). False when it cannot be written; the
// next run then reads those photos again.
bool SavePhotoMetadataCache();

// The photo titles file hands a run's own titles from the front end, which has brought the cache
// up to date, to the engine, which then neither looks at the photos nor loads the cache file: a
// line per image, its path and its own title. Write gives false when it cannot be written.
bool WritePhotoTitlesFile(const std::string& path, const std::vector<std::string>& images);
// The titles by image index; false when the file is missing, unreadable or names other images
// than these (a file left by an earlier run): the caller then reads the titles itself.
bool ReadPhotoTitlesFile(const std::string& path, const std::vector<std::string>& images,
                         std::vector<std::string>& titles);

// Orders a list of image paths. ByName keeps it as it was listed (a folder lists by file name);
// ByDate puts it in the order the photos were taken, those without a time after the dated ones,
// ties and undated photos by file name (letter case ignored); the times read are kept in the
// cache file.
void OrderImageList(std::vector<std::string>& list, TImageOrder order);

}  // namespace pictalon
