// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// pictgen --publish: generates, then publishes what Generate wrote, against a real OpenSSH server.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "GalleryFile.h"
#include "Platform.h"
#include "PublishJob.h"
#include "SshServer.h"
#include "TestSupport.h"
#include "TypeDef.h"
#include "WorkingFiles.h"

namespace pictalon {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

char LastByte(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in || in.tellg() <= 0) return 0;
  in.seekg(-1, std::ios::end);
  return char(in.get());
}

struct TOutcome {
  int status;
  std::string err;
};

class PictgenPublishTest : public testing::Test {
protected:
  PictgenPublishTest() : server(dir.path() + "ssh/") {
    for (const char* file : {PICTGEN_PROGRAM, ENGINE_LIBRARY})
      fs::copy_file(file, dir.path() + fs::path(file).filename().string());
    dir.write("Data/pictalon.css", "body {\r\n}\r\n");
    dir.write("Data/gallerycell6.css", ".gallerycell {\r\n}\r\n");
    dir.write("Templates/PictBase.html", "<#gentag><#gallery>");
    ApplyDefaultSettings(settings, dir.path());
    settings.ImageFolder.set(dir.path() + "photos");
    settings.Columns.set(2);
    settings.Rows.set(1);
    tail.PublishTo = server.Address(www());
  }
  void SetUp() override { ASSERT_TRUE(server.Ready()) << server.Failure(); }

  std::string www() const { return dir.path() + "www"; }
  std::string output() const { return dir.path() + "Output/"; }
  std::string gallery() const { return dir.path() + "Data/User/Trip.pgs"; }
  void Save() {
    std::string written;
    ForceDirectories(dir.path() + "Data/User");
    ASSERT_TRUE(WriteGalleryFile(gallery(), settings, tail, written));
  }
  std::string Command(const std::string& options) const {
    return "env HOME='" + server.HomeFolder() + "' SSH_AUTH_SOCK= '" + dir.path() + "pictgen' " + options + " '" +
           gallery() + "'";
  }
  TOutcome Run(const std::string& command) const {
    const std::string err = dir.path() + "stderr.txt";
    const int status = test::Shell(command + " >/dev/null 2>'" + err + "'");
    return {status, ReadFile(err)};
  }
  // Every file on the server but the record is whole: as it is in the output folder, or as it
  // was in before when given.
  using TFiles = std::map<std::string, std::string>;
  TFiles ServerFiles() const {
    TFiles files;
    for (const auto& entry : fs::recursive_directory_iterator(www()))
      if (entry.is_regular_file()) files[fs::relative(entry.path(), www()).string()] = ReadFile(entry.path().string());
    return files;
  }
  void ExpectEveryFileWhole(const TFiles& before = {}) const {
    for (const auto& entry : fs::recursive_directory_iterator(www())) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file() || name == kPublishRecord || name.rfind(kPublishTempPrefix, 0) == 0) continue;
      const std::string relative = fs::relative(entry.path(), www()).string();
      const std::string bytes = ReadFile(entry.path().string());
      const auto old = before.find(relative);
      EXPECT_TRUE(bytes == ReadFile(output() + relative) || (old != before.end() && bytes == old->second)) << relative;
    }
  }

  test::TempDir dir;
  test::TSshServer server;
  GallerySettings settings{};
  TGalleryTail tail;
};

// Only the site goes up, never anything else in the output folder; an unknown host needs
// --accept-new-host; a photo that tells where it was taken is warned about; a key with a
// passphrase and no agent fails at once, without waiting on the terminal.
TEST_F(PictgenPublishTest, PublishesWhatGenerateWrote) {
  dir.write("photos/a.jpg", test::WithApp1(test::MakeJpeg(40, 30), test::ExifPayload(1, false, true)));
  dir.write("photos/b.jpg", test::MakeJpeg(30, 40));
  dir.write("Output/notes.txt", "the user's own notes");
  Save();

  TOutcome o = Run(Command("--publish"));
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("the host is unknown"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find(server.Fingerprint()), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("--accept-new-host"), std::string::npos) << o.err;
  EXPECT_FALSE(fs::exists(www()));

  o = Run(Command("--publish --accept-new-host"));
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.err.find("warning: 1 published photo tells where it was taken"), std::string::npos) << o.err;
  for (const char* name : {"gallery1.html", "pictalon.css", "gallimgs/a.jpg", "gallimgs/b.jpg"})
    EXPECT_TRUE(fs::exists(www() + "/" + name)) << name;
  EXPECT_FALSE(fs::exists(www() + "/notes.txt"));
  ExpectEveryFileWhole();

  const std::string key = server.HomeFolder() + "/.ssh/id_ed25519";
  ASSERT_EQ(test::Shell("ssh-keygen -q -p -P '' -N secret -f '" + key + "' >/dev/null"), 0);
  // Were it to ask on the terminal, it would wait on the open pipe until the timeout.
  o = Run("sleep 4 | timeout 3 " + Command("--publish"));
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_NE(o.err.find("authentication failed"), std::string::npos) << o.err;
}

// A publish killed half-way leaves every file on the server whole and no page without its
// pictures; the next one completes it and removes what the killed one left.
TEST_F(PictgenPublishTest, PublishKilledHalfWayIsCompletedByTheNext) {
  for (int i = 0; i < 16; ++i)
    dir.write("photos/p" + std::to_string(10 + i) + ".jpg", test::MakeJpeg(40, 30) + std::string(1000000, char('a' + i)));
  settings.Rows.set(4);
  Save();
  ASSERT_EQ(Run(Command("--publish --accept-new-host")).status, 0);  // the host is known, the site up
  const TFiles before = ServerFiles();
  for (int i = 0; i < 16; ++i)
    dir.write("photos/p" + std::to_string(10 + i) + ".jpg", test::MakeJpeg(40, 30) + std::string(1000000, char('A' + i)));

  const pid_t child = ::fork();
  if (child == 0) {
    ::setenv("HOME", server.HomeFolder().c_str(), 1);
    ::unsetenv("SSH_AUTH_SOCK");
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    const std::string program = dir.path() + "pictgen";
    ::execl(program.c_str(), "pictgen", "--publish", gallery().c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Killed once a few of the new photos are in place.
  const auto arrived = [&] {
    int count = 0;
    for (int i = 0; i < 16; ++i)
      if (LastByte(www() + "/gallimgs/p" + std::to_string(10 + i) + ".jpg") == char('A' + i)) ++count;
    return count;
  };
  for (int i = 0; i < 3000 && arrived() < 3; ++i) ::usleep(5000);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  const int sent = arrived();
  EXPECT_GE(sent, 3);
  EXPECT_LT(sent, 16) << "the publish ended before it was killed";
  ExpectEveryFileWhole(before);

  const TOutcome o = Run(Command("--publish"));
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(arrived(), 16);
  ExpectEveryFileWhole();
  for (const auto& entry : fs::recursive_directory_iterator(www()))
    EXPECT_NE(entry.path().filename().string().rfind(kPublishTempPrefix, 0), 0u) << entry.path();
}

}  // namespace
}  // namespace pictalon
