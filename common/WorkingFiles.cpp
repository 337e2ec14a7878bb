#include "WorkingFiles.h"

#include "GalleryFile.h"
#include "Helpers.h"
#include "IniDocument.h"
#include "Platform.h"
#include "TextUtil.h"

namespace pictalon {

std::string ImageListFilePath() { return GetProgramFolder() + kImageListFileName; }

bool WriteImageListFile(const std::string& path, const std::vector<std::string>& images) {
  return WriteFileAtomic(path, JoinLinesCrLf(images));
}

bool ReadImageListFile(const std::string& path, std::vector<std::string>& images) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  images = SplitLines(bytes);
  return true;
}

std::string ImageDetailsPathBeside(const std::string& galleryPath) {
  return ChangeFileExt(galleryPath, ".dat");
}

std::string ImageDetailsPathInUserData(const std::string& galleryPath) {
  return GetUserDataFolder() + ExtractFileName(ChangeFileExt(galleryPath, ".dat"));
}

std::string CellStyleIndexPath() { return GetDataFolder() + "cssIndex.dat"; }

std::vector<std::string> CellStyleNames() {
  return TIniDocument(CellStyleIndexPath()).KeyNames("index");
}

std::string CellStyleNameOfFile(const std::string& fileName) {
  if (fileName.empty()) return std::string();
  return TIniDocument(CellStyleIndexPath()).ReadString("xedni", fileName, "");
}

std::string CellStyleFileOfName(const std::string& styleName) {
  return GetDataFolder() + TIniDocument(CellStyleIndexPath()).ReadString("index", styleName, "");
}

std::string CellPreviewPath(int position) {
  return GetDataFolder() + "Cell" + std::to_string(position) + ".jpg";
}

}  // namespace pictalon
