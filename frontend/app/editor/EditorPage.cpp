// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorPage.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <Qsci/qscilexer.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "Error.h"
#include "Helpers.h"
#include "NonVis.h"
#include "Platform.h"
#include "SynEdit.h"
#include "TextUtil.h"
#include "WizardHost.h"
#include "WorkingFiles.h"

namespace pictalon {

const char* const kUntitled = QT_TRANSLATE_NOOP("pictalon::TEditorPage", "<UNTITLED>");

namespace {

const char* const kBaseTemplateName = "pictbase.html";

QString Angled(const std::string& path) {
  return "<" + QString::fromStdString(ExtractFileName(path)) + ">";
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

// Four colour patches: the picture of the colour dialog button.
QIcon ColourIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  const QColor colours[] = {QColor(220, 40, 40), QColor(40, 170, 60), QColor(40, 80, 220),
                            QColor(240, 200, 40)};
  for (int i = 0; i < 4; ++i) p.fillRect(1 + (i % 2) * 7, 1 + (i / 2) * 7, 7, 7, colours[i]);
  p.setPen(Qt::darkGray);
  p.drawRect(0, 0, 15, 15);
  return QIcon(pixmap);
}

// Small drawn pictures for the clipboard buttons, used when the desktop's icon theme has none.
enum class TClipboardIcon { Cut, Copy, Paste };

QIcon ClipboardIcon(TClipboardIcon kind) {
  const char* themeName = kind == TClipboardIcon::Cut    ? "edit-cut"
                          : kind == TClipboardIcon::Copy ? "edit-copy"
                                                         : "edit-paste";
  if (QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPen outline(QColor(60, 60, 70), 1.2);
  p.setPen(outline);
  switch (kind) {
    case TClipboardIcon::Cut:
      p.drawLine(QPointF(4.5, 1.5), QPointF(10.5, 10.5));
      p.drawLine(QPointF(11.5, 1.5), QPointF(5.5, 10.5));
      p.setBrush(QColor(200, 60, 60));
      p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
      p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
      break;
    case TClipboardIcon::Copy:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 8, 10));
      p.drawRect(QRectF(6.5, 4.5, 8, 10));
      break;
    case TClipboardIcon::Paste:
      p.setBrush(QColor(190, 140, 80));
      p.drawRoundedRect(QRectF(1.5, 2.5, 11, 12.5), 1.5, 1.5);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(6.5, 6.5, 8, 8.5));
      p.setBrush(QColor(150, 150, 160));
      p.drawRect(QRectF(4.5, 1.5, 5, 2.5));
      break;
  }
  return QIcon(pixmap);
}

}  // namespace

TEditorPage::TEditorPage(TdmNonVis& dm, TWizardHost& wizard, QWidget* parent)
    : QWidget(parent), dm_(dm), wizard_(wizard) {
  setObjectName("EditorPage");
  SynEdit1 = new TSynEdit(this);
  htmlHighlighter_ = CreateHighlighter(THighlighter::Html, this);
  cssHighlighter_ = CreateHighlighter(THighlighter::Css, this);
  SetHighlighter(THighlighter::Html);

  BuildToolbar();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(RzToolbar1);
  layout->addWidget(SynEdit1, 1);
  setFocusProxy(SynEdit1);

  connect(SynEdit1, &TSynEdit::KeyDown, this, [this](QKeyEvent* event) {
    RunGuarded(dm_, this, [&] { SynEdit1KeyDown(event); });
  });
  connect(SynEdit1, &TSynEdit::ShiftTapped, this, Guarded(dm_, this, &TEditorPage::SynEdit1ShiftTapped));
  connect(SynEdit1, &QsciScintilla::modificationChanged, this, &TEditorPage::SynEdit1StatusChange);

  connect(dm_.PictalonBaseTemplate1, &QAction::triggered, this,
          Guarded(dm_, this, &TEditorPage::PictalonBaseTemplate1Click));
  connect(dm_.PictalonCellStyles1, &QAction::triggered, this,
          Guarded(dm_, this, &TEditorPage::PictalonCellStyles1Click));
  connect(dm_.OtherHTMLfiles1, &QAction::triggered, this,
          Guarded(dm_, this, &TEditorPage::OtherHTMLfiles1Click));
}

TEditorPage::~TEditorPage() = default;

void TEditorPage::BuildToolbar() {
  RzToolbar1 = new QToolBar(this);
  RzToolbar1->setObjectName("RzToolbar1");
  RzToolbar1->setFixedHeight(29);
  RzToolbar1->setIconSize(QSize(16, 16));

  auto button = [this](QToolButton*& field, const char* name, const QString& hint, const QIcon& icon,
                       void (TEditorPage::*handler)()) {
    field = new QToolButton(RzToolbar1);
    field->setObjectName(name);
    field->setToolTip(hint);
    field->setAccessibleName(hint);
    field->setText(hint);
    field->setIcon(icon);
    field->setAutoRaise(true);
    if (handler) connect(field, &QToolButton::clicked, this, Guarded(dm_, this, handler));
    RzToolbar1->addWidget(field);
  };

  button(btnNew1, "btnNew1", tr("New"), ThemeIcon("document-new", QStyle::SP_FileIcon),
         &TEditorPage::btnNew1Click);
  button(btnOpen, "btnOpen", tr("Open"), ThemeIcon("document-open", QStyle::SP_DialogOpenButton),
         nullptr);
  btnOpen->setToolTip(QString());
  btnOpen->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  btnOpen->setMenu(dm_.pmOpen);
  // The button has no command of its own, so all of it opens the menu.
  btnOpen->setPopupMode(QToolButton::InstantPopup);
  button(btnSave, "btnSave", tr("Save"), ThemeIcon("document-save", QStyle::SP_DialogSaveButton),
         &TEditorPage::btnSaveClick);
  RzToolbar1->addSeparator();
  button(btnCut, "btnCut", tr("Cut"), ClipboardIcon(TClipboardIcon::Cut), &TEditorPage::btnCutClick);
  button(btnCopy, "btnCopy", tr("Copy"), ClipboardIcon(TClipboardIcon::Copy), &TEditorPage::btnCopyClick);
  button(btnPaste, "btnPaste", tr("Paste"), ClipboardIcon(TClipboardIcon::Paste), &TEditorPage::btnPasteClick);
  RzToolbar1->addSeparator();
  button(btnUndo, "btnUndo", tr("Undo"), ThemeIcon("edit-undo", QStyle::SP_ArrowBack),
         &TEditorPage::btnUndoClick);
  button(btnRedo, "btnRedo", tr("Redo"), ThemeIcon("edit-redo", QStyle::SP_ArrowForward),
         &TEditorPage::btnRedoClick);
  RzToolbar1->addSeparator();

  EditorStatus = new QLabel(RzToolbar1);
  EditorStatus->setObjectName("EditorStatus");
  EditorStatus->setFixedWidth(85);
  EditorStatus->setAlignment(Qt::AlignCenter);
  EditorStatus->setFrameShape(QFrame::StyledPanel);
  EditorStatus->setFrameShadow(QFrame::Sunken);
  // It shows changing state ("Modified", "Saved"): a screen reader reads its text.
  EditorStatus->setAccessibleDescription(tr("Editor status"));
  RzToolbar1->addWidget(EditorStatus);
  RzToolbar1->addSeparator();

  ebHTMLColor = new QLineEdit(RzToolbar1);
  ebHTMLColor->setObjectName("ebHTMLColor");
  ebHTMLColor->setToolTip(tr("HTML Color"));
  ebHTMLColor->setAccessibleName(tr("HTML Color"));
  QFont boxFont = EditorFont();
  boxFont.setBold(true);
  ebHTMLColor->setFont(boxFont);
  // 63 pixels as designed, or what "#FFFFFF" in the bold font needs when that is more.
  int needed = QFontMetrics(boxFont).horizontalAdvance("#FFFFFF") + 12;
  ebHTMLColor->setFixedWidth(std::max(63, needed));
  ebHTMLColor->installEventFilter(this);
  SetColourBox("#FFFFFF", Qt::white);
  RzToolbar1->addWidget(ebHTMLColor);
  button(btnHTMLColor, "btnHTMLColor", tr("HTML Color"), ColourIcon(), &TEditorPage::btnHTMLColorClick);
  RzToolbar1->addSeparator();
  button(btnExit, "btnExit", tr("Exit"), ThemeIcon("application-exit", QStyle::SP_DialogCloseButton),
         &TEditorPage::btnExitClick);
}

bool TEditorPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ebHTMLColor && event->type() == QEvent::MouseButtonDblClick) {
    RunGuarded(dm_, this, [this] { btnHTMLColorClick(); });
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

std::string TEditorPage::BaseTemplatePath() {
  return FindFileIgnoringCase(GetTemplatesFolder() + kBaseTemplateName);
}

bool TEditorPage::IsBaseTemplate(const std::string& path) const {
  if (SameTextIgnoringCase(path, GetTemplatesFolder() + kBaseTemplateName)) return true;
  // Another spelling of the same file (a link, "./") is the same base template.
  std::error_code error;
  return std::filesystem::equivalent(path, BaseTemplatePath(), error) && !error;
}

void TEditorPage::SetHighlighter(THighlighter kind) {
  highlighter_ = kind;
  SynEdit1->setLexer(kind == THighlighter::Html ? htmlHighlighter_ : cssHighlighter_);
  // Choosing a lexer restyles the margin; the line numbers keep the editor font.
  SynEdit1->setMarginsFont(EditorFont());
}

std::string TEditorPage::ReadEditorFile(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes))
    throw Error(tr("Cannot open file \"%1\"").arg(QString::fromStdString(path)).toStdString());
  return bytes;
}

void TEditorPage::ShowLoadedFile(const std::string& path, const std::string& bytes,
                                 THighlighter kind) {
  SetHighlighter(kind);
  SynEdit1->LoadBytes(bytes);
  editorFile_ = path;
  RefreshStatus(false);
}

// Entering the editor from the wizard: the page to come back to, then only the Editor tab.
void TEditorPage::EnterEditorFromWizard(bool keepReturnPage) {
  if (!keepReturnPage) wizard_.SetReturnPage(wizard_.ActivePageIndex());
  wizard_.ShowWizardTabs(false);
  wizard_.SetEditorTabVisible(true);
}

void TEditorPage::btnEditClick() {
  std::string path = BaseTemplatePath();
  // Read first: a missing base template leaves the wizard and the editor as they were.
  std::string bytes = ReadEditorFile(path);
  EnterEditorFromWizard(wizard_.ActivePageIndex() == kEditorPage);
  ShowLoadedFile(path, bytes, THighlighter::Html);
  wizard_.SetStatusText("<" + QString(kBaseTemplateName) + ">");
  wizard_.SetActivePageIndex(kEditorPage);
  SynEdit1->setFocus();
}

void TEditorPage::btnEditCellClick() {
  std::string path = wizard_.CurrentCellStyleSheet();
  if (path.empty()) return;
  path = FindFileIgnoringCase(FindCellStyleSheet(path));
  if (!FileExists(path)) return;
  std::string bytes = ReadEditorFile(path);
  EnterEditorFromWizard(wizard_.ActivePageIndex() == kEditorPage);
  ShowLoadedFile(path, bytes, THighlighter::Css);
  wizard_.SetStatusText(Angled(path));
  wizard_.SetActivePageIndex(kEditorPage);
  SynEdit1->setFocus();
}

void TEditorPage::OpenWithDialog(THighlighter kind, const QString& folder) {
  TFileDialogOptions options;
  options.title = tr("Open HTML File");
  options.folder = folder;
  options.filter = QtFileFilter(kind == THighlighter::Css ? tr(kCssFileTypeText)
                                                           : tr("HTML Files|*.html;*.htm"));
  QStringList files = dm_.Dialogs().OpenFiles(this, options, false);
  if (files.isEmpty()) return;
  std::string path = files.front().toStdString();
  openFolder_ = QString::fromStdString(ExtractFilePath(path));
  std::string bytes = ReadEditorFile(path);
  ShowLoadedFile(path, bytes, kind);
  wizard_.SetStatusText(Angled(path));
}

void TEditorPage::PictalonCellStyles1Click() {
  OpenWithDialog(THighlighter::Css, QString::fromStdString(GetUserCellStylesFolder()));
}

void TEditorPage::OtherHTMLfiles1Click() {
  // The user's own templates until a file has been opened elsewhere.
  OpenWithDialog(THighlighter::Html,
                 openFolder_.isEmpty() ? QString::fromStdString(GetUserTemplatesFolder()) : openFolder_);
}

void TEditorPage::btnNew1Click() {
  if (SynEdit1->isModified() &&
      dm_.Dialogs().ConfirmBox(
          this, tr("The current file has been modifed.\nDo you want to save your changes ?")))
    btnSaveClick();
  SynEdit1->LoadBytes({});
  editorFile_ = kUntitled;
  wizard_.SetStatusText(tr(kUntitled));
  RefreshStatus(false);
}

void TEditorPage::WriteEditorText(const std::string& path) {
  // The write goes through a link to the file it names (stat follows it too).
  struct stat info;
  if (::stat(path.c_str(), &info) == 0 &&
      ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0))
    throw Error(tr("Cannot write file \"%1\": the file is read-only")
                    .arg(QString::fromStdString(path))
                    .toStdString());
  std::string reason;
  if (!WriteFileAtomic(path, SynEdit1->Bytes(), true, &reason))
    throw Error(tr("Cannot write file \"%1\": %2")
                    .arg(QString::fromStdString(path), QString::fromStdString(reason))
                    .toStdString());
}

std::string TEditorPage::OwnCopyPath(const std::string& path) {
  // Only an installed copy's shipped folders are shared and replaced by upgrades.
  if (GetLayout() != TLayout::Installed) return std::string();
  std::string folder = ExtractFilePath(path);
  if (folder == GetTemplatesFolder()) return GetUserTemplatesFolder() + ExtractFileName(path);
  if (folder == GetDataFolder()) return GetUserCellStylesFolder() + ExtractFileName(path);
  return std::string();
}

void TEditorPage::btnSaveClick() {
  if (editorFile_ != kUntitled && !IsBaseTemplate(editorFile_) && FileExists(editorFile_)) {
    // A shipped file keeps its name in the user's own folder, where the template and cell
    // style lists and the generator find it before the shipped one.
    std::string ownCopy = OwnCopyPath(editorFile_);
    if (!ownCopy.empty()) ForceDirectories(ExtractFilePath(ownCopy));
    WriteEditorText(ownCopy.empty() ? editorFile_ : ownCopy);
    if (!ownCopy.empty()) {
      editorFile_ = ownCopy;
      wizard_.SetStatusText(tr("%1 saved as your own copy in %2")
                                .arg(Angled(ownCopy), QString::fromStdString(ExtractFilePath(ownCopy))));
    }
    SynEdit1->setModified(false);
    RefreshStatus(true);
    return;
  }
  SaveAs();
}

void TEditorPage::SaveAs() {
  bool html = highlighter_ == THighlighter::Html;
  TFileDialogOptions options;
  std::string folder = html ? GetUserTemplatesFolder() : GetUserCellStylesFolder();
  ForceDirectories(folder);
  options.folder = QString::fromStdString(folder);
  options.filter = QtFileFilter(html ? tr(kHtmlFileTypeText) : tr(kCssFileTypeText));
  options.defaultSuffix = html ? "html" : "css";
  for (;;) {
    QString chosen = dm_.Dialogs().SaveFile(this, options);
    if (chosen.isEmpty()) return;
    std::string path = chosen.toStdString();
    if (IsBaseTemplate(path)) {
      dm_.Dialogs().MessageBox(this,
                               tr("You cannot overwrite pictbase.html.\nYou should save your "
                                  "changes with a\ndifferent filename."));
      continue;
    }
    // A copy: the editor file, the status label and the modified flag stay.
    WriteEditorText(path);
    RefreshStatus(true);
    return;
  }
}

void TEditorPage::btnCutClick() { SynEdit1->cut(); }
void TEditorPage::btnCopyClick() { SynEdit1->copy(); }
void TEditorPage::btnPasteClick() { SynEdit1->paste(); }
void TEditorPage::btnUndoClick() { SynEdit1->undo(); }
void TEditorPage::btnRedoClick() { SynEdit1->redo(); }

void TEditorPage::btnHTMLColorClick() {
  std::optional<QColor> chosen = dm_.Dialogs().ChooseColour(this, colourBoxColour_);
  if (!chosen) return;
  QColor colour = chosen->toRgb();
  TColor value = TColor(colour.red()) | TColor(colour.green()) << 8 | TColor(colour.blue()) << 16;
  SetColourBox(QString::fromStdString(ColourToHtml(value)), colour);
}

void TEditorPage::AskSaveEditorChanges() {
  if (SynEdit1->IsEmpty() || !SynEdit1->isModified()) return;
  if (dm_.Dialogs().ConfirmBox(
          this, tr("%1 has changed.\nDo you want to save the changes ?").arg(wizard_.StatusText())))
    btnSaveClick();
}

void TEditorPage::btnExitClick() {
  AskSaveEditorChanges();
  wizard_.SetEditorTabVisible(false);
  int returnPage = wizard_.ReturnPage();
  if (returnPage != kStartPage) {
    wizard_.ShowWizardTabs(true);
    wizard_.SetActivePageIndex(returnPage);
    wizard_.UpdateBackNext();
  } else {
    wizard_.ShowStartPage();
  }
  wizard_.SetStatusText(QString::fromStdString(ExtractFileName(wizard_.CurrentGalleryFile())));
}

void TEditorPage::SetColourBox(const QString& text, QColor colour) {
  colourBoxColour_ = colour;
  ebHTMLColor->setText(text);
  QPalette palette = ebHTMLColor->palette();
  palette.setColor(QPalette::Base, colour);
  palette.setColor(QPalette::Text,
                   QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue()));
  ebHTMLColor->setPalette(palette);
}

void TEditorPage::SynEdit1KeyDown(QKeyEvent* event) {
  // Ctrl+S saves, as in other editors.
  if (event->matches(QKeySequence::Save)) {
    event->accept();
    btnSaveClick();
    return;
  }
  if (event->key() != Qt::Key_Control) return;
  QString selected = SynEdit1->selectedText();
  if (selected.size() != 7 || !selected.startsWith('#')) return;
  // The text goes into the box first; a text that names no colour leaves the old colours.
  ebHTMLColor->setText(selected);
  TColor value = HtmlToColour(selected.toStdString());
  if (value == kNoColour)
    throw Error(tr("'%1' is not a valid colour value").arg(selected).toStdString());
  SetColourBox(selected, QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF));
}

void TEditorPage::SynEdit1ShiftTapped() {
  QString text = ebHTMLColor->text();
  if (!text.isEmpty()) SynEdit1->InsertAsOneEdit(text);
}

void TEditorPage::SynEdit1StatusChange(bool modified) {
  (void)modified;
  RefreshStatus(false);
}

void TEditorPage::RefreshStatus(bool causedBySave) {
  if (SynEdit1->isModified())
    EditorStatus->setText(tr("Modified"));
  else
    EditorStatus->setText(causedBySave ? tr("Saved") : QString());
}

}  // namespace pictalon
