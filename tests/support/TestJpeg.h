#pragma once
// JPEGs made on the spot for tests and benchmarks, so that no picture file needs to be shipped.
#include <string>

namespace pictalon::test {

// A small JPEG made with libjpeg's compressor (a colour gradient, quality 85).
std::string MakeJpeg(int width, int height, bool progressive = false, int components = 3);

}  // namespace pictalon::test
