// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorHighlighters.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>

#include <initializer_list>

namespace pictalon {

// Shown through the editor page's tr().
//: A file type: its description, then after the bar the file patterns, which stay as they are.
const char* const kHtmlFileTypeText =
    QT_TRANSLATE_NOOP("pictalon::TEditorPage", "HTML Document (*.htm,*.html)|*.htm;*.html");
//: A file type: its description, then after the bar the file patterns, which stay as they are.
const char* const kCssFileTypeText =
    QT_TRANSLATE_NOOP("pictalon::TEditorPage", "Cascading Stylesheets (*.css)|*.css");

QString QtFileFilter(const QString& fileTypeText) {
  int bar = fileTypeText.indexOf('|');
  if (bar < 0) return fileTypeText;
  QString description = fileTypeText.left(bar);
  // The description may carry its own pattern list; Qt reads the patterns from the parentheses,
  // so they are replaced by the real ones, blank-separated.
  int paren = description.indexOf('(');
  if (paren >= 0) description = description.left(paren);
  QString patterns = fileTypeText.mid(bar + 1);
  patterns.replace(';', ' ');
  return description.trimmed() + " (" + patterns + ")";
}

QFont EditorFont() {
  QString family = "Courier New";
  if (!QFontDatabase::families().contains(family, Qt::CaseInsensitive))
    family = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  QFont font(family);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  qreal dpi = 96;
  if (QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInchY();
  font.setPointSizeF(13.0 * 72.0 / dpi);
  return font;
}

namespace {

// A token class of the highlighters: its colour and weight, and the lexer styles it covers.
struct TTokenClass {
  QRgb colour;
  bool bold;
  bool italic;
  std::initializer_list<int> styles;
};

void Apply(QsciLexer& lexer, std::initializer_list<TTokenClass> classes) {
  QFont font = EditorFont();
  lexer.setDefaultFont(font);
  lexer.setDefaultPaper(Qt::white);
  lexer.setDefaultColor(Qt::black);
  lexer.setFont(font, -1);
  lexer.setPaper(Qt::white, -1);
  lexer.setColor(Qt::black, -1);
  for (const TTokenClass& token : classes) {
    QFont styled = font;
    styled.setBold(token.bold);
    styled.setItalic(token.italic);
    for (int style : token.styles) {
      lexer.setColor(QColor(token.colour), style);
      lexer.setFont(styled, style);
    }
  }
}

}  // namespace

QsciLexer* CreateHighlighter(THighlighter kind, QObject* parent) {
  if (kind == THighlighter::Html) {
    auto* lexer = new QsciLexerHTML(parent);
    using H = QsciLexerHTML;
    Apply(*lexer, {
        {0x800000, false, false, {H::Entity, H::SGMLEntity}},                        // AndAttri
        {0x000080, true, false, {H::HTMLComment, H::SGMLComment, H::SGMLParameterComment}},
        {0x0000FF, false, false, {H::Attribute, H::UnknownAttribute}},               // IdentifierAttri
        {0xFF0000, false, false, {H::Tag, H::SGMLDefault, H::SGMLCommand}},          // KeyAttri
        {0x800080, false, false, {H::OtherInTag, H::XMLTagEnd, H::XMLStart, H::XMLEnd}},  // SymbolAttri
        {0x008000, true, false, {H::Default, H::CDATA}},                             // TextAttri
        {0x000000, false, false, {H::UnknownTag}},                                   // UndefKeyAttri
        {0x0000A0, false, false, {H::HTMLNumber, H::HTMLDoubleQuotedString, H::HTMLSingleQuotedString,
                                  H::HTMLValue, H::SGMLParameter, H::SGMLDoubleQuotedString,
                                  H::SGMLSingleQuotedString}},                       // ValueAttri
    });
    return lexer;
  }
  auto* lexer = new QsciLexerCSS(parent);
  using C = QsciLexerCSS;
  // The lexer does not split a property's value into numbers and words; the value as a whole
  // takes the number colour, so values stand apart from selectors and property names.
  Apply(*lexer, {
      {0x000080, true, true, {C::Comment}},                                          // CommentAttri
      {0x000000, false, false, {C::Default, C::Tag, C::ClassSelector, C::PseudoClass,
                                C::UnknownPseudoClass, C::UnknownProperty, C::IDSelector,
                                C::Attribute}},                                      // IdentifierAttri
      {0xFF0000, false, false, {C::CSS1Property, C::CSS2Property, C::CSS3Property, C::Important,
                                C::AtRule}},                                         // KeyAttri
      {0x0000FF, true, false, {C::Value}},                                           // NumberAttri
      {0x008000, true, false, {C::DoubleQuotedString, C::SingleQuotedString}},       // StringAttri
      {0xFF00FF, true, false, {C::Operator}},                                        // SymbolAttri
  });
  return lexer;
}

}  // namespace pictalon
