// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Any file with a ".jpg" name ends up in a gallery, so the JPEG size reader meets every kind of
// damaged or foreign file. It must give a plausible size or -1 for both, never leave its shared
// decompressor in a state that spoils the next file, and never end the process.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "Helpers.h"

namespace {

// A minimal baseline JPEG header of 3 x 2 pixels: SOI, SOF0 with one component, SOS.
const unsigned char kKnownGood[] = {
    0xFF, 0xD8,                                                        // SOI
    0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x02, 0x00, 0x03, 0x01, 0x01, 0x11, 0x00,  // SOF0
    0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00,        // SOS
    0xFF, 0xD9,                                                        // EOI
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictalon;
  static fuzz::ScratchFile scratch("image.jpg");
  static fuzz::ScratchFile known("known.jpg");
  static const std::string& knownPath = known.Write(kKnownGood, sizeof kKnownGood);

  std::int32_t height = 0, width = 0;
  GetJpegSize(scratch.Write(data, size), height, width);
  FUZZ_CHECK((height == -1) == (width == -1));
  if (height != -1) FUZZ_CHECK(height >= 1 && height <= 65535 && width >= 1 && width <= 65535);

  // The same file gives the same answer, and a good file read next is not spoiled by this one.
  std::int32_t h2 = 0, w2 = 0;
  GetJpegSize(scratch.path(), h2, w2);
  FUZZ_CHECK(h2 == height && w2 == width);
  GetJpegSize(knownPath, h2, w2);
  FUZZ_CHECK(h2 == 2 && w2 == 3);
  return 0;
}
