#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <vector>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include "Platform.h"

namespace fs = std::filesystem;

namespace pictalon::test {

TempDir::TempDir() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path p = fs::temp_directory_path() / ("pictalon-test-" + std::to_string(rd()));
    if (fs::create_directory(p)) {
      path_ = p.string() + "/";
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& relative) const {
  std::string full = path_ + relative;
  fs::create_directories(fs::path(full).parent_path());
  return full;
}

std::string TempDir::write(const std::string& relative, std::string_view bytes) const {
  std::string full = file(relative);
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return full;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string MakeJpeg(int width, int height, bool progressive, int components) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 85, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
  while (cinfo.next_scanline < cinfo.image_height) {
    for (std::size_t i = 0; i < row.size(); ++i)
      row[i] = static_cast<unsigned char>((i * 7 + cinfo.next_scanline * 3) & 0xFF);
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string jpeg(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return jpeg;
}

ProgramFolderOverride::ProgramFolderOverride(const std::string& folder) {
  OverrideProgramFolder(folder);
}

ProgramFolderOverride::~ProgramFolderOverride() { OverrideProgramFolder(""); }

}  // namespace pictalon::test
