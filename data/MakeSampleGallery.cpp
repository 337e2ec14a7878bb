// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// make-sample-gallery PROGRAM_FOLDER: writes the sample gallery into the program folder's user
// data folder, "Data/User/Sample.pgs" with its image details file "Sample.dat", so a fresh build
// has a gallery that shows off the pages at once. An installed program writes the same gallery
// into each user's own folder at first start instead.
#include <cstdio>
#include <string>

#include "Platform.h"
#include "SampleGallery.h"

int main(int argc, char** argv) {
  using namespace pictalon;
  if (argc != 2 || argv[1][0] == '\0') {
    std::fputs("Usage: make-sample-gallery PROGRAM_FOLDER\n", stderr);
    return 2;
  }
  const std::string programFolder = IncludeTrailingPathDelim(argv[1]);
  // The pages go to the program folder's "Output/", one level below the guide.
  TSamplePlace place{programFolder, programFolder + "Data/User/", programFolder + "Output/",
                     "../Guide/index.html"};
  std::string error;
  if (WriteSampleGallery(place, error)) return 0;
  std::fprintf(stderr, "make-sample-gallery: %s\n", error.c_str());
  return 1;
}
