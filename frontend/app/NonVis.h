// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data module: what all windows share and nothing shows by itself. Every dialog and message
// box of the program is reached through its dialog service, so tests answer them without a person.
#include <QColor>
#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QDialog;
class QWidget;

namespace pictalon {

// What a file dialog is opened with.
struct TFileDialogOptions {
  QString title;
  QString folder;         // initial folder; empty: the folder last used by this dialog
  QString fileName;       // initial name in the name box (save dialogs)
  QString filter;         // Qt filter text, "JPG Images (*.jpg)"; several separated by ";;"
  QString defaultSuffix;  // without the dot
  // Save dialogs: the dialog asks before an existing file is chosen. Off where the program asks
  // itself because the name it will write is not the one the dialog sees.
  bool confirmOverwrite = true;
};

// Every dialog and message box. The default implementation shows real Qt dialogs; tests install
// one that answers from a script and records what was asked.
class TDialogService {
  Q_DECLARE_TR_FUNCTIONS(TDialogService)

public:
  virtual ~TDialogService() = default;

  // File names chosen in an open dialog; empty when cancelled.
  virtual QStringList OpenFiles(QWidget* parent, const TFileDialogOptions& options, bool multiple);
  // The open dialog with a preview of the selected picture; empty when cancelled.
  virtual QString OpenPicture(QWidget* parent, const TFileDialogOptions& options);
  // The file name chosen in a save dialog; empty when cancelled.
  virtual QString SaveFile(QWidget* parent, const TFileDialogOptions& options);
  // A folder browser without a "new folder" button; empty when cancelled. An empty initial
  // folder opens at the folder last chosen in it.
  virtual QString ChooseFolder(QWidget* parent, const QString& initialFolder);
  // The colour dialog; nothing when cancelled.
  virtual std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial);

  // Caption "Error", error icon, one "OK".
  virtual void ErrorBox(QWidget* parent, const QString& text);
  // Caption "Confirm", question icon, "&Yes" and "&No"; true for Yes.
  virtual bool ConfirmBox(QWidget* parent, const QString& text);
  // The replace question: caption "Confirm", question icon, "&Yes" and "&No" with No as the
  // default button, so Enter never replaces a file; true for Yes.
  virtual bool ReplaceBox(QWidget* parent, const QString& text);
  // Shows text with a Cancel button, keeping every window repainting, until ready() says the
  // wait is over (true) or the user cancels (false). ready() is asked every few hundred ms.
  virtual bool Wait(QWidget* parent, const QString& text, const std::function<bool()>& ready);
  // Captioned with the program title, one "OK".
  virtual void MessageBox(QWidget* parent, const QString& text);
  // A passphrase or password, typed unseen; nothing when cancelled.
  virtual std::optional<QString> AskSecret(QWidget* parent, const QString& prompt);
  // The general error box: captioned with the program title, error icon, one "OK".
  virtual void GeneralErrorBox(QWidget* parent, const QString& text);

  // Shows a modal dialog of the program (the about box) and returns its result.
  virtual int Exec(QDialog& dialog);
  // A window that the program shows without waiting (a tool window, a non-modal dialog).
  virtual void Show(QWidget& window);
  // The screen a window is on (the primary screen when it has none yet), in desktop coordinates;
  // windows that size or centre themselves on the screen ask here.
  virtual QRect ScreenGeometry(QWidget* window);

  // Asks the desktop to open a file or address with its associated program.
  virtual bool OpenDocument(const QString& pathOrUrl);

  // The folder last chosen in ChooseFolder (the image and output folder buttons share it).
  QString lastFolder;
};

class TdmNonVis : public QObject {
  Q_OBJECT

public:
  TdmNonVis();
  ~TdmNonVis() override;

  TDialogService& Dialogs() { return *dialogs_; }
  // Tests answer the program's dialogs through their own service.
  void SetDialogService(std::unique_ptr<TDialogService> service);

  // The general error box: the message with its full stop, caption "Pictalon", error icon, "OK".
  void ShowGeneralError(QWidget* parent, const QString& message);
  // Shows what an escaped exception carries in the general error box.
  void ShowException(QWidget* parent, std::exception_ptr error);

  // ImageList1: the tab icons, by number (0 text, 1 graphic, 2 editor, 3 gallery images,
  // 4 gallery options), the style's own; ask only for a tab that shows.
  QIcon TabIcon(int index) const;
  // The wizard toolbar's command icons. They are drawn rather than looked up in the icon theme,
  // which costs a start more than building the whole window.
  enum class TCommandIcon { New, EditTemplate, Save, SaveAs, Help };
  static QIcon CommandIcon(TCommandIcon kind);
  // ilFiles: the 32 x 32 gallery file icon of the Start page list.
  QIcon GalleryFileIcon() const;
  // "PGS16X16": the small gallery file bitmap of the gallery combo, red marking its transparent pixels.
  const QPixmap& GalleryFileBitmap16() const { return pgs16_; }

  // pmOpen: "Pictalon Base Template", "Pictalon Cell Styles...", "Other HTML files...".
  QMenu* pmOpen;
  QAction* PictalonBaseTemplate1;
  QAction* PictalonCellStyles1;
  QAction* OtherHTMLfiles1;
  // pmInfo: "Getting Started...", "About Pictalon...".
  QMenu* pmInfo;
  QAction* GettingStarted1;
  QAction* AboutPictalon1;

private:
  std::unique_ptr<TDialogService> dialogs_;
  QIcon galleryIcon_;
  QPixmap pgs16_;
  std::unique_ptr<QMenu> pmOpenOwner_;
  std::unique_ptr<QMenu> pmInfoOwner_;
};

// Wraps a handler so that an error it does not catch reaches the general error box and the
// program goes on: connect(button, &QPushButton::clicked, this, Guarded(dm, this, &T::Click)).
template <class T, class... Args>
auto Guarded(TdmNonVis& dm, T* window, void (T::*handler)(Args...)) {
  return [&dm, window, handler](auto&&... args) {
    try {
      if constexpr (sizeof...(Args) == 0) {
        (window->*handler)();
      } else {
        (window->*handler)(std::forward<decltype(args)>(args)...);
      }
    } catch (...) {
      dm.ShowException(window, std::current_exception());
    }
  };
}

// Runs body; an error it raises reaches the general error box.
void RunGuarded(TdmNonVis& dm, QWidget* parent, const std::function<void()>& body);

}  // namespace pictalon
