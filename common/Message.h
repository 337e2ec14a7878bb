// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text for the user from the Qt-free libraries, in a form that windows translate: the English
// source text with %1 to %9 standing for its arguments, and the translation context it is listed
// under. Its English rendering is the text as the libraries have always said it.
#include <string>
#include <utility>
#include <vector>

// Marks a source text for translation, as QT_TRANSLATE_NOOP does: lupdate is told to read it so
// (scripts/check-translations.sh). Both are string literals, for lupdate; the libraries' texts
// all go under the context "pictalon::TMessage":
//   throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot open file %1"), path));
#define PICTALON_TRANSLATABLE(context, source) ::pictalon::TMessageText{context, source}

namespace pictalon {

struct TMessageText {
  const char* context;
  const char* source;
};

class TMessage {
public:
  TMessage() = default;
  // A text that passes as it is, in every language: a system error string, a decoder's text.
  TMessage(std::string text) : source_(std::move(text)) {}  // NOLINT: a plain text is a message
  template <class... Args>
  explicit TMessage(TMessageText text, Args&&... arguments)
      : context_(text.context), source_(text.source), arguments_{std::string(arguments)...} {}

  // The translation context, null for a text that passes as it is.
  const char* Context() const { return context_.empty() ? nullptr : context_.c_str(); }
  const std::string& Source() const { return source_; }
  const std::vector<std::string>& Arguments() const { return arguments_; }
  bool empty() const { return source_.empty(); }
  void AddArgument(std::string argument) { arguments_.push_back(std::move(argument)); }
  // The English text.
  std::string Text() const { return FillArguments(source_, arguments_); }
  // The text in another language: translate(context, source) gives the translated source text
  // (UTF-8, with the same %1 to %9), or the source itself when it has none.
  template <class Translate>
  std::string TextIn(Translate translate) const {
    if (context_.empty()) return source_;
    return FillArguments(translate(context_.c_str(), source_.c_str()), arguments_);
  }

  // pattern with each %1 to %9 replaced by the matching argument, in one pass: a %1 inside an
  // argument stays as it is. A plain text (no arguments) is returned unchanged.
  static std::string FillArguments(const std::string& pattern, const std::vector<std::string>& arguments);

private:
  std::string context_;  // copied: a message outlives the library whose text it names
  std::string source_;
  std::vector<std::string> arguments_;
};

}  // namespace pictalon
