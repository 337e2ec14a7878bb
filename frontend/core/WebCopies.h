// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The web-sized copies of a gallery's images in the output folder's "gallimgs/", with their cell
// pictures in "gallimgs/cells/". Only what changed is made again: a record beside the copies keeps,
// for each, the source's size and modification time and the settings that shaped it.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "GalleryFile.h"
#include "TypeDef.h"

namespace pictalon {

struct TWebCopiesReport {
  std::size_t made = 0;                 // copies written in this run
  std::size_t kept = 0;                 // copies that were already current
  std::vector<std::string> notResized;  // images that could not be decoded: copied as they are
  bool cancelled = false;
};

// The record of what the copies were made from, in the copies' folder.
constexpr const char* kWebCopiesRecord = ".pictalon-copies";

// Makes the web copy (and, when smaller, the cell picture) of every image, on all cores. progress
// (done, total) and cancelled run on the calling thread while the copies are made; cancelled
// returning true starts no further copy. Every file is written whole or not at all.
TWebCopiesReport MakeWebCopies(const GallerySettings& settings, const TGalleryTail& webCopies,
                               const std::vector<std::string>& images,
                               const std::function<void(std::size_t, std::size_t)>& progress = {},
                               const std::function<bool()>& cancelled = {});

}  // namespace pictalon
