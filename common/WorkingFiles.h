#pragma once
// The small files that carry data between the desktop program and the engine: the image list
// file, the image details file and the cell style index.
#include <string>
#include <vector>

namespace pictalon {

constexpr const char* kImageListFileName = "~imgList.dat";

// Program folder + "~imgList.dat".
std::string ImageListFilePath();

// One entry per line, each line ended by CR LF, written atomically; false when it cannot be written.
bool WriteImageListFile(const std::string& path, const std::vector<std::string>& images);
// False when the file cannot be opened or read; otherwise its lines, taken unchanged.
bool ReadImageListFile(const std::string& path, std::vector<std::string>& images);

// The image details file the engine reads: beside the gallery file, extension ".dat".
std::string ImageDetailsPathBeside(const std::string& galleryPath);
// The image details file the desktop program keeps: user data folder + gallery name with ".dat".
std::string ImageDetailsPathInUserData(const std::string& galleryPath);

// Cell style index (data folder + "cssIndex.dat").
std::string CellStyleIndexPath();
// Display names of the cell styles (keys of section "index", in file order).
std::vector<std::string> CellStyleNames();
// Value of key fileName in section "xedni"; empty for an empty name or a missing key.
std::string CellStyleNameOfFile(const std::string& fileName);
// Data folder + value of key styleName in section "index"; the data folder alone when missing.
std::string CellStyleFileOfName(const std::string& styleName);
// Data folder + "Cell" + position + ".jpg" for the style at position (counting from 1).
std::string CellPreviewPath(int position);

}  // namespace pictalon
