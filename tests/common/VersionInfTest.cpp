// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "Error.h"
#include "TestSupport.h"
#include "VersionInf.h"

namespace pictalon {
namespace {

namespace fs = std::filesystem;

const char kNoVersionInfo[] = "No version info in file";
const char kReadError[] = "Error reading version info";

// What reading a file's FileVersion should give: the text, or the error's message.
struct Outcome {
  const char* version;
  const char* error;
};

constexpr Outcome Version(const char* text) { return {text, nullptr}; }
constexpr Outcome Fails(const char* message) { return {nullptr, message}; }

void ExpectOutcome(const std::string& path, const Outcome& expected) {
  TVersionInfo info;
  info.SetFileName(path);
  try {
    const std::string version = info.FileVersion();
    if (expected.error != nullptr)
      ADD_FAILURE() << "expected \"" << expected.error << "\", got version \"" << version << '"';
    else
      EXPECT_EQ(version, expected.version);
  } catch (const Error& e) {
    if (expected.error == nullptr)
      ADD_FAILURE() << "expected version \"" << expected.version << "\", got \"" << e.what() << '"';
    else
      EXPECT_STREQ(e.what(), expected.error);
  }
}

// Section contents: each entry NUL-terminated.
std::string Entries(std::initializer_list<const char*> entries) {
  std::string s;
  for (const char* e : entries) s.append(e).push_back('\0');
  return s;
}

const std::string kUsual = Entries({"\\VarFileInfo\\Translation=080904E4", "\\=5.6.7.8",
                                    "\\StringFileInfo\\080904e4\\FileVersion=5.6.7.8"});

// A little-endian ELF file with no program: the header, the contents of the given sections and
// the section name table, then the section header table ([0] empty, the given sections, the name
// table last). Tests damage the fields they are about.
class ElfImage {
public:
  struct Section {
    std::string name;
    std::string contents;
    std::uint32_t type = 1;  // SHT_PROGBITS
  };

  ElfImage(bool is64, const std::vector<Section>& sections) : is64_(is64) {
    const std::size_t headerSize = is64 ? 64 : 52;
    bytes_.assign(headerSize, '\0');
    std::string names(1, '\0');
    std::vector<std::uint64_t> nameAt, offsetAt;
    for (const Section& s : sections) {
      nameAt.push_back(names.size());
      names += s.name + '\0';
      offsetAt.push_back(bytes_.size());
      bytes_ += s.contents;
    }
    const std::uint64_t namesName = names.size();
    names += std::string(".shstrtab") + '\0';
    const std::uint64_t namesAt = bytes_.size();
    bytes_ += names;
    bytes_.resize((bytes_.size() + 7) / 8 * 8, '\0');

    shoff_ = bytes_.size();
    const std::size_t count = sections.size() + 2;
    bytes_.resize(shoff_ + count * EntrySize(), '\0');
    for (std::size_t i = 0; i < sections.size(); ++i) {
      SetSection(i + 1, kName, nameAt[i]);
      SetSection(i + 1, kType, sections[i].type);
      SetSection(i + 1, kOffset, offsetAt[i]);
      SetSection(i + 1, kSize, sections[i].contents.size());
    }
    SetSection(count - 1, kName, namesName);
    SetSection(count - 1, kType, 3);  // SHT_STRTAB
    SetSection(count - 1, kOffset, namesAt);
    SetSection(count - 1, kSize, names.size());

    bytes_.replace(0, 7, "\x7F" "ELF\0\x01\x01", 7);
    bytes_[4] = is64 ? 2 : 1;
    Put(16, 2, 2);                   // e_type: executable
    Put(18, 2, is64 ? 62 : 3);       // e_machine: x86-64 or i386
    Put(20, 4, 1);                   // e_version
    Put(is64 ? 40 : 32, is64 ? 8 : 4, shoff_);
    Put(is64 ? 52 : 40, 2, headerSize);
    Put(is64 ? 58 : 46, 2, EntrySize());
    Put(is64 ? 60 : 48, 2, count);
    Put(is64 ? 62 : 50, 2, count - 1);
  }

  enum Field { kName, kType, kOffset, kSize };

  void SetSection(std::size_t index, Field field, std::uint64_t value) {
    const std::size_t at = shoff_ + index * EntrySize();
    switch (field) {
      case kName: Put(at, 4, value); break;
      case kType: Put(at + 4, 4, value); break;
      case kOffset: Put(at + (is64_ ? 24 : 16), is64_ ? 8 : 4, value); break;
      case kSize: Put(at + (is64_ ? 32 : 20), is64_ ? 8 : 4, value); break;
    }
  }
  void SetShoff(std::uint64_t v) { Put(is64_ ? 40 : 32, is64_ ? 8 : 4, v); }
  void SetShentsize(std::uint64_t v) { Put(is64_ ? 58 : 46, 2, v); }
  void SetShnum(std::uint64_t v) { Put(is64_ ? 60 : 48, 2, v); }
  void SetShstrndx(std::uint64_t v) { Put(is64_ ? 62 : 50, 2, v); }

  std::string& bytes() { return bytes_; }
  std::size_t shoff() const { return shoff_; }

private:
  std::size_t EntrySize() const { return is64_ ? 64 : 40; }
  void Put(std::size_t at, int size, std::uint64_t value) {
    for (int i = 0; i < size; ++i) bytes_[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }

  bool is64_;
  std::string bytes_;
  std::size_t shoff_ = 0;
};

struct ElfCase {
  const char* name;
  bool is64;
  std::vector<ElfImage::Section> sections;
  std::function<void(ElfImage&)> damage;  // may be empty
  Outcome expected;
};

// The version section is always section 1 when there is one.
ElfImage::Section VersionSection(std::string contents) {
  return {".pictalon_version", std::move(contents)};
}

TEST(VersionInfTest, ReadsTheFileVersionFromTheVersionSection) {
  const ElfImage::Section text{".text", std::string(100, '\x90')};
  const ElfCase cases[] = {
      {"64-bit", true, {text, VersionSection(kUsual)}, {}, Version("5.6.7.8")},
      {"32-bit", false, {text, VersionSection(kUsual)}, {}, Version("5.6.7.8")},
      // The string table is the one the translation names, not the first one present.
      {"other translation", true,
       {VersionSection(Entries({"\\VarFileInfo\\Translation=040904B0", "\\=2.0.0.7",
                                "\\StringFileInfo\\080904e4\\FileVersion=9.9.9.9",
                                "\\StringFileInfo\\040904b0\\FileVersion=2.0.0.7"}))},
       {}, Version("2.0.0.7")},
      {"names in another letter case", true,
       {VersionSection(Entries({"\\varfileinfo\\translation=080904e4", "\\=3.1.4.1",
                                "\\StringFileInfo\\080904E4\\FILEVERSION=3.1.4.1"}))},
       {}, Version("3.1.4.1")},
      {"zero padding around entries", true,
       {VersionSection(std::string(3, '\0') + kUsual + std::string(29, '\0'))}, {},
       Version("5.6.7.8")},
      {"empty FileVersion", true,
       {VersionSection(Entries({"\\VarFileInfo\\Translation=080904E4", "\\=1.0.0.0",
                                "\\StringFileInfo\\080904e4\\FileVersion="}))},
       {}, Version("")},
      {"FileVersion only in another table", true,
       {VersionSection(Entries({"\\VarFileInfo\\Translation=080904E4", "\\=1.0.0.0",
                                "\\StringFileInfo\\040904b0\\FileVersion=1.0.0.0"}))},
       {}, Version("")},
      {"no translation", true,
       {VersionSection(Entries({"\\=1.0.0.0", "\\StringFileInfo\\080904e4\\FileVersion=1.0"}))},
       {}, Fails(kReadError)},
      {"translation not hexadecimal", true,
       {VersionSection(Entries({"\\VarFileInfo\\Translation=08O904E4", "\\=1.0.0.0"}))}, {},
       Fails(kReadError)},
      {"translation too short", true,
       {VersionSection(Entries({"\\VarFileInfo\\Translation=0809", "\\=1.0.0.0"}))}, {},
       Fails(kReadError)},
      {"no root entry", true,
       {VersionSection(Entries({"\\VarFileInfo\\Translation=080904E4",
                                "\\StringFileInfo\\080904e4\\FileVersion=1.0.0.0"}))},
       {}, Fails(kReadError)},
      {"empty section", true, {VersionSection("")}, {}, Fails(kReadError)},
      {"no version section", true, {text}, {}, Fails(kNoVersionInfo)},
      {"no section table", true, {text},
       [](ElfImage& e) {
         e.SetShoff(0);
         e.SetShnum(0);
         e.SetShstrndx(0);
       },
       Fails(kNoVersionInfo)},
      {"section without contents in the file", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetSection(1, ElfImage::kType, 8); }, Fails(kReadError)},
      {"section starts beyond the end", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetSection(1, ElfImage::kOffset, 0xFFFFFFFFFFFFFF00u); },
       Fails(kReadError)},
      {"section runs past the end", false, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetSection(1, ElfImage::kSize, 0xFFFFFFF0u); }, Fails(kReadError)},
      {"section larger than memory", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetSection(1, ElfImage::kSize, 0xFFFFFFFFFFFFFF00u); },
       Fails(kReadError)},
      {"name table larger than memory", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetSection(2, ElfImage::kSize, 0x7FFFFFFFFFFFFFFFu); },
       Fails(kReadError)},
      {"name outside the name table", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetSection(1, ElfImage::kName, 0x7FFFFFFF); }, Fails(kReadError)},
      {"name table index out of range", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetShstrndx(99); }, Fails(kReadError)},
      {"section count beyond the end", false, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetShnum(0xFFF0); }, Fails(kReadError)},
      {"section entries too small", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetShentsize(16); }, Fails(kReadError)},
      {"section table beyond the end", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.SetShoff(e.bytes().size() + 100); }, Fails(kReadError)},
      {"cut inside the section table", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.bytes().resize(e.shoff() + 70); }, Fails(kReadError)},
      {"cut inside the file header", true, {VersionSection(kUsual)},
       [](ElfImage& e) { e.bytes().resize(40); }, Fails(kReadError)},
      {"big-endian", true, {VersionSection(kUsual)}, [](ElfImage& e) { e.bytes()[5] = 2; },
       Fails(kReadError)},
      {"unknown class", true, {VersionSection(kUsual)}, [](ElfImage& e) { e.bytes()[4] = 3; },
       Fails(kReadError)},
  };
  test::TempDir dir;
  for (const ElfCase& c : cases) {
    SCOPED_TRACE(c.name);
    ElfImage image(c.is64, c.sections);
    if (c.damage) c.damage(image);
    ExpectOutcome(dir.write("probe", image.bytes()), c.expected);
  }
}

std::string RunningExecutable() { return fs::read_symlink("/proc/self/exe").string(); }

TEST(VersionInfTest, ReadsRealExecutablesAndRefusesOtherFiles) {
  test::TempDir dir;
  const std::string self = test::ReadFile(RunningExecutable());
  ASSERT_GT(self.size(), 4096u);
  const struct {
    const char* name;
    std::string path;
    Outcome expected;
  } cases[] = {
      {"this test program", RunningExecutable(), Version(PICTALON_TEST_PROJECT_VERSION)},
      {"executable without the section", VERSION_PROBE_BARE, Fails(kNoVersionInfo)},
      {"system executable", "/bin/true", Fails(kNoVersionInfo)},
      {"section without FileVersion", VERSION_PROBE_WITHOUT_FILE_VERSION, Version("")},
      {"executable cut in half", dir.write("half", self.substr(0, self.size() / 2)),
       Fails(kReadError)},
      {"text file", dir.write("notes.txt", "FileVersion=1.0.0.0\n"), Fails(kReadError)},
      {"empty file", dir.write("empty", ""), Fails(kReadError)},
      {"missing file", dir.path() + "absent", Fails(kReadError)},
      {"folder", dir.path(), Fails(kReadError)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectOutcome(c.path, c.expected);
  }
}

TEST(VersionInfTest, EmptyFileNameStandsForTheRunningExecutable) {
  TVersionInfo info;
  EXPECT_EQ(info.FileName(), RunningExecutable());
  info.SetFileName("/some/other/file");
  EXPECT_EQ(info.FileName(), "/some/other/file");
  info.SetFileName("");
  EXPECT_EQ(info.FileName(), RunningExecutable());
}

TEST(VersionInfTest, ProgramFileVersionIsTheProjectVersion) {
  EXPECT_EQ(GetProgramFileVersion(), PICTALON_TEST_PROJECT_VERSION);
}

}  // namespace
}  // namespace pictalon
