// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// twPopup: the review window's floating tool window, which shows either the error report of a
// thumbnail run or one image at full size (halved until it fits the screen).
#include <QWidget>

class QLabel;
class QListWidget;

namespace pictalon {

class TDialogService;

class TReviewPopup : public QWidget {
  Q_OBJECT

public:
  TReviewPopup(TDialogService& dialogs, QWidget* owner);

  // The error report: three lines per failed image; the count in the caption.
  void ShowErrors(const QStringList& lines);
  // The full-size view of the image at path, centred on screen. Nothing happens when the file
  // does not exist; a picture that cannot be loaded shows "Error loading image".
  void ShowImage(const QString& path, const QRect& screen);

  // The size a picture of fullSize is shown at on a screen of screenSize: halved while its width
  // + 20 or its height + 40 reaches the screen's.
  static QSize ShownSize(QSize fullSize, QSize screenSize);

  QLabel* pnlPopupMsg;
  QLabel* pnlPopupBottom;
  QLabel* pnlPopupBack;
  QLabel* Image1;
  QListWidget* lbErrors;

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  TDialogService& dialogs_;
};

}  // namespace pictalon
