// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbMaker.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <exception>
#include <system_error>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "Error.h"
#include "Picture.h"

namespace pictalon {
namespace {

// High enough that the stored thumbnail cannot be told from the resampled one.
constexpr int kThumbQuality = 92;

// How far a preview's proportions may stray from the photo's.
constexpr double kAspectTolerance = 0.02;
// A bar is a line no pixel of which is brighter than this in any channel (JPEG noise on black).
constexpr int kBarBrightness = 24;

// Whether every pixel of the row (horizontal) or column at `at` is dark.
bool DarkLine(const QImage& image, bool horizontal, int at) {
  const int n = horizontal ? image.width() : image.height();
  for (int i = 0; i < n; ++i) {
    const QRgb p = horizontal ? image.pixel(i, at) : image.pixel(at, i);
    if (qRed(p) > kBarBrightness || qGreen(p) > kBarBrightness || qBlue(p) > kBarBrightness)
      return false;
  }
  return true;
}

// The picture resampled into its rectangle and stored in result as JPEG bytes or, with
// transparency, as pixels. Throws Error.
void StoreThumbnail(QImage image, TThumbResult& result) {
  if (image.size() != result.rect.size())
    image = image.scaled(result.rect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (image.hasAlphaChannel()) {
    result.picture = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (result.picture.isNull())
      throw Error(QCoreApplication::translate("TThumbMaker", "Out of memory").toStdString());
  } else {
    result.jpeg = EncodeJpeg(image, kThumbQuality);
  }
}

// Runs make, turning whatever it throws into result's error.
template <class F>
TThumbResult Guard(F make) {
  TThumbResult result;
  try {
    make(result);
  } catch (const std::exception& e) {
    result.picture = QImage();
    result.jpeg.clear();
    result.error = *e.what()
                       ? std::string(e.what())
                       : QCoreApplication::translate("TThumbMaker", "Unknown error").toStdString();
  }
  return result;
}

}  // namespace

TThumbRect ThumbDestRect(QSize pictureSize, int cell) {
  const int inner = cell - 6;
  const qint64 w = pictureSize.width(), h = pictureSize.height();
  if (w <= 0 || h <= 0) return {6, 6, inner, inner};
  if (h < w) {
    const int scaled = int(h * inner / w);
    const int top = (inner - scaled) / 2 + 1;
    return {6, top, inner, top + scaled};
  }
  const int scaled = int(w * inner / h);
  const int left = (inner - scaled) / 2 + 1;
  return {left, 6, left + scaled, inner};
}

std::string FileStem(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

TThumbResult MakeThumbnail(const std::string& path, int cell) {
  return Guard([&](TThumbResult& result) {
    TDecodedPicture decoded = LoadPictureFor(path, [&](QSize full) {
      result.rect = ThumbDestRect(full, cell).ToQRect();
      return QSize(std::max(0, result.rect.width()), std::max(0, result.rect.height()));
    });
    result.fullSize = decoded.fullSize;
    if (result.rect.isEmpty()) return;  // a strip too thin to show: an empty cell
    StoreThumbnail(std::move(decoded.image), result);
  });
}

bool Letterboxed(const QImage& image) {
  if (image.width() < 3 || image.height() < 3) return false;
  return (DarkLine(image, true, 0) && DarkLine(image, true, image.height() - 1)) ||
         (DarkLine(image, false, 0) && DarkLine(image, false, image.width() - 1));
}

bool PreviewUsable(const QImage& preview, QSize fullSize) {
  if (preview.isNull() || fullSize.isEmpty()) return false;
  const double photo = double(fullSize.width()) / fullSize.height();
  const double shown = double(preview.width()) / preview.height();
  return std::abs(shown / photo - 1) <= kAspectTolerance && !Letterboxed(preview);
}

TThumbResult MakeFirstThumbnail(const std::string& path, int cell) {
  bool usable = false;
  TThumbResult first = Guard([&](TThumbResult& result) {
    TEmbeddedPreview preview = LoadEmbeddedPreview(path);
    if (!PreviewUsable(preview.image, preview.fullSize)) return;
    usable = true;
    result.exact = false;
    result.fullSize = preview.fullSize;
    result.rect = ThumbDestRect(preview.fullSize, cell).ToQRect();
    if (!result.rect.isEmpty()) StoreThumbnail(std::move(preview.image), result);
  });
  // A photo whose header cannot be read fails the same way as its exact thumbnail would.
  return usable && first.error.empty() ? first : MakeThumbnail(path, cell);
}

TThumbMaker::TThumbMaker(std::vector<std::string> paths, int threads, bool yield,
                         std::size_t ahead, int cell, bool previewsFirst)
    : paths_(std::move(paths)), yield_(yield), ahead_(std::max<std::size_t>(ahead, 1)), cell_(cell),
      previewsFirst_(previewsFirst), results_(paths_.size()) {
  const std::size_t count = std::min<std::size_t>(std::max(threads, 1), paths_.size());
  workers_ = StartWorkers(count, [this] { Work(); });
}

std::vector<std::thread> StartWorkers(std::size_t count, const std::function<void()>& work) {
  std::vector<std::thread> workers;
  workers.reserve(count);
  try {
    for (std::size_t i = 0; i < count; ++i) workers.emplace_back(work);
  } catch (const std::system_error& e) {
    // The system has no thread to spare: fewer workers still make every thumbnail, none is an
    // error for the window to report.
    if (workers.empty())
      throw Error(QCoreApplication::translate("TThumbMaker", "Cannot start a thumbnail worker: %1")
                      .arg(QString::fromStdString(e.what()))
                      .toStdString());
  }
  return workers;
}

TThumbMaker::~TThumbMaker() {
  Stop();
  for (std::thread& worker : workers_) worker.join();
}

void TThumbMaker::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
  }
  room_.notify_all();
  ready_.notify_all();
}

std::size_t TThumbMaker::Started() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return started_;
}

void LowerThreadPriority() {
#ifdef __linux__
  // Linux gives each thread its own nice value; this one is the calling thread's alone.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 4);
#endif
}

void TThumbMaker::Work() {
  if (yield_) LowerThreadPriority();
  for (;;) {
    std::size_t index;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      room_.wait(lock, [&] {
        return stopped_ || started_ >= paths_.size() || started_ < next_ + ahead_;
      });
      if (stopped_ || started_ >= paths_.size()) return;
      index = started_++;
    }
    TThumbResult result = previewsFirst_ ? MakeFirstThumbnail(paths_[index], cell_)
                                         : MakeThumbnail(paths_[index], cell_);
    result.index = index;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      results_[index] = std::move(result);
    }
    ready_.notify_all();
  }
}

std::optional<TThumbResult> TThumbMaker::Take(std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (next_ >= results_.size()) return std::nullopt;
  if (!ready_.wait_for(lock, wait, [&] { return stopped_ || results_[next_].has_value(); }) ||
      stopped_)
    return std::nullopt;
  std::optional<TThumbResult> result = std::move(results_[next_]);
  results_[next_].reset();
  ++next_;
  lock.unlock();
  room_.notify_all();
  return result;
}

}  // namespace pictalon
