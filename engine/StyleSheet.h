#pragma once
// The pages' shared style sheet "pictalon.css", and the tags that link it and add the
// right-click script.
#include <string>

#include "GenerationRun.h"

namespace pictalon {

// Base style sheet lines, cell style sheet lines, the body background rule, then the text colour
// rewrite; saved as outputFolder + "pictalon.css". Throws Error when a source cannot be read
// ("Cannot open file ...") or the result cannot be written ("Cannot create file ...").
// The sources are read for every page; the text is only assembled again when they changed.
void WriteStyleSheet(TRunState& run, const std::string& outputFolder);

std::string PictCssTag();
// The right-click script file's bytes when DisableRightClick is set and the file exists.
std::string ScriptTag(const TRunState& run);

}  // namespace pictalon
