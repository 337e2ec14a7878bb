// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Program.h"

#include <QApplication>
#include <QLayout>

#include "PhotoMetadata.h"

namespace pictalon {

void InitialiseApplication() {
  QApplication::setApplicationName("Pictalon");
  QApplication::setApplicationDisplayName("Pictalon");
  // Ties the windows to the installed menu entry (its icon, in the desktop's task list).
  QApplication::setDesktopFileName("pictalon");
  // Before any thumbnail worker may read a photo's metadata.
  PreparePhotoMetadata();
}

TProgram::TProgram(const std::string& argument, std::unique_ptr<TDialogService> dialogs) {
  if (dialogs) dmNonVis.SetDialogService(std::move(dialogs));
  frmSetup = std::make_unique<TfrmSetup>(dmNonVis);
  if (frmSetup->Terminated()) return;
  frmSetup->SetArgument(argument);
  // The editor page is the costliest part of the window to make and most starts never show it:
  // it is made when the user first opens a file in it. Until then it holds no text to save.
  frmSetup->SetEditor([this] { Editor().btnEditClick(); }, [this] { Editor().btnEditCellClick(); },
                      [this] {
                        if (editorPage) editorPage->AskSaveEditorChanges();
                      });
  // Neither is in the first frame, and most starts open neither.
  frmFineTune.SetMaker([this] {
    auto fineTune = std::make_unique<TfrmFineTune>(dmNonVis, [this] {
      RunGuarded(dmNonVis, frmFineTune.IfMade(), [this] { frmSetup->SaveForm(); });
    });
    fineTune->Load(frmSetup->Settings());
    return fineTune;
  });
  frmSetup->SetFineTune(&frmFineTune);
  frmImageReview.SetMaker([this] { return std::make_unique<TfrmImageReview>(dmNonVis, *frmSetup); });
  frmSetup->SetImageReview([this](bool make) -> QWidget* {
    return make ? frmImageReview.get() : frmImageReview.IfMade();
  });
}

TProgram::~TProgram() = default;

TEditorPage& TProgram::Editor() {
  if (!editorPage) {
    editorPage = new TEditorPage(dmNonVis, *frmSetup);
    frmSetup->SetEditorPage(editorPage);
  }
  return *editorPage;
}

}  // namespace pictalon
