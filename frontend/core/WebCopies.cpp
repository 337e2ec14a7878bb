// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebCopies.h"

#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

#include "Helpers.h"
#include "Parallel.h"
#include "Platform.h"

namespace pictalon {
namespace {

// The record's first line; a record without it (an older one) is taken as empty.
constexpr const char* kRecordHeader = "pictalon-copies 1";

// What one image's copies were made from: its size and modification time, and the settings and
// the resizer that shape them. The copy's own stamp is kept beside it, so a copy that was
// replaced since (by plain copies, or by hand) is not taken for current.
std::string Stamp(const std::string& file, const GallerySettings& s, const TGalleryTail& web) {
  return file + " " + std::to_string(web.LongestSide) + " " + std::to_string(s.ScalingMode) + " " +
         std::to_string(s.ThumbSize.get()) + " q" + std::to_string(kWebCopyQuality) + " r" +
         std::to_string(kWebCopyResizerVersion);
}

// One image's part of the run: settled before the copies are made, filled in by its worker.
struct TItem {
  std::string source, name, stamp;
  bool current = false;  // the copies on disk match the stamp
  // Results: the copies are on disk; a cell picture was made; why the picture was copied as it is.
  bool done = false, cell = false;
  TNotResized why = TNotResized::None;
  TMessage failure;
};

// Gives back, however the run ends, the memory the copies took: the calling thread's rasters
// (when it made copies itself) and what the allocator keeps of every worker's.
struct TScratchRelease {
  ~TScratchRelease() {
    ReleaseWebCopyScratch();
    ::malloc_trim(0);
  }
};

}  // namespace

std::string FileStamp(const std::string& path) {
  struct ::stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return "";
  const long long nanoseconds = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  return std::to_string(info.st_size) + " " + std::to_string(nanoseconds);
}

TCopiesRecord ReadCopiesRecord(const std::string& folder) {
  TCopiesRecord record;
  std::string text;
  if (!ReadWholeFile(folder + kWebCopiesRecord, text)) return record;
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != kRecordHeader) return record;
  // stamp TAB copy TAB cell TAB why TAB name: the name last, exactly as it is spelt.
  while (std::getline(lines, line)) {
    std::size_t at[4], from = 0;
    bool whole = true;
    for (std::size_t& tab : at) {
      tab = line.find('\t', from);
      if (tab == std::string::npos) whole = false, tab = line.size();
      from = tab + 1;
    }
    if (!whole) continue;
    TCopyRecord entry;
    entry.stamp = line.substr(0, at[0]);
    entry.copy = line.substr(at[0] + 1, at[1] - at[0] - 1);
    entry.cell = line.compare(at[1] + 1, at[2] - at[1] - 1, "1") == 0;
    const int why = std::atoi(line.c_str() + at[2] + 1);
    entry.why = why > 0 && why <= int(TNotResized::OutOfMemory) ? TNotResized(why) : TNotResized::None;
    record[line.substr(at[3] + 1)] = entry;
  }
  return record;
}

void WriteCopiesRecord(const std::string& folder, const TCopiesRecord& record) {
  if (record.empty()) {  // no copy to record: no file
    ::unlink((folder + kWebCopiesRecord).c_str());
    return;
  }
  std::string text = std::string(kRecordHeader) + "\n";
  for (const auto& [name, entry] : record) {
    if (name.find('\n') != std::string::npos) continue;  // not recordable: made again next time
    text += entry.stamp + "\t" + entry.copy + "\t" + (entry.cell ? "1" : "0") + "\t" +
            std::to_string(int(entry.why)) + "\t" + name + "\n";
  }
  WriteFileIfChanged(folder + kWebCopiesRecord, text);
}

TWebCopiesReport MakeWebCopies(const GallerySettings& settings, const TGalleryTail& webCopies,
                               const std::vector<std::string>& images,
                               const std::function<void(std::size_t, std::size_t)>& progress,
                               const std::function<bool()>& cancelled) {
  const std::string target = GetOutputFolder(settings) + "gallimgs/";
  const std::string cells = target + "cells/";
  ForceDirectories(cells);
  const TCopiesRecord record = ReadCopiesRecord(target);

  std::vector<TItem> items(images.size());
  std::vector<std::size_t> toMake;
  std::size_t perWorker = 0;
  for (std::size_t i = 0; i < images.size(); ++i) {
    TItem& item = items[i];
    item.source = images[i];
    item.name = ExtractFileName(images[i]);
    struct ::stat info;
    const int error = ::stat(item.source.c_str(), &info) != 0 ? errno : S_ISREG(info.st_mode) ? 0 : EISDIR;
    if (error != 0) {
      item.failure = TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot read %1: %2"), item.source,
                              std::strerror(error));
      continue;
    }
    if (info.st_size == 0) continue;  // skipped, as a plain copy is: its cell says it is no image
    item.stamp = Stamp(FileStamp(item.source), settings, webCopies);
    const auto found = record.find(item.name);
    item.current = found != record.end() && found->second.stamp == item.stamp &&
                   found->second.copy == FileStamp(target + item.name) &&
                   (!found->second.cell || FileExists(cells + item.name));
    if (item.current) {
      item.done = true, item.cell = found->second.cell, item.why = found->second.why;
      continue;
    }
    toMake.push_back(i);
    std::int32_t height = -1, width = -1;
    GetJpegSize(item.source, height, width);
    if (std::size_t(std::max(height, 0)) * std::size_t(std::max(width, 0)) <= kMaxSourcePixels)
      perWorker = std::max(perWorker, WebCopyWorkMemory({width, height}, webCopies.LongestSide));
  }

  const auto work = [&](std::size_t k) {
    TItem& item = items[toMake[k]];
    const std::string copyPath = target + item.name, cellPath = cells + item.name;
    const TWebCopyResult made = MakeWebCopy(
        item.source, webCopies.LongestSide, copyPath,
        [&](TPixelSize shown, TPixelSize copy) { return CellPictureSize(settings, shown, copy); }, cellPath);
    if (!made.decoded) {
      item.why = made.why;
      item.done = CopyIntoOutput(item.source, copyPath, &item.failure);
    } else {
      item.done = made.error.empty();
      item.failure = made.error;
    }
    item.cell = item.done && !made.cell.empty();
    // A cell picture from earlier settings would be shown in place of the web copy.
    if (!item.cell && !IsOwnSource(item.source, cellPath)) ::unlink(cellPath.c_str());
  };
  const std::size_t total = images.size(), alreadyDone = images.size() - toMake.size();
  TWebCopiesReport report;
  std::size_t finished = 0;
  {
    TScratchRelease release;
    finished = RunParallel(toMake.size(), WorkerCount(toMake.size(), perWorker), work, [&](std::size_t done) {
      if (progress) progress(alreadyDone + done, total);
      return !(cancelled && cancelled());
    });
  }
  report.cancelled = finished < toMake.size();

  // The record keeps what is on disk now: this run's copies, and earlier ones it did not reach.
  TCopiesRecord updated;
  for (const TItem& item : items) {
    if (report.failure.empty()) report.failure = item.failure;
    if (item.done) {
      updated[item.name] = {item.stamp, FileStamp(target + item.name), item.cell, item.why};
      ++(item.current ? report.kept : report.made);
      if (item.why != TNotResized::None) report.notResized.push_back({item.source, item.why});
    } else if (!item.stamp.empty() && record.count(item.name)) {
      updated[item.name] = record.at(item.name);
    }
  }
  WriteCopiesRecord(target, updated);
  return report;
}

}  // namespace pictalon
