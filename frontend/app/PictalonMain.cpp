// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Pictalon: the wizard window that turns a folder of photos into a web gallery.
#include <QApplication>

#include "Program.h"
#include "SampleGallery.h"
#include "Translations.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  pictalon::InitialiseApplication();
  pictalon::InstallTranslations(app);  // the user's language, when Pictalon has it
  pictalon::ProvideSampleGallery();  // the first start of an installed copy
  QStringList arguments = QApplication::arguments();
  pictalon::TProgram program(arguments.size() > 1 ? arguments[1].toStdString() : std::string());
  if (program.Terminated()) return 1;
  program.frmSetup->show();
  return app.exec();
}
