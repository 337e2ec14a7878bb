// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SiteFiles.h"

#include <set>

#include "Exif.h"
#include "Helpers.h"
#include "Platform.h"

namespace pictalon {

std::vector<TSiteFile> SiteFiles(const GallerySettings& settings, const TGalleryTail& tail,
                                 const std::vector<std::string>& images) {
  const std::string output = GetOutputFolder(settings);
  std::vector<TSiteFile> files;
  std::set<std::string> listed;
  const auto add = [&](const std::string& name, bool page) {
    if (FileExists(output + name) && listed.insert(name).second) files.push_back({name, page});
  };

  // Pictures and style sheets. The right-click script is written into the pages themselves.
  add("pictalon.css", false);
  if (settings.CopyImages.get()) {
    for (const std::string& image : images) {
      const std::string name = ExtractFileName(image);
      add("gallimgs/" + name, false);
      if (tail.ResizeCopies) add("gallimgs/cells/" + name, false);
    }
    for (const std::string& graphic : GraphicCopyNames(settings, images))
      if (!graphic.empty()) add("gallimgs/" + graphic, false);
  }

  // The pages, as the engine numbers them: a partial page counts as one more.
  const std::size_t perPage = std::size_t(settings.Rows.get() > 0 ? settings.Rows.get() : 0) *
                              std::size_t(settings.Columns.get() > 0 ? settings.Columns.get() : 0);
  const std::size_t pages = perPage == 0 ? 0 : (images.size() + perPage - 1) / perPage;
  for (std::size_t page = 1; page <= pages; ++page) add("gallery" + std::to_string(page) + ".html", true);
  return files;
}

std::size_t SitePicturesWithGps(const std::string& outputFolder, const std::vector<TSiteFile>& files) {
  std::size_t count = 0;
  for (const TSiteFile& file : files)
    if (!file.page && JpegHasGps(outputFolder + file.name)) ++count;
  return count;
}

}  // namespace pictalon
