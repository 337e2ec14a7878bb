// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gallery's site: the files in the output folder that Generate writes and a published gallery
// needs, and nothing else that may lie there. This is the one list of them: a new kind of site
// file is added in SiteFiles alone.
#include <cstddef>
#include <string>
#include <vector>

#include "GalleryFile.h"
#include "TypeDef.h"

namespace pictalon {

struct TSiteFile {
  std::string name;   // relative to the output folder, '/' between folders
  bool page = false;  // a page: published after the pictures and style sheets it shows
};

// The site files of a gallery generated from settings, tail and images that are in its output
// folder, pictures and style sheets first, then the pages in page order. Pictures are there only
// when the images are copied to the output folder (otherwise the pages link the originals).
std::vector<TSiteFile> SiteFiles(const GallerySettings& settings, const TGalleryTail& tail,
                                 const std::vector<std::string>& images);

// How many of the site's pictures record where they were taken (web copies never do; originals
// copied as they are may).
std::size_t SitePicturesWithGps(const std::string& outputFolder, const std::vector<TSiteFile>& files);

}  // namespace pictalon
