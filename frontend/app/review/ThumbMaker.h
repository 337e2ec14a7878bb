// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thumbnail maker of the review window: where a picture goes in its cell, and worker threads
// that decode the pictures of a list while the user interface thread takes the results strictly in
// list order. Qt-Widgets-free, so that the benchmark and the tests drive it alone.
#include <QImage>
#include <QRect>
#include <QSize>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pictalon {

// The side of a thumbnail cell in pixels.
constexpr int kThumbCell = 150;

// The rectangle a picture of pictureSize is stretched into inside a cell of the given side, as
// left, top, right, bottom (right and bottom exclusive). The scale length is the inner bound
// cell - 6, so a square picture starts at x = 1, over the frame's edge.
struct TThumbRect {
  int left, top, right, bottom;
  QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
  friend bool operator==(const TThumbRect& a, const TThumbRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};
TThumbRect ThumbDestRect(QSize pictureSize, int cell = kThumbCell);

// The name without folder and without what follows its last '.': IMG_0001.jpg gives IMG_0001,
// README stays README, ".jpg" gives the empty text.
std::string FileStem(const std::string& path);

// One image's outcome: the picture already resampled to its destination rectangle, or an error.
// An opaque picture comes as JPEG bytes (a tenth of its pixels' size, so that ten thousand stay
// light), one with transparency as pixels.
struct TThumbResult {
  std::size_t index = 0;
  std::string jpeg;    // the picture, the size of rect
  QImage picture;      // the picture when it has transparency; else null
  QRect rect;          // inside the cell
  QSize fullSize;      // from the header
  std::string error;   // non-empty: the picture could not be loaded or drawn
  bool exact = true;   // false: made from the preview the camera stored in the photo
};

// Decodes the picture at path at the smallest DCT scale that covers its destination rectangle and
// resamples it smoothly into that rectangle. Never throws: a failure is in error. An empty
// rectangle (a strip too thin to show) gives neither jpeg nor picture.
TThumbResult MakeThumbnail(const std::string& path, int cell = kThumbCell);

// Whether a camera's preview of a photo of fullSize (both upright) shows the photo whole: its
// proportions within 2 % of the photo's, and no black bars along two opposite edges.
bool PreviewUsable(const QImage& preview, QSize fullSize);
// Whether image has black bars along both its top and bottom edges or both its left and right
// edges (a preview padded to a shape that is not the photo's).
bool Letterboxed(const QImage& image);

// The first picture of an image for a cell: the preview the camera stored in it, resampled into
// the destination rectangle, when PreviewUsable says it shows the photo (exact false), else
// MakeThumbnail's. It reads only the file's header for a preview, so it takes well under a
// millisecond where MakeThumbnail takes tens. Never throws.
TThumbResult MakeFirstThumbnail(const std::string& path, int cell = kThumbCell);

// Runs the calling worker thread below the user interface thread's priority, so that a window
// keeps answering the user even when the processors are busy.
void LowerThreadPriority();
// Starts count threads that run work; fewer when the system has no more to spare.
// Throws Error when none of them starts.
std::vector<std::thread> StartWorkers(std::size_t count, const std::function<void()>& work);

// Makes the thumbnails of paths on worker threads. Workers start images in list order and run at
// most `ahead` images beyond the last one taken, so memory stays bounded however long the list.
class TThumbMaker {
public:
  // With yield, the workers run at a lower priority than the thread that takes their results, so
  // that a window keeps answering the user even when the processors are busy with other programs.
  // With previewsFirst, each image comes as MakeFirstThumbnail makes it, else MakeThumbnail.
  TThumbMaker(std::vector<std::string> paths, int threads, bool yield = false,
              std::size_t ahead = 16, int cell = kThumbCell, bool previewsFirst = false);
  ~TThumbMaker();  // stops and waits for the workers
  TThumbMaker(const TThumbMaker&) = delete;
  TThumbMaker& operator=(const TThumbMaker&) = delete;

  std::size_t Count() const { return paths_.size(); }
  // No image is started after this; images under way finish and are dropped.
  void Stop();
  // The result of image `next` (the one after the last taken), waiting at most `wait` for it;
  // nothing when it is not ready by then or the maker has been stopped.
  std::optional<TThumbResult> Take(std::chrono::milliseconds wait);
  std::size_t Next() const { return next_; }
  // How many images the workers have started (for tests of Stop).
  std::size_t Started() const;

private:
  void Work();

  const std::vector<std::string> paths_;
  const bool yield_;
  const std::size_t ahead_;
  const int cell_;
  const bool previewsFirst_;
  mutable std::mutex mutex_;
  std::condition_variable ready_;  // a result arrived
  std::condition_variable room_;   // a result was taken, or stop
  std::vector<std::optional<TThumbResult>> results_;
  std::size_t started_ = 0;
  std::size_t next_ = 0;  // the next index to hand out; only the taking thread changes it
  bool stopped_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace pictalon
