// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Publishing a generated site over SFTP. A record on the server (kPublishRecord in the destination)
// lists what the last publish put there; a publish sends only new and changed files, each to a
// temporary name in its folder renamed over the old file when complete, pictures and style
// sheets before the pages, then deletes what an earlier publish put there and the site no longer
// has. Files the user put on the server are never touched. Qt-free: the desktop program runs it
// on a worker thread, pictgen on its own.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "SftpConnection.h"
#include "SiteFiles.h"

namespace pictalon {

constexpr const char* kPublishRecord = ".pictalon.sha256";
constexpr const char* kPublishTempPrefix = ".pictalon-";

// What one publish sends: taken when it starts; nothing changes it while it runs.
struct TPublishSnapshot {
  std::string address;       // sftp://... as the gallery file keeps it
  std::string outputFolder;  // ends with '/'
  std::vector<TSiteFile> files;
};

struct TPublishProgress {
  std::size_t filesDone = 0, filesTotal = 0;  // files to send
  std::uint64_t bytesDone = 0, bytesTotal = 0;
  std::string current;  // the file being sent
};

struct TPublishCallbacks : TSshAnswers {
  // After each piece sent, on the publishing thread.
  std::function<void(const TPublishProgress&)> progress;
  // Polled between pieces: true stops the publish, leaving every file on the server whole.
  std::function<bool()> cancelled;
  int timeoutSeconds = 30;  // for every wait on the server
};

enum class TPublishOutcome { Published, Cancelled, Failed };

struct TPublishResult {
  TPublishOutcome outcome = TPublishOutcome::Failed;
  std::string message;  // why it failed: names the host and the reason
  std::size_t filesSent = 0, filesDeleted = 0;
  std::uint64_t bytesSent = 0;
};

// Publishes the snapshot's files. Never throws.
TPublishResult PublishSite(const TPublishSnapshot& snapshot, const TPublishCallbacks& callbacks);

}  // namespace pictalon
