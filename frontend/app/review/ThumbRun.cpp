// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QItemSelectionModel>

#include "Platform.h"
#include "ThumbList.h"
#include "ThumbMaker.h"

namespace pictalon {

namespace {

// The longest the user interface goes without handling its events during a run.
constexpr qint64 kEventsEveryMs = 20;

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
    model.Append(std::move(items), std::move(thumbs));
    items.clear();
    thumbs.clear();
    // The newest thumbnails come into view, unless the user is already looking at one.
    if (made / 10 != before / 10 && !view.selectionModel()->hasSelection())
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
        thumbs.push_back({std::move(result->jpeg), std::move(result->picture), result->rect});
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

}  // namespace pictalon
