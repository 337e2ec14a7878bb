#include "Program.h"

#include <QApplication>

namespace pictalon {

void InitialiseApplication() {
  QApplication::setApplicationName("Pictalon");
  QApplication::setApplicationDisplayName("Pictalon");
  // Ties the windows to the installed menu entry (its icon, in the desktop's task list).
  QApplication::setDesktopFileName("pictalon");
}

TProgram::TProgram(const std::string& argument, std::unique_ptr<TDialogService> dialogs) {
  if (dialogs) dmNonVis.SetDialogService(std::move(dialogs));
  frmSetup = std::make_unique<TfrmSetup>(dmNonVis);
  if (frmSetup->Terminated()) return;
  frmSetup->SetArgument(argument);
  editorPage = new TEditorPage(dmNonVis, *frmSetup, frmSetup->tsEditor);
  frmSetup->SetEditor(
      editorPage, [this] { editorPage->btnEditClick(); },
      [this] { editorPage->btnEditCellClick(); }, [this] { editorPage->AskSaveEditorChanges(); });
  frmFineTune = std::make_unique<TfrmFineTune>(dmNonVis, [this] {
    RunGuarded(dmNonVis, frmFineTune.get(), [this] { frmSetup->SaveForm(); });
  });
  frmSetup->SetFineTune(frmFineTune.get());
  frmImageReview = std::make_unique<TfrmImageReview>(dmNonVis, *frmSetup);
  frmSetup->SetImageReview(frmImageReview.get());
}

TProgram::~TProgram() = default;

}  // namespace pictalon
