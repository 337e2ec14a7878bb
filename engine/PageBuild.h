// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fills a page template: copies the template to the page text and replaces each template tag,
// "<" "#" name ... ">", by what the tag handler returns for the name.
#include <functional>
#include <optional>
#include <string>

#include "CopyPrsr.h"

namespace pictalon {

class TPageBuilder {
public:
  // Called once per template tag, in template order, with the name as written in the template
  // and replacement empty; what it leaves in replacement takes the tag's place.
  using TTagEvent = std::function<void(TPageBuilder& sender, const std::string& tagName,
                                       std::string& replacement)>;

  TTagEvent OnTag;

  // When set, the first GetContent reads the template whole and later ones process the bytes
  // kept, so a builder that makes every page of a run reads its template once. A read that
  // failed is not tried again: later GetContent calls fail with the same reason.
  bool KeepTemplate = false;

  const std::string& TemplateFile() const { return templateFile_; }
  // Nothing happens when path equals the current template ignoring ASCII letter case; otherwise
  // throws Error("Cannot locate " + path) when no file is there, else takes path (and drops the
  // bytes kept of the previous template).
  void SetTemplateFile(const std::string& path);

  // Processes the template into text and returns true. Returns false and leaves text alone when
  // no template is set or anything fails, the tag handler included; never throws.
  bool GetContent(std::string& text);
  // Why the last GetContent returned false: the template's path with what went wrong in it, or
  // the failing tag with the tag's own message. Empty after a GetContent that succeeded.
  const std::string& FailureText() const { return failure_; }

  // The processing itself, appending to output; throws on failure, leaving output partial.
  void Process(TByteSource& source, std::string& output);

private:
  // The template's bytes, read once while KeepTemplate is set.
  const std::string& KeptTemplate();

  std::string templateFile_;
  std::string failure_;
  std::optional<std::string> kept_;
  TMessage keptFailure_;
  std::optional<std::string> failingTag_;  // the tag whose handler failed
};

}  // namespace pictalon
