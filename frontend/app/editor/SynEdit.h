// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor control of the template and style sheet editor: QScintilla set up with the abilities
// the editor promises (automatic indent, virtual space, smart tabs, tabs as spaces, trailing
// blanks of edited lines removed, a line hint while scrolling) and byte-exact text access.
#include <Qsci/qsciscintilla.h>

#include <set>
#include <string>
#include <string_view>

class QKeyEvent;

namespace pictalon {

class TSynEdit : public QsciScintilla {
  Q_OBJECT

public:
  explicit TSynEdit(QWidget* parent = nullptr);

  // The document exactly as stored: any bytes, NUL and invalid UTF-8 included.
  std::string Bytes() const;
  // Replaces the document with bytes, without an undo step; the result counts as unmodified.
  // New lines take the line end the text starts with (CR LF for a text without one).
  void LoadBytes(std::string_view bytes);
  bool IsEmpty() const;

  // Replaces the selection, or inserts at the caret when nothing is selected, as one undo step.
  void InsertAsOneEdit(const QString& text);

  // Tab stops every eight columns, as the control has them by default.
  static constexpr int kTabWidth = 8;

signals:
  // Every key-down, before the control handles the key; a receiver that accepts the event keeps
  // the key from the control.
  void KeyDown(QKeyEvent* event);
  // Shift pressed and released on its own, with no other key or click in between.
  void ShiftTapped();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

private:
  bool SmartTab();
  void NoteModification(int position, int type, int linesAdded);
  void QueueTrim();
  void TrimLinesLeft();
  void TrimTrailingBlanks(int line);
  // Drops the blanks at the end of the caret's line when the caret stands among them.
  void TrimBlanksAtCaret();
  // Where the blanks (spaces, tabs) at the end of a line begin; the line end when there are none.
  long TrailingBlanksStart(int line) const;
  void UpdateLineNumberWidth();
  void ShowScrollHint(int visibleLine);
  int CaretLine() const;

  // Lines the user changed whose trailing blanks go once the caret leaves them.
  std::set<int> editedLines_;
  bool trimQueued_ = false;
  bool internalEdit_ = false;
  bool shiftAlone_ = false;
};

}  // namespace pictalon
