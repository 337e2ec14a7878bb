// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The loop of a thumbnail run: the maker's thumbnails into the review window's list, in list
// order, with the window handling its events meanwhile.
#include <QListView>
#include <QProgressBar>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pictalon {

class TThumbMaker;
class TThumbModel;

// Appends to model the thumbnails maker makes of images, in list order, until every image is
// done or stopped() says to end; the newest come into view every tenth, unless the user is looking
// at one or they came as camera previews. The program's events are handled at least every 20 ms (where Stop and closing take
// effect); a request to quit calls onQuit. Returns the error report's lines: per failed image
// its file name, "Error: " with the message, and an empty line.
QStringList RunThumbnails(TThumbMaker& maker, const std::vector<std::string>& images,
                          TThumbModel& model, QListView& view, QProgressBar& progress,
                          const std::function<bool()>& stopped, const std::function<void()>& onQuit);

class TThumbRefiner;

// Keeps the pictures of model following view while the window is shown: the rows in view get a
// picture first and then their exact thumbnails, in view order; a scroll, a jump or a resize
// moves the work there; rows far out of view let their pictures go and get them again when they
// come near.
class TThumbFollower : public QObject {
public:
  TThumbFollower(TThumbModel& model, QListView& view);
  ~TThumbFollower() override;

  // Follows the view with this many workers from now on.
  void Start(int threads);
  // Starts nothing more; what is under way is dropped (the window closes or the list changes).
  void Pause();
  // The rows of view's model that the view shows, first to last (last below first: none).
  static std::pair<int, int> VisibleRows(const QListView& view);

private:
  void Update();
  bool eventFilter(QObject* watched, QEvent* event) override;

  TThumbModel& model_;
  QListView& view_;
  std::unique_ptr<TThumbRefiner> refiner_;
  int threads_ = 0;
  bool active_ = false;
  QTimer timer_;
};

}  // namespace pictalon
