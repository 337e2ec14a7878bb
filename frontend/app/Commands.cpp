// The wizard's commands beyond its pages: Generate Pages, the guide and the about box.
#include <QApplication>

#include <exception>

#include "About.h"
#include "GalleryOptions.h"
#include "GenerateCommand.h"
#include "Helpers.h"
#include "Main.h"
#include "NonVis.h"
#include "Platform.h"

namespace pictalon {

namespace {

// The busy cursor for the whole program and the Generate button off while a run lasts.
class TBusyRun {
public:
  // The button is enabled again afterwards when enableAfter says so.
  TBusyRun(QWidget* button, bool enableAfter) : button_(button), enableAfter_(enableAfter) {}
  ~TBusyRun() { End(); }
  void Begin() {
    if (active_) return;
    active_ = begun_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    button_->setEnabled(false);
  }
  void End() {
    if (!active_) return;
    active_ = false;
    QApplication::restoreOverrideCursor();
    button_->setEnabled(enableAfter_);
    // Let the window repaint before the browser takes over.
    QCoreApplication::processEvents();
  }
  bool Begun() const { return begun_; }

private:
  QWidget* button_;
  bool enableAfter_;
  bool active_ = false;
  bool begun_ = false;
};

}  // namespace

void TfrmSetup::btnGenerateClick() {
  SaveForm();
  TBusyRun busy(tsGallOpt->btnGenerate, !imageList_.empty());
  TGenerateHooks hooks;
  hooks.begin = [&busy] { busy.Begin(); };
  hooks.end = [&busy] { busy.End(); };
  hooks.copyProgress = [](std::size_t, std::size_t) { QCoreApplication::processEvents(); };
  // Another run (pictgen, say) is using the image list file: this one waits for it, busy.
  bool waited = false;
  hooks.waiting = [&waited] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    waited = true;
  };

  TGenerateResult result;
  std::exception_ptr error;
  try {
    result = GeneratePages(currentGalleryFile_, settings_, imageList_, hooks);
  } catch (...) {
    error = std::current_exception();
  }
  if (waited) QApplication::restoreOverrideCursor();
  busy.End();
  if (!busy.Begun()) std::rethrow_exception(error);  // the image list file could not be written

  if (!error && result.outcome == TGenerateOutcome::EngineReturnedFalse)
    dm_.Dialogs().MessageBox(this, "Error running engine");
  // The first page is asked for after every run, as the user expects to see what there is.
  dm_.Dialogs().OpenDocument(QString::fromStdString(GetOutputFolder(settings_) + "gallery1.html"));
  if (error) std::rethrow_exception(error);
  if (result.outcome == TGenerateOutcome::EngineFailed)
    dm_.ShowGeneralError(this, QString::fromStdString(result.failure));
}

void TfrmSetup::GettingStarted1Click() {
  dm_.Dialogs().OpenDocument(QString::fromStdString(GetProgramFolder() + "Guide/index.html"));
}

void TfrmSetup::AboutPictalon1Click() {
  TfrmAbout about(dm_, this);
  dm_.Dialogs().Exec(about);
}

}  // namespace pictalon
