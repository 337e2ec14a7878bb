// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the program meets the operating system: its own folder, files, folder listings, atomic
// writes and opening documents. Everything that differs between platforms lives here.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct stat;

namespace pictalon {

constexpr char kPathDelim = '/';

// The running process's executable, symlinks resolved (any length); empty when unknown.
std::string GetProgramFilePath();
// The folder of the running process's executable, symlinks resolved, ending with '/'.
// Inside the engine library this is the host program's folder.
std::string GetProgramFolder();
// Tests point the program folder elsewhere; an empty text restores the real one.
void OverrideProgramFolder(const std::string& folder);

// Where the user's own files live. Portable: everything beside the program, as in a build
// folder or an unpacked copy. Installed: the program folder is shared and read-only, so each
// user's galleries, output and working files live in $XDG_DATA_HOME/pictalon/.
enum class TLayout { Portable, Installed };

// A file of this name in the program folder marks an installed copy (the install rules put it
// there). Without it a program folder the user cannot write to is taken as installed too.
constexpr const char* kInstalledLayoutMarker = "installed-layout";

// The layout of the program folder, decided once (and again after OverrideProgramFolder):
// installed when the marker is there or the folder is not writable (for root: when it has no
// write permission bit at all, since root may write anywhere), else portable.
TLayout GetLayout();
// Tests fix the layout; std::nullopt returns to deciding it from the program folder.
void OverrideLayout(std::optional<TLayout> layout);

// The folder that holds what the program writes for this user (the default output folder and
// the image list file), ending with '/': the program folder when portable, else
// $XDG_DATA_HOME/pictalon/ ($HOME/.local/share/pictalon/ when that is unset). Not created here.
std::string GetUserFilesFolder();
// The folder of the user's gallery files, ending with '/': program folder + "Data/User/" when
// portable, else the user files folder + "User/". Not created here.
std::string GetUserDataFolderPath();

std::string IncludeTrailingPathDelim(const std::string& path);
std::string ExtractFileName(const std::string& path);  // what follows the last '/'
std::string ExtractFilePath(const std::string& path);  // up to and including the last '/'
// Replaces everything from the last '.' of the file name on; a name without '.' gets ext appended.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

bool FileExists(const std::string& path);       // a file (not a folder) exists
bool DirectoryExists(const std::string& path);
// Creates the folder with all missing parents; true when it exists afterwards.
bool ForceDirectories(const std::string& path);

// Names (no folder) of the files in folder whose names end with ext in any letter case,
// skipping folders and names beginning with '.', sorted without regard to letter case.
std::vector<std::string> ListFilesWithExtension(const std::string& folder, std::string_view ext);
// Sorts names without regard to (ASCII) letter case.
void SortIgnoringCase(std::vector<std::string>& names);

// path itself when it exists; otherwise the one entry of its folder whose name equals the
// file name ignoring letter case; otherwise path unchanged.
std::string FindFileIgnoringCase(const std::string& path);

// Opens a regular file for reading (never blocking on a FIFO or reading a device); -1 otherwise.
// With info, also gives the file's status.
int OpenRegularFile(const std::string& path, struct ::stat* info = nullptr);

// Reads a whole regular file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes bytes to a temporary file in the same folder, then renames it over path, so a failure
// never damages the file that was there and leaves no temporary file behind. When path is a
// symbolic link, the file it names is replaced, in that file's folder, and the link stays. The
// temporary name is short, so any name the file system allows can be written. With durable set
// the data reach the disk before the rename (for the user's own files).
// On failure returns false and, when error is given, sets a reason.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, bool durable = false,
                     std::string* error = nullptr);

// As WriteFileAtomic, but a symbolic link at path is itself replaced by the new file: a copy in
// the output folder never writes through a link to the file the link names (an original photo).
bool ReplaceFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Removes the temporary files of the atomic writes under way in this process (the engine's
// included). Safe in a signal handler: a run ended by a signal calls it so that no hidden
// partial file stays behind.
void RemoveTemporaryFiles();

// As WriteFileAtomic, but leaves a file that already holds exactly these bytes untouched: a
// regenerated page that did not change is not rewritten (no new inode, the old timestamp kept).
bool WriteFileIfChanged(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Test seam for the atomic writer: called before each block is written with the target path and
// the offset of the block; returning false makes that write fail as a full disk would.
using WriteFaultHook = std::function<bool(const std::string& path, std::size_t offset)>;
void SetWriteFaultHook(WriteFaultHook hook);

// Asks the desktop to open path with its associated program (a browser for pages).
// False when no opener could be started. Without wait the opener runs on by itself; with wait,
// waits until it ends and gives whether it succeeded.
bool OpenDocument(const std::string& path, bool wait);
// Tests replace the opener so that no test starts a browser; an empty function restores it.
using DocumentOpener = std::function<bool(const std::string& path, bool wait)>;
void SetDocumentOpener(DocumentOpener opener);

}  // namespace pictalon
