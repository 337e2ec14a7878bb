#pragma once
// Fills a page template: copies the template to the page text and replaces each template tag,
// "<" "#" name ... ">", by what the tag handler returns for the name.
#include <functional>
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

  const std::string& TemplateFile() const { return templateFile_; }
  // Nothing happens when path equals the current template ignoring ASCII letter case; otherwise
  // throws Error("Cannot locate " + path) when no file is there, else takes path.
  void SetTemplateFile(const std::string& path);

  // Processes the template into text and returns true. Returns false and leaves text alone when
  // no template is set or anything fails, the tag handler included; never throws.
  bool GetContent(std::string& text);

  // The processing itself, appending to output; throws on failure, leaving output partial.
  void Process(TByteSource& source, std::string& output);

private:
  std::string templateFile_;
};

}  // namespace pictalon
