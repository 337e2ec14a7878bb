// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QItemSelectionModel>
#include <QScrollBar>

#include <algorithm>

#include "Platform.h"
#include "ThumbList.h"
#include "ThumbMaker.h"
#include "ThumbRefiner.h"

namespace pictalon {

namespace {

// The longest the user interface goes without handling its events during a run.
constexpr qint64 kEventsEveryMs = 20;
// How often the pictures made for the view are taken into the list.
constexpr int kFollowEveryMs = 15;

// Stops a run when the program is asked to quit: the request arrives inside the run's own loop,
// which would otherwise go on to the last image before the program could end.
class TQuitWatch : public QObject {
public:
  explicit TQuitWatch(std::function<void()> onQuit) : onQuit_(std::move(onQuit)) {
    qApp->installEventFilter(this);
  }
  ~TQuitWatch() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == qApp && event->type() == QEvent::Quit) onQuit_();
    return false;
  }

private:
  std::function<void()> onQuit_;
};

}  // namespace

QStringList RunThumbnails(TThumbMaker& maker, const std::vector<std::string>& images,
                          TThumbModel& model, QListView& view, QProgressBar& progress,
                          const std::function<bool()>& stopped, const std::function<void()>& onQuit) {
  TQuitWatch quitWatch(onQuit);
  QStringList errors;
  std::vector<TThumbItem> items;
  std::vector<TThumb> thumbs;
  int made = 0;
  auto flush = [&] {
    if (items.empty()) return;
    const int before = made;
    made += int(items.size());
    const bool previews = std::any_of(thumbs.begin(), thumbs.end(), [](const TThumb& t) { return !t.exact; });
    model.Append(std::move(items), std::move(thumbs));
    items.clear();
    thumbs.clear();
    // The newest thumbnails come into view, unless the user is already looking at one. Camera
    // previews arrive faster than anyone could look at them: the view stays where the user is,
    // and the exact thumbnails are made there first.
    if (made / 10 != before / 10 && !previews && !view.selectionModel()->hasSelection())
      view.scrollTo(model.index(made - 1));
  };

  QElapsedTimer sinceEvents;
  sinceEvents.start();
  while (maker.Next() < images.size() && !stopped()) {
    std::optional<TThumbResult> result = maker.Take(std::chrono::milliseconds(10));
    if (result) {
      const std::string& path = images[result->index];
      if (!result->error.empty()) {
        errors << QString::fromStdString(ExtractFileName(path))
               << QCoreApplication::translate("RunThumbnails", "Error: %1")
                      .arg(QString::fromStdString(result->error))
               << QString();
      } else {
        items.push_back({path, ExtractFileName(path), result->fullSize, made + int(items.size())});
        thumbs.push_back(
            {std::move(result->jpeg), std::move(result->picture), result->rect, result->exact});
      }
      progress.setValue(int(result->index) + 1);
    }
    if (!result || sinceEvents.elapsed() >= kEventsEveryMs) {
      flush();
      QCoreApplication::processEvents(QEventLoop::AllEvents, kEventsEveryMs);
      sinceEvents.restart();
    }
  }
  flush();
  maker.Stop();
  return errors;
}

TThumbFollower::TThumbFollower(TThumbModel& model, QListView& view) : model_(model), view_(view) {
  timer_.setInterval(kFollowEveryMs);
  connect(&timer_, &QTimer::timeout, this, [this] { Update(); });
  auto soon = [this] {
    if (active_ && !timer_.isActive()) timer_.start();
  };
  connect(view_.verticalScrollBar(), &QScrollBar::valueChanged, this, soon);
  connect(&model_, &QAbstractItemModel::rowsInserted, this, soon);
  view_.viewport()->installEventFilter(this);
}

TThumbFollower::~TThumbFollower() = default;

bool TThumbFollower::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && active_ && !timer_.isActive()) timer_.start();
  return QObject::eventFilter(watched, event);
}

void TThumbFollower::Start(int threads) {
  if (!refiner_ || threads != threads_) {
    refiner_.reset();
    refiner_ = std::make_unique<TThumbRefiner>(threads, /*yield=*/true);
    threads_ = threads;
  }
  active_ = true;
  timer_.start();
}

void TThumbFollower::Pause() {
  active_ = false;
  timer_.stop();
  if (refiner_) refiner_->Reset();
}

std::pair<int, int> TThumbFollower::VisibleRows(const QListView& view) {
  const int count = view.model() ? view.model()->rowCount() : 0;
  const QSize grid = view.gridSize();
  if (count == 0 || !grid.isValid() || grid.isEmpty()) return {0, -1};
  // The view lays its cells out on the grid from the first one, left to right, then down.
  const int origin = view.visualRect(view.model()->index(0, 0)).top();
  const int columns = std::max(1, view.viewport()->width() / grid.width());
  const int top = std::max(0, -origin / grid.height());
  const int bottom = std::max(top, (view.viewport()->height() - 1 - origin) / grid.height());
  return {std::min(top * columns, count - 1), std::min((bottom + 1) * columns - 1, count - 1)};
}

void TThumbFollower::Update() {
  if (!active_ || !view_.isVisible()) {
    timer_.stop();
    return;
  }
  for (TThumbResult& result : refiner_->TakeDone()) model_.Replace(std::move(result));
  const auto [first, last] = VisibleRows(view_);
  model_.SetVisibleRows(first, last);
  std::vector<TThumbJob> jobs = model_.WorkOrder();
  const bool nothingWanted = jobs.empty();
  refiner_->Want(std::move(jobs));
  if (nothingWanted && refiner_->Idle()) timer_.stop();
}

}  // namespace pictalon
