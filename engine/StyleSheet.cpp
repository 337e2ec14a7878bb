// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "StyleSheet.h"

#include "Error.h"
#include "GalleryCell.h"
#include "ModernPage.h"
#include "Platform.h"
#include "TextUtil.h"
#include "WorkingFiles.h"

namespace pictalon {

namespace {

std::string ReadSource(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot open file %1"), path));
  return bytes;
}

std::string BodyBackgroundRule(const GallerySettings& s, const std::string& backgroundAddress) {
  if (!s.BackgroundImage.empty()) return "body {background: #ffffff url(" + backgroundAddress + ");}";
  if (!s.BackgroundColour.empty()) return "body {background: " + s.BackgroundColour.get() + "}";
  return "body {background: #ffffff;}";
}

std::string StyleSheetText(const GallerySettings& s, const std::string& backgroundAddress,
                           const std::string& base, const std::string& cell) {
  std::vector<std::string> lines = SplitLines(base);
  for (std::string& line : SplitLines(cell)) lines.push_back(std::move(line));
  // The rule's own leading line break shows as an empty line before it.
  lines.push_back("\r\n" + BodyBackgroundRule(s, backgroundAddress));

  // The rewrite expects one declaration per line: a line that sets a colour other than a
  // background colour becomes the chosen text colour, whatever else it held.
  std::string textColour = s.TextColour.get();
  if (textColour != "#000000") {
    for (std::string& line : lines)
      if (line.find("color") != std::string::npos &&
          line.find("background-color") == std::string::npos)
        line = "color: " + textColour + ";";
  }
  return JoinLinesCrLf(lines);
}

}  // namespace

void WriteStyleSheet(const TRunState& run, const std::string& outputFolder) {
  const GallerySettings& s = run.settings;
  // Modern pages have a style sheet of their own and no table cells for a cell style.
  const bool modern = run.tail.PageStyle == TPageStyle::Modern;
  std::string base = ReadSource(FindFileIgnoringCase(run.dataFolder + (modern ? kModernStyleSource : "pictalon.css")));
  std::string cell = modern ? std::string() : ReadSource(FindCellStyleSheet(s.CellStyleSheet.get()));
  std::string path = outputFolder + "pictalon.css";
  if (!WriteFileIfChanged(path, StyleSheetText(s, GraphicAddress(run, kBackgroundGraphic), base, cell))) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot create file %1"), path));
}

std::string PictCssTag() {
  return "<link href=\"pictalon.css\" type=\"text/css\" rel=\"stylesheet\">";
}

std::string ScriptTag(TRunState& run) {
  if (!run.settings.DisableRightClick.get()) return std::string();
  return run.script.Get([&run] {
    std::string path = FindFileIgnoringCase(run.dataFolder + "norgtclk.js");
    std::string bytes;
    if (FileExists(path) && !ReadWholeFile(path, bytes)) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot open file %1"), path));
    return bytes;
  });
}

}  // namespace pictalon
