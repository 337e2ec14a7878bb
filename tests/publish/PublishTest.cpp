// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing against a real OpenSSH server of the test's own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "PublishJob.h"
#include "SshServer.h"
#include "TestSupport.h"

namespace pictalon {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

int Mode(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

class PublishTest : public testing::Test {
protected:
  PublishTest() : server(dir.path()), client(server.HomeFolder()) {
    for (const char* name : {"pictalon.css", "gallimgs/a.jpg", "gallimgs/b.jpg", "gallimgs/cells/a.jpg",
                             "gallery1.html", "gallery2.html"})
      dir.write(std::string("site/") + name, std::string(70000, 'x') + name);
    for (const char* name : {"pictalon.css", "gallimgs/a.jpg", "gallimgs/b.jpg", "gallimgs/cells/a.jpg"})
      snapshot.files.push_back({name, false});
    snapshot.files.push_back({"gallery1.html", true});
    snapshot.files.push_back({"gallery2.html", true});
    snapshot.outputFolder = dir.path() + "site/";
    snapshot.address = server.Address(www());
    callbacks.trustNewHost = [this](const std::string&, const std::string&, const std::string& fingerprint) {
      shownFingerprint = fingerprint;
      return trust;
    };
    callbacks.progress = [this](const TPublishProgress& p) {
      if (!p.current.empty() && (sent.empty() || sent.back() != p.current)) sent.push_back(p.current);
    };
  }
  void SetUp() override { ASSERT_TRUE(server.Ready()) << server.Failure(); }

  std::string www() const { return dir.path() + "www"; }
  TPublishResult Publish() {
    sent.clear();
    return PublishSite(snapshot, callbacks);
  }
  // Every site file is on the server as it is here, with the modes a web server can read.
  void ExpectServerHasTheSite() const {
    for (const TSiteFile& file : snapshot.files) {
      SCOPED_TRACE(file.name);
      EXPECT_EQ(ReadFile(www() + "/" + file.name), ReadFile(snapshot.outputFolder + file.name));
      EXPECT_EQ(Mode(www() + "/" + file.name), 0644);
    }
    for (const char* folder : {"", "/gallimgs", "/gallimgs/cells"}) EXPECT_EQ(Mode(www() + folder), 0755) << folder;
    for (const auto& entry : fs::recursive_directory_iterator(www()))
      EXPECT_NE(entry.path().filename().string().rfind(kPublishTempPrefix, 0), 0u) << entry.path();
  }

  test::TempDir dir;
  test::TSshServer server;
  test::TClientHome client;
  TPublishSnapshot snapshot;
  TPublishCallbacks callbacks;
  bool trust = true;
  std::string shownFingerprint;
  std::vector<std::string> sent;  // in the order sent
};

// The first publish sends everything, pictures and style sheets before pages; an unchanged one
// sends nothing; a changed photo alone is sent; a photo taken out of the site leaves the server
// with its page, while the user's own files there stay, and a temporary file a stopped publish
// left is removed.
TEST_F(PublishTest, SendsOnlyWhatChangedAndDeletesOnlyWhatItPutThere) {
  TPublishResult result = Publish();
  ASSERT_EQ(result.outcome, TPublishOutcome::Published) << result.message;
  EXPECT_EQ(result.filesSent, 6u);
  EXPECT_EQ(sent, (std::vector<std::string>{"pictalon.css", "gallimgs/a.jpg", "gallimgs/b.jpg",
                                            "gallimgs/cells/a.jpg", "gallery1.html", "gallery2.html"}));
  ExpectServerHasTheSite();
  const std::string record = ReadFile(www() + "/" + kPublishRecord);
  EXPECT_NE(record.find(" 70020 gallimgs/cells/a.jpg\n"), std::string::npos) << record;

  result = Publish();
  ASSERT_EQ(result.outcome, TPublishOutcome::Published) << result.message;
  EXPECT_EQ(result.filesSent, 0u);
  EXPECT_EQ(result.bytesSent, 0u);

  dir.write("site/gallimgs/b.jpg", "a new b");
  result = Publish();
  EXPECT_EQ(result.filesSent, 1u);
  EXPECT_EQ(result.bytesSent, 7u);
  EXPECT_TRUE(ReadFile(www() + "/gallimgs/b.jpg") == "a new b");

  const std::string mine = www() + "/mine.html", myPhoto = www() + "/gallimgs/me.jpg";
  std::ofstream(mine) << "the user's own";
  std::ofstream(myPhoto) << "the user's photo";
  std::ofstream(www() + "/gallimgs/" + kPublishTempPrefix + "left") << "from a publish that was killed";
  snapshot.files.erase(snapshot.files.begin() + 2);  // gallimgs/b.jpg
  snapshot.files.pop_back();                         // gallery2.html
  dir.write("site/gallery1.html", "one page now");
  result = Publish();
  ASSERT_EQ(result.outcome, TPublishOutcome::Published) << result.message;
  EXPECT_EQ(result.filesSent, 1u);
  EXPECT_EQ(result.filesDeleted, 2u);
  ExpectServerHasTheSite();
  EXPECT_FALSE(fs::exists(www() + "/gallimgs/b.jpg"));
  EXPECT_FALSE(fs::exists(www() + "/gallery2.html"));
  EXPECT_EQ(ReadFile(mine), "the user's own");
  EXPECT_EQ(ReadFile(myPhoto), "the user's photo");
  EXPECT_EQ(ReadFile(www() + "/" + kPublishRecord).find("b.jpg"), std::string::npos);
}

// An unknown host is refused with its fingerprint as ssh shows it and nothing written; trusted,
// it is added to known_hosts; once its key has changed it is refused, trusted or not.
TEST_F(PublishTest, HostKeysAreCheckedAsOpenSshDoes) {
  const std::string where = "127.0.0.1:" + std::to_string(server.Port());
  trust = false;
  TPublishResult result = Publish();
  EXPECT_EQ(result.outcome, TPublishOutcome::Failed);
  EXPECT_EQ(shownFingerprint, server.Fingerprint());
  EXPECT_EQ(shownFingerprint.rfind("SHA256:", 0), 0u);
  EXPECT_NE(result.message.find("Cannot publish to " + where + ": the host is unknown"), std::string::npos)
      << result.message;
  EXPECT_NE(result.message.find(server.Fingerprint()), std::string::npos);
  EXPECT_FALSE(fs::exists(www()));

  trust = true;
  result = Publish();
  ASSERT_EQ(result.outcome, TPublishOutcome::Published) << result.message;
  EXPECT_NE(ReadFile(server.HomeFolder() + "/.ssh/known_hosts").find("[127.0.0.1]:" + std::to_string(server.Port())),
            std::string::npos);

  server.ChangeHostKey();
  ASSERT_TRUE(server.Ready()) << server.Failure();
  dir.write("site/gallery1.html", "changed");
  shownFingerprint.clear();
  result = Publish();
  EXPECT_EQ(result.outcome, TPublishOutcome::Failed);
  EXPECT_NE(result.message.find("Cannot publish to " + where + ": WARNING: the host key has changed"),
            std::string::npos) << result.message;
  EXPECT_EQ(shownFingerprint, "");  // never offered for trust
  EXPECT_NE(ReadFile(www() + "/gallery1.html"), "changed");
}

// Failures name the host and the reason, and change nothing; a key with a passphrase is used
// only when the passphrase is given (never asked on a terminal).
TEST_F(PublishTest, FailuresNameTheHostAndTheReason) {
  const std::string key = server.HomeFolder() + "/.ssh/id_ed25519";
  ASSERT_EQ(test::Shell("ssh-keygen -q -p -P '' -N 'open sesame' -f '" + key + "'"), 0);
  const auto started = std::chrono::steady_clock::now();
  TPublishResult result = Publish();
  EXPECT_EQ(result.outcome, TPublishOutcome::Failed);
  EXPECT_NE(result.message.find(": authentication failed"), std::string::npos) << result.message;
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_FALSE(fs::exists(www()));

  std::vector<std::string> prompts;
  callbacks.secret = [&prompts](const std::string& prompt) -> std::optional<std::string> {
    prompts.push_back(prompt);
    return std::string("open sesame");
  };
  result = Publish();
  EXPECT_EQ(result.outcome, TPublishOutcome::Published) << result.message;
  EXPECT_FALSE(prompts.empty());
  callbacks.secret = nullptr;

  ASSERT_EQ(test::Shell("ssh-keygen -q -p -P 'open sesame' -N '' -f '" + key + "'"), 0);
  const struct {
    const char* what;
    std::string address, reason;
    bool removeKey;
  } cases[] = {
      {"nobody listening", "sftp://127.0.0.1:1" + www(), "Cannot publish to 127.0.0.1:1: ", false},
      {"a folder that cannot be made", server.Address("/proc/pictalon/www"), "cannot make the folder /proc/pictalon", false},
      {"no sftp address", "ftp://example.org/www", "the address must begin with sftp://", false},
      {"no key", server.Address(www()), "authentication failed", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.removeKey) fs::remove(key);
    snapshot.address = c.address;
    result = Publish();
    EXPECT_EQ(result.outcome, TPublishOutcome::Failed);
    EXPECT_NE(result.message.find(c.reason), std::string::npos) << result.message;
  }
}

}  // namespace
}  // namespace pictalon
