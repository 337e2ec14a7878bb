// Writes the guide's picture of the template editor: the editor page with the shipped base
// template open, grabbed offscreen.
//   editor_screenshot PROGRAM_FOLDER OUT.png
#include <QApplication>
#include <QPixmap>

#include <cstdio>

#include "EditorPage.h"
#include "FakeWizard.h"
#include "NonVis.h"
#include "Platform.h"
#include "SynEdit.h"

using namespace pictalon;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: editor_screenshot PROGRAM_FOLDER OUT.png\n");
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Pictalon");
  OverrideProgramFolder(argv[1]);
  TdmNonVis dm;
  TFakeWizard wizard;
  TEditorPage page(dm, wizard);
  page.resize(700, 460);
  try {
    page.btnEditClick();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "editor_screenshot: %s\n", e.what());
    return 1;
  }
  page.Editor().setCursorPosition(0, 0);
  page.show();
  QApplication::processEvents();
  if (!page.grab().save(argv[2], "PNG")) {
    std::fprintf(stderr, "editor_screenshot: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
