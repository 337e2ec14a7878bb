// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// make-screenshots OUTPUT_FOLDER: pictures of the wizard's pages, the editor, the fine-tune dialog
// and the about box for the README and the guide, taken from the real windows over the sample
// gallery in a copy of the build's program folder.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QToolButton>

#include <cstdio>
#include <filesystem>
#include <string>

#include "About.h"
#include "GalleryFile.h"
#include "Platform.h"
#include "Program.h"
#include "PublishRun.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using namespace pictalon;

namespace {

void Save(QWidget& window, const std::string& folder, const char* name) {
  QCoreApplication::processEvents();
  window.grab().save(QString::fromStdString(folder + name));
  std::printf("%s%s\n", folder.c_str(), name);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fputs("Usage: make-screenshots OUTPUT_FOLDER\n", stderr);
    return 2;
  }
  QApplication app(argc, argv);
  InitialiseApplication();
  std::string out = IncludeTrailingPathDelim(fs::absolute(argv[1]).string());
  test::TempDir program;
  for (const char* folder : {"Data", "Templates"})
    fs::copy(std::string(PICTALON_BUILT_PROGRAM) + "/" + folder, program.path() + folder,
             fs::copy_options::recursive);
  test::ProgramFolderOverride programFolder(program.path());
  // The sample gallery's folders point into the build's program folder, where its photos are.
  const std::string sample = program.path() + "Data/User/Sample.pgs";
  GallerySettings settings{};
  ReadGalleryFile(sample, settings);
  settings.LogoGraphic.set(program.path() + "Data/Cell2.jpg");
  std::string written;
  WriteGalleryFile(sample, settings, written);

  {
    TProgram start;  // galleries exist: the Start page
    start.frmSetup->show();
    Save(*start.frmSetup, out, "wizard-start.png");
  }
  TProgram wizard(sample);
  TfrmSetup& w = *wizard.frmSetup;
  w.show();
  // The folders the pictures show are a user's, not the build machine's (the photos stay where
  // they are: only the texts change).
  w.findChild<QLineEdit*>("ebImgFolder")->setText("/home/user/Pictures/Holiday 2026/");
  w.findChild<QLineEdit*>("ebOutput")->setText("/home/user/Pictures/Holiday 2026/web/");
  w.findChild<QLineEdit*>("ebLogoGraphic")->setText("/home/user/Pictures/logo.jpg");
  const char* names[] = {"wizard-text.png", "wizard-graphic.png", "wizard-gallery.png", "wizard-options.png"};
  for (int page = kTextPage; page <= kGallOptPage; ++page) {
    w.SetActivePageIndex(page);
    Save(w, out, names[page - kTextPage]);
  }
  // The editor, entered from the last page, with the base template open.
  w.findChild<QToolButton*>("btnEdit2")->click();
  Save(w, out, "editor.png");
  wizard.frmFineTune->show();
  Save(*wizard.frmFineTune, out, "fine-tune.png");
  TfrmAbout about(wizard.dmNonVis);
  // The guide's address as an installed copy shows it, not the temporary program folder's.
  about.findChild<QLabel*>("RzURLLabel1")->setText("file:///usr/lib/pictalon/Guide/index.html");
  about.show();
  Save(about, out, "about.png");
  // The publish progress window, part way through a first publish.
  QProgressDialog progress(&w);
  const QString where = "sftp://user@example.org/~/public_html/holiday";
  TPublishWindow::SetUpProgress(progress, where);
  TPublishProgress state;
  state.filesDone = 87, state.filesTotal = 412, state.bytesDone = 21'300'000, state.bytesTotal = 97'600'000;
  TPublishWindow::ShowProgress(progress, where, state);
  progress.show();
  Save(progress, out, "publish-progress.png");
  return 0;
}
