// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SynEdit.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

#include "EditorHighlighters.h"

namespace pictalon {

TSynEdit::TSynEdit(QWidget* parent) : QsciScintilla(parent) {
  setObjectName("SynEdit1");
  setAccessibleName(tr("Editor text"));
  setUtf8(true);
  setFont(EditorFont());
  setPaper(Qt::white);
  setColor(Qt::black);

  setMarginType(0, NumberMargin);
  setMarginLineNumbers(0, true);
  setMarginsFont(EditorFont());
  setMarginWidth(1, 0);
  UpdateLineNumberWidth();
  connect(this, &QsciScintilla::linesChanged, this, &TSynEdit::UpdateLineNumberWidth);

  setAutoIndent(true);
  setIndentationsUseTabs(false);  // the Tab key enters blanks
  setTabWidth(kTabWidth);
  setTabIndents(true);
  setBackspaceUnindents(false);
  SendScintilla(SCI_SETVIRTUALSPACEOPTIONS,
                static_cast<unsigned long>(SCVS_USERACCESSIBLE | SCVS_RECTANGULARSELECTION));
  SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(SC_EOL_CRLF));
  // Typing coalesces into one undo step per run of the same kind of change (Scintilla's grouping);
  // drag-and-drop of the selection is on by default.

  connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int position, int type, const char*, int, int linesAdded, int, int, int, int,
                 int) { NoteModification(position, type, linesAdded); });
  // The caret moves by keys, clicks and commands; Scintilla reports the last ones while it paints.
  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &TSynEdit::QueueTrim);

  connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, &TSynEdit::ShowScrollHint);
  connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [] { QToolTip::hideText(); });
}

std::string TSynEdit::Bytes() const {
  long length = SendScintilla(SCI_GETLENGTH);
  if (length <= 0) return {};
  const char* text = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
  return std::string(text, static_cast<std::size_t>(length));
}

void TSynEdit::LoadBytes(std::string_view bytes) {
  internalEdit_ = true;
  SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
  SendScintilla(SCI_CLEARALL);
  // Appending by length keeps NUL bytes, which a zero-terminated text would cut off.
  if (!bytes.empty())
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()), bytes.data());
  SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
  SendScintilla(SCI_EMPTYUNDOBUFFER);
  SendScintilla(SCI_SETSAVEPOINT);
  // The caret goes to the start without scrolling to it, which would measure a long first line
  // once more.
  SendScintilla(SCI_SETEMPTYSELECTION, 0UL);
  SendScintilla(SCI_SETFIRSTVISIBLELINE, 0UL);
  SendScintilla(SCI_SETXOFFSET, 0UL);
  internalEdit_ = false;
  editedLines_.clear();

  // Lines the user adds end like the lines already there.
  unsigned long eol = SC_EOL_CRLF;
  std::size_t end = bytes.find_first_of("\r\n");
  if (end != std::string_view::npos) {
    if (bytes[end] == '\n')
      eol = SC_EOL_LF;
    else if (end + 1 >= bytes.size() || bytes[end + 1] != '\n')
      eol = SC_EOL_CR;
  }
  SendScintilla(SCI_SETEOLMODE, eol);
}

bool TSynEdit::IsEmpty() const { return SendScintilla(SCI_GETLENGTH) == 0; }

void TSynEdit::InsertAsOneEdit(const QString& text) {
  beginUndoAction();
  replaceSelectedText(text);
  endUndoAction();
}

int TSynEdit::CaretLine() const {
  long caret = SendScintilla(SCI_GETCURRENTPOS);
  return static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret)));
}

void TSynEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) {
    if (!event->isAutoRepeat()) shiftAlone_ = true;
  } else {
    shiftAlone_ = false;
  }
  // A handler that takes the key accepts it; the control then leaves it alone.
  event->ignore();
  emit KeyDown(event);
  if (event->isAccepted()) return;
  event->accept();
  // A new line typed after blanks drops them in the same undo step, so one Undo gives back
  // the line as it was.
  bool newLine = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                 !hasSelectedText() && SendScintilla(SCI_GETSELECTIONNCARETVIRTUALSPACE, 0UL) == 0;
  if (newLine) {
    beginUndoAction();
    TrimBlanksAtCaret();
  }
  if (!(event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier && SmartTab()))
    QsciScintilla::keyPressEvent(event);
  if (newLine) endUndoAction();
  QueueTrim();
}

void TSynEdit::TrimBlanksAtCaret() {
  long caret = SendScintilla(SCI_GETCURRENTPOS);
  long blanks = TrailingBlanksStart(CaretLine());
  long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(CaretLine()));
  if (caret < blanks || blanks == end) return;
  internalEdit_ = true;
  SendScintilla(SCI_DELETERANGE, static_cast<unsigned long>(blanks), end - blanks);
  internalEdit_ = false;
}

long TSynEdit::TrailingBlanksStart(int line) const {
  long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
  long blank = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
  while (blank > start) {
    int c = static_cast<int>(SendScintilla(SCI_GETCHARAT, static_cast<unsigned long>(blank - 1)));
    if (c != ' ' && c != '\t') break;
    --blank;
  }
  return blank;
}

// The trim waits until the event loop is free: the document may not change while Scintilla
// reports a change or paints.
void TSynEdit::QueueTrim() {
  if (editedLines_.empty() || trimQueued_) return;
  trimQueued_ = true;
  QTimer::singleShot(0, this, &TSynEdit::TrimLinesLeft);
}

void TSynEdit::keyReleaseEvent(QKeyEvent* event) {
  bool tapped = event->key() == Qt::Key_Shift && !event->isAutoRepeat() && shiftAlone_ &&
                (event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
  if (event->key() == Qt::Key_Shift && !event->isAutoRepeat()) shiftAlone_ = false;
  QsciScintilla::keyReleaseEvent(event);
  if (tapped) emit ShiftTapped();
}

// Shift-click extends the selection, Shift with the wheel scrolls: neither is a tap of Shift.
void TSynEdit::mousePressEvent(QMouseEvent* event) {
  shiftAlone_ = false;
  QsciScintilla::mousePressEvent(event);
  QueueTrim();
}

void TSynEdit::focusOutEvent(QFocusEvent* event) {
  shiftAlone_ = false;
  QsciScintilla::focusOutEvent(event);
}

void TSynEdit::wheelEvent(QWheelEvent* event) {
  shiftAlone_ = false;
  QsciScintilla::wheelEvent(event);
}

// Smart tabs: Tab moves the caret under the start of the next word of the nearest line above
// that reaches past the caret, filling with blanks. False when there is no such word, and the
// Tab key then goes to the next tab stop as usual.
bool TSynEdit::SmartTab() {
  if (hasSelectedText()) return false;
  long caret = SendScintilla(SCI_GETCURRENTPOS);
  if (SendScintilla(SCI_GETSELECTIONNCARETVIRTUALSPACE, 0UL) > 0) return false;
  int column = static_cast<int>(SendScintilla(SCI_GETCOLUMN, static_cast<unsigned long>(caret)));
  // Looking further than a screenful up would only find unrelated lines (and cost time).
  int line = CaretLine();
  for (int above = line - 1; above >= 0 && above >= line - 100; --above) {
    QString text = this->text(above);
    while (!text.isEmpty() && (text.back() == '\n' || text.back() == '\r')) text.chop(1);
    // Expand tabs so that positions are columns.
    QString expanded;
    for (QChar c : text) {
      if (c == '\t')
        expanded += QString(kTabWidth - expanded.size() % kTabWidth, ' ');
      else
        expanded += c;
    }
    if (expanded.trimmed().isEmpty() || expanded.size() <= column) continue;
    int i = column;
    while (i < expanded.size() && !expanded[i].isSpace()) ++i;
    while (i < expanded.size() && expanded[i].isSpace()) ++i;
    if (i >= expanded.size() || i <= column) return false;
    InsertAsOneEdit(QString(i - column, ' '));
    return true;
  }
  return false;
}

void TSynEdit::NoteModification(int position, int type, int linesAdded) {
  if (internalEdit_ || !(type & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)) ||
      !(type & SC_PERFORMED_USER))
    return;
  int line = static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
  if (linesAdded != 0) {
    // Lines below the change moved; lines removed by a deletion join the changed line.
    std::set<int> moved;
    for (int edited : editedLines_)
      moved.insert(edited <= line ? edited : std::max(line, edited + linesAdded));
    editedLines_.swap(moved);
  }
  editedLines_.insert(line);
  if (linesAdded > 0) editedLines_.insert(line + linesAdded);
}

void TSynEdit::TrimLinesLeft() {
  trimQueued_ = false;
  int caretLine = CaretLine();
  int lines = static_cast<int>(SendScintilla(SCI_GETLINECOUNT));
  std::set<int> keep;
  for (auto it = editedLines_.rbegin(); it != editedLines_.rend(); ++it) {
    if (*it == caretLine)
      keep.insert(*it);
    else if (*it < lines)
      TrimTrailingBlanks(*it);
  }
  editedLines_.swap(keep);
}

void TSynEdit::TrimTrailingBlanks(int line) {
  long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
  long blank = TrailingBlanksStart(line);
  if (blank == end) return;
  internalEdit_ = true;
  SendScintilla(SCI_DELETERANGE, static_cast<unsigned long>(blank), end - blank);
  internalEdit_ = false;
}

void TSynEdit::UpdateLineNumberWidth() {
  int digits = QString::number(std::max(lines(), 1)).size();
  setMarginWidth(0, QString(std::max(digits, 3) + 1, '9'));
}

void TSynEdit::ShowScrollHint(int visibleLine) {
  long line = SendScintilla(SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(std::max(visibleLine, 0)));
  QScrollBar* bar = verticalScrollBar();
  QPoint at = bar->mapToGlobal(QPoint(-4, bar->height() / 2));
  QToolTip::showText(at, tr("Top Line: %1").arg(line + 1), this);
}

}  // namespace pictalon
