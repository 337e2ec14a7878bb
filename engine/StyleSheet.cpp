#include "StyleSheet.h"

#include "Error.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

namespace {

void AppendLinesOf(const std::string& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) throw Error("Cannot open file " + path);
  for (std::string& line : SplitLines(bytes)) lines.push_back(std::move(line));
}

std::string BodyBackgroundRule(const GallerySettings& s) {
  if (!s.BackgroundImage.empty()) return "body {background: #ffffff url(" + s.BackgroundImage.get() + ");}";
  if (!s.BackgroundColour.empty()) return "body {background: " + s.BackgroundColour.get() + "}";
  return "body {background: #ffffff;}";
}

}  // namespace

std::vector<std::string> StyleSheetLines(const TRunState& run) {
  const GallerySettings& s = run.settings;
  std::vector<std::string> lines;
  AppendLinesOf(FindFileIgnoringCase(run.dataFolder + "pictalon.css"), lines);
  AppendLinesOf(s.CellStyleSheet.get(), lines);
  // The rule's own leading line break shows as an empty line before it.
  lines.push_back("\r\n" + BodyBackgroundRule(s));

  // The rewrite expects one declaration per line: a line that sets a colour other than a
  // background colour becomes the chosen text colour, whatever else it held.
  std::string textColour = s.TextColour.get();
  if (textColour != "#000000") {
    for (std::string& line : lines)
      if (line.find("color") != std::string::npos &&
          line.find("background-color") == std::string::npos)
        line = "color: " + textColour + ";";
  }
  return lines;
}

void WriteStyleSheet(const TRunState& run, const std::string& outputFolder) {
  std::string path = outputFolder + "pictalon.css";
  if (!WriteFileAtomic(path, JoinLinesCrLf(StyleSheetLines(run))))
    throw Error("Cannot create file " + path);
}

std::string PictCssTag() {
  return "<link href=\"pictalon.css\" type=\"text/css\" rel=\"stylesheet\">";
}

std::string ScriptTag(const TRunState& run) {
  if (!run.settings.DisableRightClick.get()) return std::string();
  std::string path = FindFileIgnoringCase(run.dataFolder + "norgtclk.js");
  if (!FileExists(path)) return std::string();
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) throw Error("Cannot open file " + path);
  return bytes;
}

}  // namespace pictalon
