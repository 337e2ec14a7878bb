// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Templates are the user's own files, edited in the program or elsewhere: the page builder must
// take any bytes, fail only with an Error (a line too long for its window), give the same page
// however the reads are cut and whether text is copied in runs or token by token, and copy text
// without tags unchanged.
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

// Long, empty, tag-like and echoing replacements, chosen by the name. Only the first two tags
// of a page get the long one, so a template full of tags stays fast.
void Replace(const std::string& name, std::string& replacement, int& longOnes) {
  // "<#" at the very end gives a tag without a name.
  switch (name.empty() ? 1 : static_cast<unsigned char>(name[0]) % 4) {
    case 0:
      if (longOnes++ < 2) replacement.assign(64 * 1024, 'R');
      break;
    case 1: break;
    case 2: replacement = "<#" + name + ">"; break;
    default: replacement = name; break;
  }
}

// The outcome is reused from run to run, its buffers keeping their size: growing fresh ones
// for every input costs more than all the rest.
void Start(Outcome& outcome) {
  outcome.failed = false;
  outcome.page.clear();
  outcome.tags.clear();
}

void Fail(const Error& e, Outcome& outcome) {
  FUZZ_CHECK(std::strcmp(e.what(), "a line is longer than 4093 bytes") == 0);
  outcome.failed = true;
  outcome.page.clear();
}

void Build(TByteSource& source, Outcome& outcome) {
  Start(outcome);
  int longOnes = 0;
  TPageBuilder builder;
  builder.OnTag = [&](TPageBuilder& sender, const std::string& name, std::string& replacement) {
    FUZZ_CHECK(&sender == &builder);
    FUZZ_CHECK(replacement.empty());
    outcome.tags += name;
    outcome.tags += '\0';
    Replace(name, replacement, longOnes);
  };
  try {
    builder.Process(source, outcome.page);
  } catch (const Error& e) {
    Fail(e, outcome);
  }
}

// The page builder's steps done token by token, as they are described, without the run copying
// that the builder uses between tags.
void BuildByTokens(TByteSource& source, Outcome& outcome) {
  Start(outcome);
  int longOnes = 0;
  try {
    TCopyParser parser(source, outcome.page);
    parser.NextToken(true);
    for (;;) {
      while (parser.Token() != TTokenKind::EndOfInput && !parser.TokenIs('<')) {
        parser.CopyTokenToOutput();
        parser.NextToken(true);
      }
      if (parser.Token() == TTokenKind::EndOfInput) return;
      parser.NextToken(false);
      if (parser.TokenIs('#')) {
        parser.NextToken(false);
        const std::string name = parser.TokenText();
        parser.SkipPast('>');
        outcome.tags += name;
        outcome.tags += '\0';
        std::string replacement;
        Replace(name, replacement, longOnes);
        outcome.page += replacement;
      } else {
        outcome.page += '<';
        parser.CopyTokenToOutput();
      }
      parser.NextToken(true);
    }
  } catch (const Error& e) {
    Fail(e, outcome);
  }
}

}  // namespace
}  // namespace pictalon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictalon;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  static Outcome outcome, again, byTokens;
  TMemorySource whole(bytes);
  Build(whole, outcome);

  // Short reads only change how the window is filled, never the page.
  const std::size_t chunk = size == 0 ? 1 : 1 + data[0] % 61;
  ChunkedSource pieces(bytes, chunk);
  Build(pieces, again);
  FUZZ_CHECK(again.failed == outcome.failed);
  FUZZ_CHECK(again.page == outcome.page);
  FUZZ_CHECK(again.tags == outcome.tags);

  // Copying runs between tags gives what copying token by token gives.
  TMemorySource once_more(bytes);
  BuildByTokens(once_more, byTokens);
  FUZZ_CHECK(byTokens.failed == outcome.failed);
  FUZZ_CHECK(byTokens.page == outcome.page);
  FUZZ_CHECK(byTokens.tags == outcome.tags);

  // Without a '<' nothing is a tag: the page is the template up to its first zero byte.
  if (!outcome.failed && bytes.find('<') == std::string_view::npos) {
    FUZZ_CHECK(outcome.tags.empty());
    FUZZ_CHECK(outcome.page == bytes.substr(0, std::min(bytes.find('\0'), bytes.size())));
  }
  return 0;
}
