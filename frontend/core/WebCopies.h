// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The copies of a gallery's images in the output folder's "gallimgs/": web-sized copies with
// their cell pictures in "gallimgs/cells/", or plain copies. Only what changed is made again: a
// record beside the copies keeps, for each, the source's size and modification time and what
// shaped the copy (the settings and the resizer's version, or "plain").
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "GalleryFile.h"
#include "Message.h"
#include "TypeDef.h"
#include "WebCopy.h"

namespace pictalon {

// An image copied as it is, and why it was not resized.
struct TNotResizedImage {
  std::string file;
  TNotResized why = TNotResized::NotJpeg;
  friend bool operator==(const TNotResizedImage& a, const TNotResizedImage& b) {
    return a.file == b.file && a.why == b.why;
  }
};

struct TWebCopiesReport {
  std::size_t made = 0;                      // copies written in this run
  std::size_t kept = 0;                      // copies that were already current
  std::vector<TNotResizedImage> notResized;  // images copied as they are
  bool cancelled = false;
  TMessage failure;  // the first copy that could not be made: the file and the reason
};

// The record of what the copies were made from, in the copies' folder.
constexpr const char* kWebCopiesRecord = ".pictalon-copies";

// One copy's line of the record, under the copy's exact name.
struct TCopyRecord {
  std::string stamp;  // the source's size and modification time, and what shaped the copy
  std::string copy;   // the copy's own size and modification time when it was made
  bool cell = false;  // a cell picture was made too
  TNotResized why = TNotResized::None;  // why the picture was copied as it is; None: resized
};
using TCopiesRecord = std::map<std::string, TCopyRecord>;

// The record in folder (ending with '/'); empty when there is none or it is of another version.
TCopiesRecord ReadCopiesRecord(const std::string& folder);
// Writes record to folder, unless it holds that already; an empty record removes the file.
void WriteCopiesRecord(const std::string& folder, const TCopiesRecord& record);
// A file's size and modification time, or empty text when it is no regular file.
std::string FileStamp(const std::string& path);

// Makes the web copy (and, when smaller, the cell picture) of every image, on as many workers as
// the usable CPUs and the free memory allow. progress (done, total) and cancelled run on the
// calling thread while the copies are made; cancelled returning true starts no further copy.
// Every file is written whole or not at all; an original is never written (see MakeWebCopy).
TWebCopiesReport MakeWebCopies(const GallerySettings& settings, const TGalleryTail& webCopies,
                               const std::vector<std::string>& images,
                               const std::function<void(std::size_t, std::size_t)>& progress = {},
                               const std::function<bool()>& cancelled = {});

}  // namespace pictalon
