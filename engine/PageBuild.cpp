// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageBuild.h"

#include <exception>
#include <utility>

#include "Error.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

namespace {

std::string WhatOf(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown failure";
  }
}

bool IsLineTooLong(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const TLineTooLong&) {
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

void TPageBuilder::SetTemplateFile(const std::string& path) {
  if (SameTextIgnoringCase(path, templateFile_)) return;
  if (!FileExists(path)) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot locate %1"), path));
  templateFile_ = path;
  kept_.reset();
  keptFailure_ = TMessage();
}

const std::string& TPageBuilder::KeptTemplate() {
  if (!keptFailure_.empty()) throw Error(keptFailure_);
  if (!kept_) {
    try {
      TFileSource source(templateFile_);
      std::string bytes;
      char buffer[1 << 14];
      while (std::size_t n = source.Read(buffer, sizeof buffer)) bytes.append(buffer, n);
      kept_ = std::move(bytes);
    } catch (const std::exception& e) {
      keptFailure_ = MessageOf(e);
      throw;
    }
  }
  return *kept_;
}

bool TPageBuilder::GetContent(std::string& text) {
  failure_.clear();
  failingTag_.reset();
  if (templateFile_.empty()) {
    failure_ = "No template is chosen";
    return false;
  }
  try {
    std::string page;
    if (KeepTemplate) {
      TMemorySource source(KeptTemplate());
      Process(source, page);
    } else {
      TFileSource source(templateFile_);
      Process(source, page);
    }
    text = std::move(page);
    return true;
  } catch (...) {
    // The page is not written at all rather than half-filled; the caller reports why.
    std::exception_ptr failure = std::current_exception();
    std::string what = WhatOf(failure);
    if (failingTag_)
      failure_ = "<#" + *failingTag_ + ">: " + what;
    else if (IsLineTooLong(failure))
      failure_ = templateFile_ + ": " + what;
    else
      failure_ = what;  // the template's read failures name it already
    return false;
  }
}

void TPageBuilder::Process(TByteSource& source, std::string& output) {
  TCopyParser parser(source, output);
  parser.NextToken(true);
  for (;;) {
    parser.CopyUpTo('<');
    if (parser.Token() == TTokenKind::EndOfInput) return;
    // Blanks between "<" and what follows are dropped, also when no tag follows.
    parser.NextToken(false);
    if (parser.TokenIs('#')) {
      parser.NextToken(false);
      const std::string tagName = parser.TokenText();
      parser.SkipPast('>');
      std::string replacement;
      try {
        if (OnTag) OnTag(*this, tagName, replacement);
      } catch (...) {
        failingTag_ = tagName;
        throw;
      }
      output += replacement;
    } else {
      // The token after "<" is copied as text, so a second "<" cannot open a tag.
      output += '<';
      parser.CopyTokenToOutput();
    }
    parser.NextToken(true);
  }
}

}  // namespace pictalon
