// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "CopyPrsr.h"
#include "Error.h"
#include "PageBuild.h"
#include "TestSupport.h"

namespace pictalon {
namespace {

using test::TempDir;

// Hands the bytes out in pieces of at most `chunk` bytes, as a pipe or a network file may.
class ChunkedSource : public TByteSource {
public:
  ChunkedSource(std::string_view bytes, std::size_t chunk) : rest_(bytes), chunk_(chunk) {}
  std::size_t Read(char* buffer, std::size_t count) override {
    std::size_t n = std::min({count, chunk_, rest_.size()});
    rest_.copy(buffer, n);
    rest_.remove_prefix(n);
    return n;
  }

private:
  std::string_view rest_;
  std::size_t chunk_;
};

// Serves `good` bytes, then fails like a disk read error.
class FailingSource : public TByteSource {
public:
  FailingSource(std::string_view bytes, std::size_t good) : rest_(bytes), good_(good) {}
  std::size_t Read(char* buffer, std::size_t count) override {
    if (good_ == 0) throw Error("Error reading template");
    std::size_t n = std::min({count, good_, rest_.size()});
    rest_.copy(buffer, n);
    rest_.remove_prefix(n);
    good_ -= n;
    return n;
  }

private:
  std::string_view rest_;
  std::size_t good_;
};

std::string Line(std::size_t length, char fill = 'x') { return std::string(length, fill); }

// ---------------------------------------------------------------- tokenizer

struct Tok {
  TTokenKind kind;
  std::string text;
  bool operator==(const Tok& o) const { return kind == o.kind && text == o.text; }
};

std::ostream& operator<<(std::ostream& os, const Tok& t) {
  const char* kind = t.kind == TTokenKind::Word ? "Word" : t.kind == TTokenKind::Char ? "Char" : "End";
  return os << kind << "(" << testing::PrintToString(t.text) << ")";
}

constexpr TTokenKind W = TTokenKind::Word;
constexpr TTokenKind C = TTokenKind::Char;
constexpr TTokenKind E = TTokenKind::EndOfInput;

// All tokens up to and including the end of input, blanks discarded.
std::vector<Tok> Tokenize(std::string_view input) {
  TMemorySource source(input);
  std::string out;
  TCopyParser parser(source, out);
  std::vector<Tok> tokens;
  do {
    parser.NextToken(false);
    tokens.push_back({parser.Token(), parser.TokenText()});
  } while (parser.Token() != E && tokens.size() <= input.size());
  EXPECT_EQ(out, "") << "discarded blanks reached the output";
  return tokens;
}

TEST(CopyParser, SplitsInputIntoTokenKinds) {
  struct Case {
    std::string input;
    std::vector<Tok> tokens;
  } cases[] = {
      {"", {{E, ""}}},
      {" \t\r\n\x01\x1f", {{E, ""}}},
      {"abc", {{W, "abc"}, {E, ""}}},
      {"_a1 B_2z", {{W, "_a1"}, {W, "B_2z"}, {E, ""}}},
      {"1abc 42", {{C, "1"}, {W, "abc"}, {C, "4"}, {C, "2"}, {E, ""}}},
      {"gallery-x", {{W, "gallery"}, {C, "-"}, {W, "x"}, {E, ""}}},
      {"<#gallery>", {{C, "<"}, {C, "#"}, {W, "gallery"}, {C, ">"}, {E, ""}}},
      {"a\x01" "b\x1f" "c\x7f", {{W, "a"}, {W, "b"}, {W, "c"}, {C, "\x7f"}, {E, ""}}},
      // UTF-8 and other bytes from 128 up are single characters, never part of a word.
      {"caf\xC3\xA9s", {{W, "caf"}, {C, "\xC3"}, {C, "\xA9"}, {W, "s"}, {E, ""}}},
      {"\"'!\xFF", {{C, "\""}, {C, "'"}, {C, "!"}, {C, "\xFF"}, {E, ""}}},
      // A zero byte ends the input for good.
      {std::string("ab\0cd", 5), {{W, "ab"}, {E, ""}}},
      {std::string(" \0 x", 4), {{E, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.input));
    EXPECT_EQ(Tokenize(c.input), c.tokens);
  }
}

TEST(CopyParser, EndOfInputIsSticky) {
  for (std::string input : {std::string(""), std::string("a"), std::string("a\0b", 3)}) {
    SCOPED_TRACE(testing::PrintToString(input));
    TMemorySource source(input);
    std::string out;
    TCopyParser parser(source, out);
    for (int i = 0; i < 4; ++i) parser.NextToken(true);
    EXPECT_EQ(parser.Token(), E);
    EXPECT_EQ(parser.TokenText(), "");
    parser.CopyTokenToOutput();
    parser.SkipPast('>');
    parser.CopyUpTo('<');
    EXPECT_EQ(parser.Token(), E);
    EXPECT_EQ(out, "");
  }
}

TEST(CopyParser, NextTokenCopiesOrDropsBlanksButNeverTheToken) {
  const std::string input = " \t a\r\n\x01 b ";
  for (bool copy : {true, false}) {
    SCOPED_TRACE(copy);
    TMemorySource source(input);
    std::string out;
    TCopyParser parser(source, out);
    parser.NextToken(copy);
    EXPECT_EQ(parser.TokenText(), "a");
    EXPECT_EQ(out, copy ? " \t " : "");
    parser.NextToken(copy);
    EXPECT_EQ(parser.TokenText(), "b");
    EXPECT_EQ(out, copy ? " \t \r\n\x01 " : "");
    parser.CopyTokenToOutput();
    parser.NextToken(copy);
    EXPECT_EQ(parser.Token(), E);
    EXPECT_EQ(out, copy ? " \t \r\n\x01 b " : "b");
  }
}

// What is left of the input after the first token and SkipPast('>').
std::string RestAfterSkip(std::string_view input) {
  TMemorySource source(input);
  std::string out;
  TCopyParser parser(source, out);
  parser.NextToken(false);
  parser.SkipPast('>');
  EXPECT_EQ(out, "") << "skipped text reached the output";
  parser.NextToken(true);
  while (parser.Token() != E) {
    parser.CopyTokenToOutput();
    parser.NextToken(true);
  }
  return out;
}

TEST(CopyParser, SkipPastHonoursQuotes) {
  struct Case {
    const char* input;
    const char* rest;
  } cases[] = {
      {"x a b > rest", " rest"},
      // The token current at the start is not examined.
      {"> a > rest", " rest"},
      {"x>>rest", ">rest"},
      {"x \"a>b\" > rest", " rest"},
      {"x 'a>b' > rest", " rest"},
      // A quote of the other kind inside a quoted stretch neither opens nor closes anything.
      {"x \"it's>\" > rest", " rest"},
      {"x 'say \"hi>' > rest", " rest"},
      {"x \"'\"'>'> rest", " rest"},
      {"x \"\"> rest", " rest"},
      {"x\n\"a\nb>\"\n>\nrest", "\nrest"},
      // Unbalanced quotes run to the end.
      {"x \"a>b", ""},
      {"x 'a>b>c", ""},
      {"x no stop at all", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(RestAfterSkip(c.input), c.rest);
  }
  EXPECT_EQ(RestAfterSkip(std::string("x a\0>rest", 9)), "");
}

// Copies a whole input through the tokenizer, token by token or in runs.
std::string CopyThrough(TByteSource& source, bool inRuns) {
  std::string out;
  TCopyParser parser(source, out);
  parser.NextToken(true);
  while (parser.Token() != E) {
    if (inRuns) {
      parser.CopyUpTo('<');
      if (parser.Token() == E) break;
    }
    parser.CopyTokenToOutput();
    parser.NextToken(true);
  }
  return out;
}

// Lines of 0 to 4093 bytes of every byte but zero and line feed, often long, some with CR LF.
std::string RandomLines(std::mt19937& rng, std::size_t size) {
  static const std::string alphabet =
      "abcXYZ_019  \t\t\r<<<#>\"'-=&;/!\x01\x1f\x7f\x80\xC3\xA9\xFF";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> shape(0, 9);
  std::string text;
  while (text.size() < size) {
    const int s = shape(rng);
    const std::size_t length = s == 0 ? 0 : s <= 3 ? 4093 - (rng() % 8) : rng() % 400;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[pick(rng)];
    text += '\n';
  }
  return text;
}

TEST(CopyParser, CopiesLargeInputsByteForByteAcrossRefills) {
  std::mt19937 rng(20240611);
  TempDir dir;
  for (std::size_t size : {10000u, 30000u, 50000u}) {
    const std::string input = RandomLines(rng, size);
    for (std::size_t chunk : {std::size_t(1), std::size_t(7), std::size_t(4096), input.size()}) {
      for (bool inRuns : {false, true}) {
        SCOPED_TRACE(testing::Message() << "size " << size << " chunk " << chunk << " runs " << inRuns);
        ChunkedSource source(input, chunk);
        EXPECT_TRUE(CopyThrough(source, inRuns) == input);
      }
    }
    TFileSource file(dir.write("lines.txt", input));
    EXPECT_TRUE(CopyThrough(file, true) == input);
  }
}

TEST(CopyParser, CopyUpToStopsAtTheStopCharOrAZeroByte) {
  struct Case {
    std::string input;
    char stop;
    std::string copied;
    Tok token;
  } cases[] = {
      {"ab <c", '<', "ab ", {C, "<"}},
      {"<c", '<', "", {C, "<"}},
      {"ab c\r\n", '<', "ab c\r\n", {E, ""}},
      {std::string("ab\0<c", 5), '<', "ab", {E, ""}},
      {Line(4000, 'a') + "\n" + Line(3000, 'b') + "\n<x", '<',
       Line(4000, 'a') + "\n" + Line(3000, 'b') + "\n", {C, "<"}},
      // A stop byte that can be part of a word only counts as a token of its own.
      {"xa a b", 'a', "xa ", {W, "a"}},
      {"x1 1", '1', "x1 ", {C, "1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.input.substr(0, 40)));
    TMemorySource source(c.input);
    std::string out;
    TCopyParser parser(source, out);
    parser.NextToken(true);
    parser.CopyUpTo(c.stop);
    EXPECT_TRUE(out == c.copied) << out.size() << " bytes copied";
    EXPECT_EQ((Tok{parser.Token(), parser.TokenText()}), c.token);
  }
}

// Whether the tokenizer gets through input, and the message when it does not.
std::string ScanAll(std::string_view input, std::size_t chunk = 4096) {
  ChunkedSource source(input, chunk);
  try {
    std::string out = CopyThrough(source, true);
    return out == input ? "ok" : "copy differs";
  } catch (const Error& e) {
    return e.what();
  }
}

TEST(CopyParser, LongLinesFailOnlyWhenTheyFillTheWindow) {
  const std::string tooLong = "a line is longer than 4093 bytes";
  struct Case {
    const char* what;
    std::string input;
    std::string result;
  } cases[] = {
      {"single line of 4000", Line(4000), "ok"},
      {"single line of 5000", Line(5000), tooLong},
      {"single line of 4095 that does not fill the window", Line(4095), "ok"},
      {"single line of 4096", Line(4096), tooLong},
      {"line of 4094 ends at byte 4095", Line(4094) + "\nmore", "ok"},
      {"line of 4095 puts its line feed at the last byte", Line(4095) + "\nmore", tooLong},
      {"line of 4093 after an empty line", "\n" + Line(4093) + "\nmore", "ok"},
      // A line feed in the first byte does not count, so 4093 is the length always processed.
      {"line of 4094 after an empty line", "\n" + Line(4094) + "\nmore", tooLong},
      {"line of 4095 after short lines, followed by text", "ab\ncd\n" + Line(4095) + "\nx", tooLong},
      {"line of 4095 at the end with fewer than 4096 bytes left", "ab\n" + Line(4095), "ok"},
      {"line of 5000 after 20 KB of short lines", std::string(20000, '\n') + Line(5000), tooLong},
      {"line of 4093 with CR LF", "a\r\n" + Line(4092) + "\r\n" + Line(4092) + "\r\nz", "ok"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ScanAll(c.input), c.result);
    EXPECT_EQ(ScanAll(c.input, 1), c.result) << "with one-byte reads";
  }
}

TEST(CopyParser, LinesOf4093BytesPassAtEveryPosition) {
  // Shift three long lines, one behind an empty line, through every offset of the window.
  const std::string longLines =
      Line(4093, 'a') + "\n" + Line(4093, 'b') + "\n\n" + Line(4093, 'c') + "\nend\n";
  const std::string pattern = "ab\n\n";
  std::string input;
  for (std::size_t offset = 0; offset < 4100; ++offset) {
    std::string filler;
    while (filler.size() < offset) filler += pattern;
    filler.resize(offset);
    input = filler + "\n" + longLines;
    ASSERT_EQ(ScanAll(input), "ok") << "offset " << offset;
  }
}

TEST(CopyParser, ReadFailuresPassToTheCaller) {
  std::mt19937 rng(7);
  const std::string input = RandomLines(rng, 12000);
  for (std::size_t good : {std::size_t(0), std::size_t(100), std::size_t(9000)}) {
    SCOPED_TRACE(good);
    FailingSource source(input, good);
    EXPECT_THROW(CopyThrough(source, true), Error);
  }
}

TEST(FileSource, RefusesWhatIsNotARegularFile) {
  TempDir dir;
  EXPECT_THROW(TFileSource(dir.path() + "missing.html"), Error);
  EXPECT_THROW(TFileSource(dir.path()), Error);
}

// ---------------------------------------------------------------- page builder

// Processes a template file with a handler that writes "{name}" and records the names.
struct BuildResult {
  bool ok;
  std::string page;
  std::vector<std::string> names;
};

BuildResult BuildPage(const TempDir& dir, std::string_view templ) {
  TPageBuilder builder;
  builder.SetTemplateFile(dir.write("page.html", templ));
  BuildResult r{false, "", {}};
  builder.OnTag = [&r](TPageBuilder&, const std::string& name, std::string& replacement) {
    r.names.push_back(name);
    replacement = "{" + name + "}";
  };
  r.ok = builder.GetContent(r.page);
  return r;
}

TEST(PageBuilder, ReplacesTemplateTags) {
  using Names = std::vector<std::string>;
  struct Case {
    const char* what;
    std::string templ;
    std::string page;
    Names names;
  } cases[] = {
      {"no tags", "<html>\r\n<body bgcolor=\"#FFFFFF\">\tHi &amp; <b>bye</b></body>\r\n</html>\r\n",
       "<html>\r\n<body bgcolor=\"#FFFFFF\">\tHi &amp; <b>bye</b></body>\r\n</html>\r\n", {}},
      {"empty template", "", "", {}},
      {"blanks after a plain less-than sign", "a < b; if a <\r\n\tb", "a <b; if a <b", {}},
      {"less-than sign at the end", "x < \r\n", "x <", {}},
      {"closing element with a blank", "<b>< /b>", "<b></b>", {}},
      {"plain tag", "<#gallery>", "{gallery}", {"gallery"}},
      {"blank after <", "< #gallery>", "{gallery}", {"gallery"}},
      {"blanks around the name", "<# gallery >", "{gallery}", {"gallery"}},
      {"line breaks inside", "<\r\n#\tgallery\n>", "{gallery}", {"gallery"}},
      {"capitals passed as written", "<#GALLERY>", "{GALLERY}", {"GALLERY"}},
      {"mixed case with an attribute", "<#GaLLeRy cols=3>", "{GaLLeRy}", {"GaLLeRy"}},
      {"digits belong to the name", "<#gallery2>", "{gallery2}", {"gallery2"}},
      {"underscores belong to the name", "<#gallery_x>", "{gallery_x}", {"gallery_x"}},
      {"a hyphen ends the name", "<#gallery-x>", "{gallery}", {"gallery"}},
      {"name starting with a digit", "<#1abc>", "{1}", {"1"}},
      {"> inside double quotes", "<#gallery alt=\"a>b\">after", "{gallery}after", {"gallery"}},
      {"> inside single quotes", "<#t a='x>\"y'>z", "{t}z", {"t"}},
      {"single quote inside double quotes", "<#t a=\"it's>\">z", "{t}z", {"t"}},
      {"no closing >", "a<#gallery b c", "a{gallery}", {"gallery"}},
      {"unbalanced quote swallows later tags", "<#t a=\"x>y\nmore<#u>", "{t}", {"t"}},
      {"tag without a name", "x<#>abc>y", "x{>}y", {">"}},
      {"<# at the very end", "x<#", "x{}", {""}},
      {"second < is text", "<<#gallery>", "<<#gallery>", {}},
      {"third < opens a tag", "<<<#g>", "<<{g}", {"g"}},
      {"tag in a comment", "<!-- <#gallery> -->", "<!-- {gallery} -->", {"gallery"}},
      {"tag in an attribute value", "<a href=\"<#backlink>\">Back</a>",
       "<a href=\"{backlink}\">Back</a>", {"backlink"}},
      {"every occurrence", "<#a><#b> <#a>", "{a}{b} {a}", {"a", "b", "a"}},
      {"blanks after a tag are kept", "<#x>  \r\n y", "{x}  \r\n y", {"x"}},
      {"# outside a tag", "<p># 1 #x>", "<p># 1 #x>", {}},
      {"zero byte ends the page", std::string("ab\0<#x>cd", 9), "ab", {}},
      {"zero byte after a tag", std::string("<#x>\0<#y>", 9), "{x}", {"x"}},
      {"zero byte after <", std::string("<\0#x>", 5), "<", {}},
      {"bytes of every kind copied exactly", "\xC3\xA9\t\r\n\x80\xFF\x7f<#x>\x01\x1f\r\x0b",
       "\xC3\xA9\t\r\n\x80\xFF\x7f{x}\x01\x1f\r\x0b", {"x"}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BuildResult r = BuildPage(dir, c.templ);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.page, c.page);
    EXPECT_EQ(r.names, c.names);
  }
}

TEST(PageBuilder, ReplacementStartsEmptyAndIsNotScannedAgain) {
  TempDir dir;
  TPageBuilder builder;
  builder.SetTemplateFile(dir.write("t.html", "<#a>|<#b>|<#none>|<#a>"));
  std::string big(100 * 1024, 'G');
  big[5] = '<';
  int calls = 0;
  builder.OnTag = [&](TPageBuilder&, const std::string& name, std::string& replacement) {
    ++calls;
    EXPECT_EQ(replacement, "");
    if (name == "a") replacement += "<#b>";
    if (name == "b") replacement += big;
  };
  std::string page;
  ASSERT_TRUE(builder.GetContent(page));
  EXPECT_EQ(calls, 4);
  EXPECT_TRUE(page == "<#b>|" + big + "||<#b>");
}

TEST(PageBuilder, HandlerSeesEachOccurrenceInOrder) {
  TempDir dir;
  TPageBuilder builder;
  builder.SetTemplateFile(dir.write("t.html", "<#gallery>\r\n<!-- <#gallery> -->\r\n<#GALLERY>"));
  int page = 0;
  builder.OnTag = [&](TPageBuilder& sender, const std::string&, std::string& replacement) {
    EXPECT_EQ(&sender, &builder);
    replacement = "table" + std::to_string(++page);
  };
  std::string text;
  ASSERT_TRUE(builder.GetContent(text));
  EXPECT_EQ(text, "table1\r\n<!-- table2 -->\r\ntable3");
}

TEST(PageBuilder, WithoutHandlerTagsVanish) {
  TempDir dir;
  TPageBuilder builder;
  builder.SetTemplateFile(dir.write("t.html", "a<#x attr=1>b<#unknown>c"));
  std::string text;
  ASSERT_TRUE(builder.GetContent(text));
  EXPECT_EQ(text, "abc");
}

// A failure leaves the text alone and says why: the template and its fault, or the tag and
// the handler's own message. The same holds when the builder keeps the template's bytes.
TEST(PageBuilder, FailuresLeaveTheTextAloneAndSayWhy) {
  TempDir dir;
  const std::string path = dir.path() + "fail.html";
  const std::string tooLong = path + ": a line is longer than 4093 bytes";
  struct Case {
    const char* what;
    std::string templ;
    std::function<void()> handler;
    std::string reason;
  } cases[] = {
      {"single line of 5000 bytes", Line(5000), nullptr, tooLong},
      {"line of 4095 bytes followed by text", "<#a>\n" + Line(4095) + "\n<#b>", nullptr, tooLong},
      {"handler throws an Error", "a<#x>b", [] { throw Error("bad tag"); }, "<#x>: bad tag"},
      {"handler throws something else", "a<#x>b", [] { throw 42; }, "<#x>: unknown failure"},
      {"handler runs out of memory", "a<#x>b", [] { throw std::bad_alloc(); },
       "<#x>: " + std::string(std::bad_alloc().what())},
  };
  for (bool keep : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (keep ? ", template kept" : ""));
      TPageBuilder builder;
      builder.KeepTemplate = keep;
      builder.SetTemplateFile(dir.write("fail.html", c.templ));
      auto handler = c.handler;
      builder.OnTag = [handler](TPageBuilder&, const std::string&, std::string& r) {
        r = "partial";
        if (handler) handler();
      };
      for (int call = 1; call <= 2; ++call) {
        std::string text = "untouched";
        EXPECT_FALSE(builder.GetContent(text));
        EXPECT_EQ(text, "untouched");
        EXPECT_EQ(builder.FailureText(), c.reason);
      }
    }
  }
}

// With KeepTemplate the file is read by the first GetContent only, also when that read fails.
TEST(PageBuilder, KeptTemplateIsReadOnce) {
  TempDir dir;
  const std::string path = dir.write("page.html", "a<#x>b");
  TPageBuilder builder;
  builder.KeepTemplate = true;
  builder.OnTag = [](TPageBuilder&, const std::string& name, std::string& r) { r = "[" + name + "]"; };
  builder.SetTemplateFile(path);
  std::string text;
  ASSERT_TRUE(builder.GetContent(text));
  EXPECT_EQ(builder.FailureText(), "");
  ASSERT_EQ(std::remove(path.c_str()), 0);
  text.clear();
  ASSERT_TRUE(builder.GetContent(text));
  EXPECT_EQ(text, "a[x]b");

  // Another template drops the kept bytes; its failed read is the answer from then on.
  const std::string other = dir.write("other.html", "c");
  builder.SetTemplateFile(other);
  ASSERT_EQ(std::remove(other.c_str()), 0);
  EXPECT_FALSE(builder.GetContent(text));
  EXPECT_EQ(builder.FailureText(), "Cannot open " + other);
  dir.write("other.html", "c");
  EXPECT_FALSE(builder.GetContent(text));
  EXPECT_EQ(builder.FailureText(), "Cannot open " + other);
}

TEST(PageBuilder, LongLinesInTemplates) {
  TempDir dir;
  struct Case {
    const char* what;
    std::string templ;
  } cases[] = {
      {"single line of 4000 bytes", Line(1000) + "<#x>" + Line(2996)},
      {"lines of 4093 bytes", "<#x>\n" + Line(4093) + "\n" + Line(4093) + "\n\n" + Line(4093) + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BuildResult r = BuildPage(dir, c.templ);
    EXPECT_TRUE(r.ok);
    std::string expected = c.templ;
    expected.replace(expected.find("<#x>"), 4, "{x}");
    EXPECT_TRUE(r.page == expected);
  }
}

TEST(PageBuilder, NothingToDoWithoutATemplate) {
  TPageBuilder builder;
  EXPECT_EQ(builder.TemplateFile(), "");
  bool called = false;
  builder.OnTag = [&](TPageBuilder&, const std::string&, std::string&) { called = true; };
  std::string text = "untouched";
  EXPECT_FALSE(builder.GetContent(text));
  EXPECT_EQ(text, "untouched");
  builder.SetTemplateFile("");  // equal to the empty template: no check
  EXPECT_FALSE(called);
}

TEST(PageBuilder, SetTemplateFileChecksOnlyNewPaths) {
  TempDir dir;
  const std::string page = dir.write("Page.html", "<#x>");
  const std::string other = dir.write("other.html", "o");
  TPageBuilder builder;

  const std::string missing = dir.path() + "missing.html";
  try {
    builder.SetTemplateFile(missing);
    ADD_FAILURE() << "no failure for a missing template";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot locate " + missing);
  }
  EXPECT_EQ(builder.TemplateFile(), "");
  EXPECT_THROW(builder.SetTemplateFile(dir.path()), Error) << "a folder is no template";

  builder.SetTemplateFile(page);
  EXPECT_EQ(builder.TemplateFile(), page);
  // The same path in other letters is taken as the same template and not looked for again.
  builder.SetTemplateFile(dir.path() + "PAGE.HTML");
  EXPECT_EQ(builder.TemplateFile(), page);

  EXPECT_THROW(builder.SetTemplateFile(missing), Error);
  EXPECT_EQ(builder.TemplateFile(), page);
  builder.SetTemplateFile(other);
  EXPECT_EQ(builder.TemplateFile(), other);
}

TEST(PageBuilder, TemplateThatDisappearsMakesGetContentFail) {
  TempDir dir;
  const std::string path = dir.write("gone.html", "<#x>");
  TPageBuilder builder;
  builder.SetTemplateFile(path);
  std::string text;
  ASSERT_TRUE(builder.GetContent(text));
  ASSERT_EQ(std::remove(path.c_str()), 0);
  text = "untouched";
  EXPECT_FALSE(builder.GetContent(text));
  EXPECT_EQ(text, "untouched");
}

// Builds a template of mixed lines and its expected page side by side, the handler writing
// "[name]" for every tag.
struct Generated {
  std::string templ;
  std::string page;
  std::vector<std::string> names;
};

Generated GenerateTemplate(std::mt19937& rng, std::size_t size) {
  static const std::string textBytes = "abcXYZ_019  \t\r#>\"'-=&;/!\x01\x7f\x80\xC3\xA9\xFF";
  struct Piece {
    const char* templ;
    const char* page;
    const char* name;  // nullptr: no tag
  };
  static const Piece pieces[] = {
      {"<#gallery>", "[gallery]", "gallery"},
      {"< # GalleryHeading  >", "[GalleryHeading]", "GalleryHeading"},
      {"<#gallery-x foo=\"a>b\">", "[gallery]", "gallery"},
      {"<#t a='x>\"y' b=\"it's\">", "[t]", "t"},
      {"<\t#\r\nbacklink\n>", "[backlink]", "backlink"},
      {"<#>x>", "[>]", ">"},
      {"<p>", "<p>", nullptr},
      {"< /td>", "</td>", nullptr},
      {"<!-- c -->", "<!-- c -->", nullptr},
      {"<<#x>", "<<#x>", nullptr},
      {"<  \x80", "<\x80", nullptr},
      {"<1", "<1", nullptr},
  };
  std::uniform_int_distribution<std::size_t> pickByte(0, textBytes.size() - 1);
  std::uniform_int_distribution<std::size_t> pickPiece(0, std::size(pieces) - 1);
  Generated g;
  while (g.templ.size() < size) {
    const int shape = static_cast<int>(rng() % 10);
    const std::size_t target = shape == 0 ? 0 : shape <= 2 ? 3900 + rng() % 150 : rng() % 300;
    std::size_t lineStart = g.templ.size();
    while (g.templ.size() - lineStart < target) {
      if (rng() % 8 == 0) {
        const Piece& p = pieces[pickPiece(rng)];
        g.templ += p.templ;
        g.page += p.page;
        if (p.name) g.names.push_back(p.name);
        // Line breaks inside a tag start a new line.
        auto lf = g.templ.rfind('\n');
        if (lf != std::string::npos && lf >= lineStart) lineStart = lf + 1;
      } else {
        // Text outside tags, never a "<".
        for (std::size_t n = 1 + rng() % 40; n > 0; --n) {
          char b = textBytes[pickByte(rng)];
          g.templ += b;
          g.page += b;
        }
      }
    }
    const char* end = rng() % 2 ? "\r\n" : "\n";
    g.templ += end;
    g.page += end;
  }
  return g;
}

TEST(PageBuilder, LargeTemplatesMatchTheirExpectedPages) {
  std::mt19937 rng(8151);
  TempDir dir;
  for (std::size_t size : {10000u, 25000u, 50000u}) {
    const Generated g = GenerateTemplate(rng, size);
    SCOPED_TRACE(testing::Message() << "template of " << g.templ.size() << " bytes");
    std::vector<std::string> names;
    TPageBuilder builder;
    builder.OnTag = [&names](TPageBuilder&, const std::string& name, std::string& replacement) {
      names.push_back(name);
      replacement = "[" + name + "]";
    };
    for (std::size_t chunk : {std::size_t(1), std::size_t(13), std::size_t(4096)}) {
      SCOPED_TRACE(chunk);
      names.clear();
      ChunkedSource source(g.templ, chunk);
      std::string page;
      builder.Process(source, page);
      EXPECT_TRUE(page == g.page);
      EXPECT_EQ(names, g.names);
    }
    names.clear();
    builder.SetTemplateFile(dir.write("large" + std::to_string(size) + ".html", g.templ));
    std::string page;
    ASSERT_TRUE(builder.GetContent(page));
    EXPECT_TRUE(page == g.page);
    EXPECT_EQ(names, g.names);
  }
}

}  // namespace
}  // namespace pictalon
