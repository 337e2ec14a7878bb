// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Helpers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "Error.h"
#include "Platform.h"
#include "TextUtil.h"
#include "WorkingFiles.h"

namespace pictalon {

std::string GetDataFolder() { return GetProgramFolder() + "Data/"; }

std::string GetTemplatesFolder() { return GetProgramFolder() + "Templates/"; }

std::string GetUserTemplatesFolder() {
  return GetLayout() == TLayout::Portable ? GetTemplatesFolder() : GetUserFilesFolder() + "Templates/";
}

std::string GetUserCellStylesFolder() {
  return GetLayout() == TLayout::Portable ? GetDataFolder() : GetUserFilesFolder() + "Data/";
}

std::string FindUserFirst(const std::string& userFolder, const std::string& shippedFolder,
                          const std::string& name) {
  std::string own = FindFileIgnoringCase(userFolder + name);
  return FileExists(own) ? own : FindFileIgnoringCase(shippedFolder + name);
}

std::string FindTemplateFile(const std::string& name) {
  return FindUserFirst(GetUserTemplatesFolder(), GetTemplatesFolder(), name);
}

std::string GetDefaultOutputFolder() { return GetUserFilesFolder() + "Output/"; }

std::string GetOutputFolder(const GallerySettings& settings) {
  std::string folder = settings.OutputFolder.get();
  if (IsBlank(folder)) return GetDefaultOutputFolder();
  return IncludeTrailingPathDelim(folder);
}

void ApplyDefaultSettings(GallerySettings& settings) {
  ApplyDefaultSettings(settings, GetProgramFolder());
  settings.OutputFolder.set(GetDefaultOutputFolder());
}

void ListJpegFiles(const std::string& folder, std::vector<std::string>& list) {
  std::string base = IncludeTrailingPathDelim(folder);
  for (const std::string& name : ListFilesWithExtension(base, ".jpg")) {
    if (FitsImageList(name)) list.push_back(base + name);
  }
}

void FillImageListFromFolder(const std::string& folder, std::vector<std::string>& list) {
  list.clear();
  if (DirectoryExists(folder)) ListJpegFiles(folder, list);
}

void ListTemplates(std::vector<std::string>& list) {
  std::vector<std::string> names = ListFilesWithExtension(GetUserTemplatesFolder(), ".html");
  if (GetUserTemplatesFolder() != GetTemplatesFolder()) {
    for (std::string& shipped : ListFilesWithExtension(GetTemplatesFolder(), ".html")) {
      bool own = std::any_of(names.begin(), names.end(),
                             [&](const std::string& name) { return SameTextIgnoringCase(name, shipped); });
      if (!own) names.push_back(std::move(shipped));
    }
    SortIgnoringCase(names);
  }
  names.erase(std::remove_if(names.begin(), names.end(),
                             [](const std::string& name) { return SameTextIgnoringCase(name, kModernTemplateName); }),
              names.end());
  list.insert(list.end(), names.begin(), names.end());
}

std::string ColourToHtml(TColor colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return text;
}

static int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

TColor HtmlToColour(const std::string& text) {
  if (text.size() != 7 || text[0] != '#') return kNoColour;
  TColor colour = 0;
  for (int i = 0; i < 3; ++i) {
    int high = HexDigit(text[1 + 2 * i]), low = HexDigit(text[2 + 2 * i]);
    if (high < 0 || low < 0) throw Error(TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "'%1' is not a valid colour value"), text));
    colour |= static_cast<TColor>(high * 16 + low) << (8 * i);
  }
  return colour;
}

TColor ComplementColour(TColor colour) { return ~colour & 0xFFFFFF; }

namespace {

// Reads source whole and hands it to write; false (with the reason, naming the file) when the
// source is empty or unreadable or the write fails.
template <typename Write>
bool CopyThrough(const std::string& source, const std::string& destination, TMessage& reason, Write write) {
  std::string bytes, writeError;
  if (!ReadWholeFile(source, bytes)) {
    reason = TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot read %1: %2"), source, std::strerror(errno));
  } else if (bytes.empty()) {
    reason = TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "%1 is empty"), source);
  } else if (!write(destination, bytes, writeError)) {
    reason = TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot write %1: %2"), destination, writeError);
  } else {
    return true;
  }
  return false;
}

}  // namespace

bool CopyOrMoveFile(const std::string& source, const std::string& destination, bool deleteSource,
                    TMessage* error) {
  TMessage reason;
  const auto write = [](const std::string& path, const std::string& bytes, std::string& why) {
    return WriteFileAtomic(path, bytes, false, &why);
  };
  bool ok = CopyThrough(source, destination, reason, write);
  if (ok && deleteSource && ::unlink(source.c_str()) != 0) {
    reason = TMessage(PICTALON_TRANSLATABLE("pictalon::TMessage", "Cannot delete %1: %2"), source, std::strerror(errno));
    ok = false;
  }
  if (!ok && error) *error = reason;
  return ok;
}

bool IsOwnSource(const std::string& source, const std::string& destination) {
  struct ::stat link, to, from;
  if (::lstat(destination.c_str(), &link) != 0 || S_ISLNK(link.st_mode)) return false;
  return ::stat(destination.c_str(), &to) == 0 && ::stat(source.c_str(), &from) == 0 &&
         to.st_dev == from.st_dev && to.st_ino == from.st_ino;
}

bool CopyIntoOutput(const std::string& source, const std::string& destination, TMessage* error) {
  if (IsOwnSource(source, destination)) return true;
  TMessage reason;
  const auto write = [](const std::string& path, const std::string& bytes, std::string& why) {
    return ReplaceFileAtomic(path, bytes, &why);
  };
  if (CopyThrough(source, destination, reason, write)) return true;
  if (error) *error = reason;
  return false;
}

std::array<std::string, 3> GraphicCopyNames(const GallerySettings& s,
                                            const std::vector<std::string>& images) {
  std::unordered_map<std::string, std::string> taken;  // name in "gallimgs/" -> its source
  for (const std::string& image : images) taken.emplace(ExtractFileName(image), image);
  std::array<std::string, 3> names;
  const StringSlot* graphics[] = {&s.LogoGraphic, &s.TitleGraphic, &s.BackgroundImage};
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string source = std::string(TrimBlanks(graphics[i]->get()));
    if (source.empty()) continue;
    std::string own = ExtractFileName(source);
    std::string name = own;
    for (int n = 1;; ++n) {
      auto found = taken.find(name);
      if (found == taken.end() || found->second == source) break;
      name = "graphic" + std::to_string(n) + "-" + own;
    }
    taken.emplace(name, source);
    names[i] = name;
  }
  return names;
}

std::string AddTrailingSlash(const std::string& address) {
  if (!address.empty() && address.back() == '/') return address;
  return address + '/';
}

}  // namespace pictalon
