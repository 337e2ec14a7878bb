// Templates are the user's own files, edited in the program or elsewhere: the page builder must
// take any bytes, fail only with an Error (a line too long for its window), give the same page
// however the reads are cut, and copy text without tags unchanged.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "CopyPrsr.h"
#include "Error.h"
#include "FuzzSupport.h"
#include "PageBuild.h"

namespace pictalon {
namespace {

// Hands the bytes out in reads of at most `chunk` bytes, as a pipe or a network file may.
class ChunkedSource : public TByteSource {
public:
  ChunkedSource(std::string_view bytes, std::size_t chunk) : rest_(bytes), chunk_(chunk) {}
  std::size_t Read(char* buffer, std::size_t count) override {
    std::size_t n = std::min({count, chunk_, rest_.size()});
    std::memcpy(buffer, rest_.data(), n);
    rest_.remove_prefix(n);
    return n;
  }

private:
  std::string_view rest_;
  std::size_t chunk_;
};

struct Outcome {
  bool failed = false;
  std::string page;
  std::string tags;  // the names the handler saw, each followed by a zero byte
};

// Long, empty, tag-like and echoing replacements, chosen by the name. Only the first few tags
// get the long one, so a template full of tags cannot exhaust memory.
Outcome Build(TByteSource& source) {
  Outcome outcome;
  int longOnes = 0;
  TPageBuilder builder;
  builder.OnTag = [&](TPageBuilder& sender, const std::string& name, std::string& replacement) {
    FUZZ_CHECK(&sender == &builder);
    FUZZ_CHECK(replacement.empty());
    outcome.tags += name;
    outcome.tags += '\0';
    // "<#" at the very end gives a tag without a name.
    switch (name.empty() ? 1 : static_cast<unsigned char>(name[0]) % 4) {
      case 0:
        if (longOnes++ < 4) replacement.assign(64 * 1024, 'R');
        break;
      case 1: break;
      case 2: replacement = "<#" + name + ">"; break;
      default: replacement = name; break;
    }
  };
  try {
    builder.Process(source, outcome.page);
  } catch (const Error& e) {
    FUZZ_CHECK(std::strcmp(e.what(), "Line too long") == 0);
    outcome.failed = true;
    outcome.page.clear();
  }
  return outcome;
}

}  // namespace
}  // namespace pictalon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictalon;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  TMemorySource whole(bytes);
  const Outcome outcome = Build(whole);

  // Short reads only change how the window is filled, never the page.
  const std::size_t chunk = size == 0 ? 1 : 1 + data[0] % 61;
  ChunkedSource pieces(bytes, chunk);
  const Outcome again = Build(pieces);
  FUZZ_CHECK(again.failed == outcome.failed);
  FUZZ_CHECK(again.page == outcome.page);
  FUZZ_CHECK(again.tags == outcome.tags);

  // Without a '<' nothing is a tag: the page is the template up to its first zero byte.
  if (!outcome.failed && bytes.find('<') == std::string_view::npos) {
    FUZZ_CHECK(outcome.tags.empty());
    FUZZ_CHECK(outcome.page == bytes.substr(0, std::min(bytes.find('\0'), bytes.size())));
  }
  return 0;
}
