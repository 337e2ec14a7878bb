#pragma once
// The gallery file: one GallerySettings record, nothing before or after it.
#include <functional>
#include <string>

#include "TypeDef.h"

namespace pictalon {

// The user data folder (program folder + "Data/User/", or the user's own folder in the installed
// layout, see GetUserDataFolderPath), created with its parents when missing (a failure to create
// it surfaces when a file in it is opened).
std::string GetUserDataFolder();

// Settles the name of a new gallery file when the writer is given no path: returns the full
// path chosen (the desktop program asks the user in a save dialog), or empty text to write nothing.
using GalleryNameProvider = std::function<std::string(const std::string& userDataFolder)>;
void SetGalleryNameProvider(GalleryNameProvider provider);

// Stores the record atomically at path. An empty path asks the name provider; a name without the
// ".pgs" extension gets it. On success writtenPath receives the path written; on failure (or when
// no name was given) the result is false and writtenPath is untouched.
bool WriteGalleryFile(const std::string& path, GallerySettings settings, std::string& writtenPath);

// Reads up to the record's size from the start of the file into settings; a shorter file fills
// only the leading bytes, longer files are cut. False when the file is missing or unreadable.
bool ReadGalleryFile(const std::string& path, GallerySettings& settings);

}  // namespace pictalon
