// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages' shared style sheet "pictalon.css", and the tags that link it and add the
// right-click script.
#include <string>

#include "GenerationRun.h"

namespace pictalon {

// Base style sheet lines, cell style sheet lines, the body background rule, then the text colour
// rewrite; saved as outputFolder + "pictalon.css". Throws Error when a source cannot be read
// ("Cannot open file ...") or the result cannot be written ("Cannot create file ...").
void WriteStyleSheet(const TRunState& run, const std::string& outputFolder);

std::string PictCssTag();
// The right-click script file's bytes when DisableRightClick is set and the file exists; the
// file is read once per run. Throws Error when it exists but cannot be read.
std::string ScriptTag(TRunState& run);

}  // namespace pictalon
