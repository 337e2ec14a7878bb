// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's two highlighters, coloured the program's way on white: token classes of the
// page templates and of the cell style sheets mapped onto the lexers' styles.
#include <QFont>
#include <QString>

class QsciLexer;
class QObject;

namespace pictalon {

enum class THighlighter { Html, Css };

// File type texts of the highlighters, in the "description|patterns" form the program keeps.
extern const char* const kHtmlFileTypeText;  // "HTML Document (*.htm,*.html)|*.htm;*.html"
extern const char* const kCssFileTypeText;   // "Cascading Stylesheets (*.css)|*.css"

// A "description|patterns" text as a Qt file dialog filter: "HTML Document (*.htm *.html)".
QString QtFileFilter(const QString& fileTypeText);

// Courier New at 13 pixels, or the nearest installed monospace at the same height. Scintilla
// takes point sizes only, so the pixel height is converted for the screen's resolution.
QFont EditorFont();

// A new lexer with every style on white, the table's colours and weights, and the editor font.
// Styles the table does not name (embedded script, server code) are plain black.
QsciLexer* CreateHighlighter(THighlighter kind, QObject* parent);

}  // namespace pictalon
