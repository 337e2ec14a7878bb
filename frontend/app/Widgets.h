// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small controls the wizard and its dialogs share: colour swatches, picture boxes, memos that
// hold no more than their string slots store, and path boxes with buttons.
#include <QAction>
#include <QColor>
#include <QFrame>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

#include <string>

namespace pictalon {

// A framed rectangle filled with one colour. Its fill colour is the value it holds.
class TColourSwatch : public QFrame {
  Q_OBJECT

public:
  explicit TColourSwatch(QWidget* parent = nullptr);
  QColor Colour() const { return colour_; }
  void SetColour(const QColor& colour);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QColor colour_ = Qt::white;
};

// Shows a picture centred; a larger picture is scaled down with its proportions kept, and with
// stretch set a smaller one is scaled up too. Decodes only what it shows.
class TPictureBox : public QFrame {
  Q_OBJECT

public:
  explicit TPictureBox(QWidget* parent = nullptr, bool stretch = false);
  // Throws Error with the decoder's message; the picture shown before stays on failure.
  void LoadFromFile(const std::string& path);
  void Clear();
  bool HasPicture() const { return !image_.isNull(); }
  const QImage& Picture() const { return image_; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QImage image_;
  bool stretch_;
};

// Line breaks are stored as CR LF; the memo shows them as plain line breaks.
std::string ToStoredText(const QString& text);
QString FromStoredText(const std::string& text);

// A multi-line text box that refuses an edit (with a beep) when the text would no longer fit
// in maxBytes stored bytes, so a save never cuts what the user typed.
class TMemo : public QPlainTextEdit {
  Q_OBJECT

public:
  explicit TMemo(std::size_t maxBytes, QWidget* parent = nullptr);
  void SetText(const QString& text);
  QString Text() const { return toPlainText(); }
  // The stored form fits when it does; the introduction memo refines this.
  virtual bool Fits(const QString& text) const;
  std::size_t MaxBytes() const { return maxBytes_; }

private:
  void Check();

  std::size_t maxBytes_;
  QString lastGood_;
  bool checking_ = false;
};

// A caption as a screen reader should say it: without mnemonic markers ("Image &Title:" is
// "Image Title") and without a trailing colon.
QString SpokenCaption(const QString& caption);

// Bytes from the gallery file shown in a text control. Bytes that are not UTF-8 (a Latin-1
// title, a folder name of other bytes, legal on Linux) cannot be shown as they are: they are
// stored again unchanged until the user edits the text, so opening and closing a gallery never
// changes what the user did not touch.
class TKeptText {
public:
  // Notes stored and the text the control shows for it.
  void Load(const std::string& stored, const QString& shown);
  // What to store for the control's text now; edited is its stored form when it was edited.
  std::string Save(const QString& now, const std::string& edited) const;
  // The stored bytes while the control still shows them unchanged, else now as UTF-8.
  std::string Save(const QString& now) const { return Save(now, now.toStdString()); }

private:
  std::string stored_;
  QString shown_;
  bool keep_ = false;
};

// A label for field: its buddy, whose accessible name becomes the label's text, so a screen
// reader announces the field by the words the user sees beside it.
QLabel* FieldLabel(const QString& text, QWidget* field);

// Makes screen readers announce every combo box by what it chooses (its accessible name: its
// label or group title) with its current entry as its value. Qt on Linux names a combo box by
// its current entry, so "Soft Card" would be all a listener hears. Call once, before windows exist.
void InstallComboBoxAccessibility();

// Gives an icon-only button its hint as tool tip and accessible name.
void SetHint(QWidget* button, const QString& hint);

// A colour swatch with its small button at its right end, on a line of their own.
QHBoxLayout* SwatchRow(TColourSwatch* swatch, QWidget* button);

// A text box with a button at its right end; the action's tool tip is the button's hint.
QAction* AddFieldButton(QLineEdit* field, const QIcon& icon, const QString& hint,
                        const QString& objectName);

}  // namespace pictalon
