// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Which translations come up for the user's languages: the program's own from the built program
// folder and Qt's for its standard dialogs, always in one language, and none when English comes
// first.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <string>

#include "Platform.h"
#include "Translations.h"

namespace pictalon {
namespace {

struct Case {
  const char* name;
  QStringList languages;  // most wanted first
  std::string installed;
  std::string cancel;  // Qt's standard Cancel button
};

TEST(Translations, FirstLanguageWithATranslation) {
  OverrideProgramFolder(PICTALON_BUILT_PROGRAM);
  const Case cases[] = {
      {"German", {"de-DE"}, "de", "Abbrechen"},
      {"a country without a file of its own", {"de-AT"}, "de", "Abbrechen"},
      {"a language without the program's translation is passed over", {"fr-FR", "de-DE"}, "de",
       "Abbrechen"},
      {"English, the source language, first", {"en-GB", "de-DE"}, "", "Cancel"},
      // Qt has French; its dialogs must not be French in an English program.
      {"only languages without the program's translation", {"fr-FR"}, "", "Cancel"},
      {"the C locale", {"C"}, "", "Cancel"},
  };
  int argc = 1;
  char name[] = "translations_tests";
  char* argv[] = {name, nullptr};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QCoreApplication app(argc, argv);
    EXPECT_EQ(InstallTranslations(app, c.languages).toStdString(), c.installed);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), c.cancel);
  }
  OverrideProgramFolder(std::string());
}

}  // namespace
}  // namespace pictalon
