// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small routines both deliverables share: fixed folders, listings, colours, copies, JPEG size.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Message.h"
#include "TypeDef.h"

namespace pictalon {

// Colour value: red in bits 0-7, green 8-15, blue 16-23.
using TColor = std::uint32_t;
constexpr TColor kNoColour = 0x1FFFFFFF;  // what HtmlToColour gives for text of the wrong form

std::string GetDataFolder();       // program folder + "Data/": the shipped data
std::string GetTemplatesFolder();  // program folder + "Templates/": the shipped templates
// Where this user's own templates and cell style sheets live, ending with '/': the user files
// folder + "Templates/" and + "Data/" in the installed layout, whose program folder is shared,
// read-only and replaced by upgrades; the program's own folders when portable. Not created here.
std::string GetUserTemplatesFolder();
std::string GetUserCellStylesFolder();
// The file called name (letter case ignored) in the user's folder when it is there, else in
// the shipped folder; the shipped folder + name when neither has it.
std::string FindUserFirst(const std::string& userFolder, const std::string& shippedFolder,
                          const std::string& name);
// The page template called name: the user's own first, then the shipped one.
std::string FindTemplateFile(const std::string& name);
// Where pages go when a gallery names no output folder: the user files folder + "Output/"
// (program folder + "Output/" in the portable layout).
std::string GetDefaultOutputFolder();
// The folder that receives the pages, ending with '/': OutputFolder as stored, or the default
// output folder when it is blank.
std::string GetOutputFolder(const GallerySettings& settings);
// The settings of a new gallery for this program's folders: ApplyDefaultSettings with the data
// folder's cell style and the default output folder.
void ApplyDefaultSettings(GallerySettings& settings);

// Appends folder + name for every "*.jpg" file of folder (any letter case; folders and names
// beginning with '.' skipped), in listing order. The list is not cleared.
void ListJpegFiles(const std::string& folder, std::vector<std::string>& list);
// Clears list, then lists the JPEG files of folder when it exists.
void FillImageListFromFolder(const std::string& folder, std::vector<std::string>& list);
// The template of Modern pages: always this one, so it is no choice of the Template list.
constexpr const char* kModernTemplateName = "Modern.html";
// Appends the bare names of the "*.html" files of the user's and the shipped templates folders,
// sorted without regard to case; a name in both (letter case ignored) is listed once, as the
// user's file spells it. The Modern template is left out.
void ListTemplates(std::vector<std::string>& list);

// "#RRGGBB" in upper case; the top byte is ignored.
std::string ColourToHtml(TColor colour);
// kNoColour unless text is 7 bytes beginning with '#'; throws Error when a pair is not hexadecimal.
TColor HtmlToColour(const std::string& text);
TColor ComplementColour(TColor colour);

// Reads the whole source and writes it to destination (replacing it atomically). False for an
// empty or unreadable source or a failed write; with deleteSource, then whether the delete worked.
// On failure error, when given, names the file and the reason.
bool CopyOrMoveFile(const std::string& source, const std::string& destination, bool deleteSource,
                    TMessage* error = nullptr);

// Whether destination is source itself (the same file by device and inode, through any link in
// either path), so that a copy written there would replace the original. A symbolic link at
// destination is not: a copy replaces the link and leaves the file it names alone.
bool IsOwnSource(const std::string& source, const std::string& destination);

// A copy for the output folder: as CopyOrMoveFile, but a symbolic link at destination is replaced
// by the copy, never written through, and nothing is written when destination is the source
// itself (true: the picture is there already).
bool CopyIntoOutput(const std::string& source, const std::string& destination, TMessage* error = nullptr);

// The pixel size of a JPEG file as it is shown, turned upright by its Exif orientation; both -1
// when it cannot be opened or read as a JPEG.
void GetJpegSize(const std::string& path, std::int32_t& height, std::int32_t& width);

// The names the logo, title and background graphics (in that order) take in the output folder's
// "gallimgs/" when the images are copied there: each graphic's own file name, unless a listed
// image or an earlier graphic takes that name for another file; then "graphic" + n + "-" + the
// name, with the smallest n that is free. Empty for a graphic that is not set.
std::array<std::string, 3> GraphicCopyNames(const GallerySettings& settings,
                                            const std::vector<std::string>& images);

// address with '/' appended unless it already ends with one.
std::string AddTrailingSlash(const std::string& address);

}  // namespace pictalon
