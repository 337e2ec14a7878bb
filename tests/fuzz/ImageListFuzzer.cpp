// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The image list file is the engine's only list of pictures: whatever bytes it holds, every
// entry must be one line, and writing the entries out again must give back the same list.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "TextUtil.h"
#include "WorkingFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictalon;
  static fuzz::ScratchFile scratch("imgList.dat");
  std::vector<std::string> entries{"left over from the caller"};
  FUZZ_CHECK(ReadImageListFile(scratch.Write(data, size), entries));

  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(entries == SplitLines(bytes));
  for (const std::string& entry : entries)
    FUZZ_CHECK(entry.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);

  const std::string joined = JoinLinesCrLf(entries);
  FUZZ_CHECK(SplitLines(joined) == entries);

  // The same through the real writer and reader.
  static fuzz::ScratchFile written("imgList-written.dat");
  FUZZ_CHECK(WriteImageListFile(written.path(), entries));
  std::vector<std::string> again;
  FUZZ_CHECK(ReadImageListFile(written.path(), again));
  FUZZ_CHECK(again == entries);
  return 0;
}
