// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

#include "Platform.h"

namespace pictalon {

QString InstallTranslations(QCoreApplication& app, const QStringList& languages) {
  const QString folder = QString::fromStdString(GetProgramFolder()) + "translations";
  for (const QString& language : languages) {
    QLocale locale(language);
    if (locale.language() == QLocale::English) return QString();
    auto program = std::make_unique<QTranslator>(&app);
    if (!program->load(locale, "pictalon", "_", folder)) continue;
    // Qt's dialogs in the language the program's own windows were found in, so that a window
    // never mixes two languages; without Qt's translations installed its buttons stay English.
    auto qt = std::make_unique<QTranslator>(&app);
    if (qt->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
      app.installTranslator(qt.release());
    QTranslator* installed = program.release();  // app's from now on
    app.installTranslator(installed);
    return installed->language();
  }
  return QString();
}

QString Translated(const TMessage& message) {
  return QString::fromStdString(message.TextIn([](const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
  }));
}

}  // namespace pictalon
