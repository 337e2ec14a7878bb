// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program in the user's language: its own translation, and Qt's for the standard dialogs.
#include <QLocale>
#include <QString>
#include <QStringList>

#include "Message.h"

class QCoreApplication;

namespace pictalon {

// A message of the Qt-free libraries in the program's language.
QString Translated(const TMessage& message);

// Installs on app, which owns them, the program's translation from the program folder's
// translations/ for the first of languages (most wanted first, as Qt reads them from LANGUAGE,
// LC_ALL, LC_MESSAGES and LANG) that has one, and Qt's own translation for that language.
// English, the language of the source texts, ends the search. Returns the language installed,
// empty when the program stays in English.
QString InstallTranslations(QCoreApplication& app,
                            const QStringList& languages = QLocale::system().uiLanguages());

}  // namespace pictalon
