#include "PageBuild.h"

#include <utility>

#include "Error.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

void TPageBuilder::SetTemplateFile(const std::string& path) {
  if (SameTextIgnoringCase(path, templateFile_)) return;
  if (!FileExists(path)) throw Error("Cannot locate " + path);
  templateFile_ = path;
}

bool TPageBuilder::GetContent(std::string& text) {
  if (templateFile_.empty()) return false;
  try {
    TFileSource source(templateFile_);
    std::string page;
    Process(source, page);
    text = std::move(page);
    return true;
  } catch (...) {
    // The page is not written at all rather than half-filled; the caller reports it.
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
      if (OnTag) OnTag(*this, tagName, replacement);
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
