// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebCopies.h"

#include <sys/stat.h>
#include <unistd.h>

#include "Helpers.h"
#include "IniDocument.h"
#include "Parallel.h"
#include "Platform.h"
#include "WebCopy.h"

namespace pictalon {
namespace {

// A file's size and modification time, or empty text when it is not there.
std::string FileStamp(const std::string& path) {
  struct ::stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return "";
  const long long nanoseconds = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  return std::to_string(info.st_size) + " " + std::to_string(nanoseconds);
}

// What one image's copies were made from: its size and modification time, and the settings that
// shape them. The copy's own stamp is kept beside it, so a copy that was replaced since (by plain
// copies, or by hand) is not taken for current.
std::string Stamp(const std::string& source, const GallerySettings& s, const TGalleryTail& web) {
  const std::string file = FileStamp(source);
  if (file.empty()) return "";
  return file + " " + std::to_string(web.LongestSide) + " " + std::to_string(s.ScalingMode) + " " +
         std::to_string(s.ThumbSize.get()) + " q" + std::to_string(kWebCopyQuality);
}

// One image's part of the run: settled before the copies are made, filled in by its worker.
struct TItem {
  std::string source, name, stamp;
  bool current = false;  // the copies on disk match the stamp
  // Results: the copies are on disk; the picture was copied as it is; a cell picture was made.
  bool done = false, asIs = false, cell = false;
};

}  // namespace

TWebCopiesReport MakeWebCopies(const GallerySettings& settings, const TGalleryTail& webCopies,
                               const std::vector<std::string>& images,
                               const std::function<void(std::size_t, std::size_t)>& progress,
                               const std::function<bool()>& cancelled) {
  const std::string target = GetOutputFolder(settings) + "gallimgs/";
  const std::string cells = target + "cells/";
  ForceDirectories(cells);
  TIniDocument record(target + kWebCopiesRecord);

  std::vector<TItem> items(images.size());
  std::vector<std::size_t> toMake;
  for (std::size_t i = 0; i < images.size(); ++i) {
    TItem& item = items[i];
    item.source = images[i];
    item.name = ExtractFileName(images[i]);
    item.stamp = Stamp(item.source, settings, webCopies);
    if (item.stamp.empty()) continue;  // skipped, as a plain copy is
    const bool cellRecorded = record.ReadString(item.name, "Cell", "") == "1";
    item.current = record.ReadString(item.name, "Stamp", "") == item.stamp &&
                   record.ReadString(item.name, "Copy", "") == FileStamp(target + item.name) &&
                   (!cellRecorded || FileExists(cells + item.name));
    if (item.current) {
      item.done = true, item.cell = cellRecorded;
      item.asIs = record.ReadString(item.name, "AsIs", "") == "1";
    } else {
      toMake.push_back(i);
    }
  }

  const auto work = [&](std::size_t k) {
    TItem& item = items[toMake[k]];
    const std::string copyPath = target + item.name, cellPath = cells + item.name;
    const TWebCopyResult made = MakeWebCopy(
        item.source, webCopies.LongestSide, copyPath,
        [&](TPixelSize shown, TPixelSize copy) { return CellPictureSize(settings, shown, copy); }, cellPath);
    if (!made.decoded) {
      item.asIs = true;
      item.done = CopyOrMoveFile(item.source, copyPath, false);
    } else {
      item.done = made.error.empty();
    }
    item.cell = item.done && !made.cell.empty();
    // A cell picture from earlier settings would be shown in place of the web copy.
    if (!item.cell) ::unlink(cellPath.c_str());
  };
  const std::size_t total = images.size(), alreadyDone = images.size() - toMake.size();
  TWebCopiesReport report;
  const std::size_t finished = RunParallel(toMake.size(), 0, work, [&](std::size_t done) {
    if (progress) progress(alreadyDone + done, total);
    return !(cancelled && cancelled());
  });
  report.cancelled = finished < toMake.size();

  // The record keeps what is on disk now: this run's copies, and earlier ones it did not reach.
  TIniDocument updated;
  for (const TItem& item : items) {
    if (item.done) {
      updated.WriteString(item.name, "Stamp", item.stamp);
      updated.WriteString(item.name, "Copy", FileStamp(target + item.name));
      updated.WriteString(item.name, "Cell", item.cell ? "1" : "0");
      updated.WriteString(item.name, "AsIs", item.asIs ? "1" : "0");
      ++(item.current ? report.kept : report.made);
    } else if (!item.stamp.empty() && record.SectionExists(item.name)) {
      for (const char* key : {"Stamp", "Copy", "Cell", "AsIs"})
        updated.WriteString(item.name, key, record.ReadString(item.name, key, ""));
    }
  }
  WriteFileIfChanged(target + kWebCopiesRecord, updated.Text());
  for (const TItem& item : items)
    if (item.done && item.asIs) report.notResized.push_back(item.source);
  return report;
}

}  // namespace pictalon
