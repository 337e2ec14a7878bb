// Writes the guide's picture of the template editor: the wizard window with the shipped base
// template open in its editor, drawn offscreen.
//   editor_screenshot PROGRAM_FOLDER OUT.png
#include <QApplication>
#include <QPixmap>

#include <cstdio>

#include "Platform.h"
#include "Program.h"

using namespace pictalon;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: editor_screenshot PROGRAM_FOLDER OUT.png\n");
    return 2;
  }
  QApplication app(argc, argv);
  InitialiseApplication();
  OverrideProgramFolder(argv[1]);
  TProgram program;
  if (program.Terminated()) return 1;
  program.frmSetup->show();
  QApplication::processEvents();
  try {
    program.editorPage->btnEditClick();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "editor_screenshot: %s\n", e.what());
    return 1;
  }
  QApplication::processEvents();
  if (!program.frmSetup->grab().save(argv[2], "PNG")) {
    std::fprintf(stderr, "editor_screenshot: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
