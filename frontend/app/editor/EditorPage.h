// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The wizard's Editor page: the template and style sheet editor with its toolbar. The wizard
// enters it through btnEditClick and btnEditCellClick and asks AskSaveEditorChanges when it closes.
#include <QColor>
#include <QString>
#include <QWidget>

#include <string>

#include "EditorHighlighters.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QsciLexer;
class QToolBar;
class QToolButton;

namespace pictalon {

class TdmNonVis;
class TWizardHost;
class TSynEdit;

// The editor file's marker after "New".
extern const char* const kUntitled;  // "<UNTITLED>"

class TEditorPage : public QWidget {
  Q_OBJECT

public:
  TEditorPage(TdmNonVis& dm, TWizardHost& wizard, QWidget* parent = nullptr);
  ~TEditorPage() override;

  // Edit Pictalon Template: the base template in the editor (Start page, top toolbar, menu).
  void btnEditClick();
  // Edit cell stylesheet: the style sheet of the cell style chosen on the Gallery Images tab.
  void btnEditCellClick();
  // The question about unsaved editor text; Yes runs Save. An error of that Save (a file that
  // cannot be written) is raised to the caller, with the editor's text still there.
  void AskSaveEditorChanges();

  void PictalonBaseTemplate1Click() { btnEditClick(); }
  void PictalonCellStyles1Click();
  void OtherHTMLfiles1Click();
  void btnNew1Click();
  void btnSaveClick();
  void btnCutClick();
  void btnCopyClick();
  void btnPasteClick();
  void btnUndoClick();
  void btnRedoClick();
  void btnHTMLColorClick();
  void btnExitClick();

  // What the page holds, for the wizard and for tests.
  const std::string& EditorFile() const { return editorFile_; }
  THighlighter Highlighter() const { return highlighter_; }
  TSynEdit& Editor() { return *SynEdit1; }
  // The base template's path: the templates folder's "pictbase.html", found ignoring case.
  static std::string BaseTemplatePath();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildToolbar();
  void EnterEditorFromWizard(bool keepReturnPage);
  void SetHighlighter(THighlighter kind);
  // Reads the whole file; a file that cannot be read raises an error and changes nothing.
  static std::string ReadEditorFile(const std::string& path);
  // Shows bytes read from path as the editor's text under the given highlighter, with the file
  // as the editor file and its name in the status label.
  void ShowLoadedFile(const std::string& path, const std::string& bytes, THighlighter kind);
  void OpenWithDialog(THighlighter kind, const QString& folder);
  void WriteEditorText(const std::string& path);
  // Where a save of the shipped template or cell style sheet at path goes in the installed
  // layout: the user's own folder, same name. Empty for any other file.
  static std::string OwnCopyPath(const std::string& path);
  void SaveAs();
  bool IsBaseTemplate(const std::string& path) const;
  void SynEdit1KeyDown(QKeyEvent* event);
  void SynEdit1ShiftTapped();
  void SynEdit1StatusChange(bool modified);
  void RefreshStatus(bool causedBySave);
  void SetColourBox(const QString& text, QColor colour);

  TdmNonVis& dm_;
  TWizardHost& wizard_;

  QToolBar* RzToolbar1;
  QToolButton* btnNew1;
  QToolButton* btnOpen;
  QToolButton* btnSave;
  QToolButton* btnCut;
  QToolButton* btnCopy;
  QToolButton* btnPaste;
  QToolButton* btnUndo;
  QToolButton* btnRedo;
  QLabel* EditorStatus;
  QLineEdit* ebHTMLColor;
  QToolButton* btnHTMLColor;
  QToolButton* btnExit;
  TSynEdit* SynEdit1;
  QsciLexer* htmlHighlighter_;
  QsciLexer* cssHighlighter_;

  std::string editorFile_;
  THighlighter highlighter_ = THighlighter::Html;
  QColor colourBoxColour_ = Qt::white;
  // Where the open dialog was last left; it starts in the templates folder.
  QString openFolder_;
};

}  // namespace pictalon
