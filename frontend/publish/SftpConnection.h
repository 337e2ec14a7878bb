// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One SFTP connection, made as OpenSSH's ssh makes one: the user's ~/.ssh/config, the host key
// checked against ~/.ssh/known_hosts (a changed key always refused), keys from the agent and
// ~/.ssh. Every wait on the server ends after a timeout.
#include <libssh/libssh.h>
#include <libssh/callbacks.h>
#include <libssh/sftp.h>

#include <functional>
#include <optional>
#include <string>

#include "PublishAddress.h"

namespace pictalon {

struct TSshAnswers {
  // An unknown host: whether to trust it (it is then added to known_hosts). The fingerprint is
  // the key's SHA-256 as ssh prints it ("SHA256:..."). Unset: unknown hosts are refused.
  std::function<bool(const std::string& host, const std::string& keyType, const std::string& fingerprint)> trustNewHost;
  // A key's passphrase or the account's password (the prompt says which), or none to give up.
  // Unset: nothing is asked, and only keys without a passphrase and the agent are tried.
  std::function<std::optional<std::string>(const std::string& prompt)> secret;
};

class TSftpConnection {
public:
  // Connects, checks the host, logs in and starts SFTP. Throws Error naming the host and the
  // reason; nothing has been written then.
  TSftpConnection(const TPublishAddress& address, const TSshAnswers& answers, int timeoutSeconds);
  ~TSftpConnection();
  TSftpConnection(const TSftpConnection&) = delete;
  TSftpConnection& operator=(const TSftpConnection&) = delete;

  sftp_session Sftp() const { return sftp_; }
  const std::string& Host() const { return host_; }
  // "Cannot publish to HOST: what: reason" for the last failed SFTP request.
  std::string Failure(const std::string& what) const;

private:
  static int AuthCallback(const char* prompt, char* buf, size_t len, int echo, int verify, void* userdata);
  void CheckHostKey();
  void Open(const TPublishAddress& address, int timeoutSeconds);
  void LogIn();
  void Close();
  [[noreturn]] void Fail(const std::string& reason) const;

  const TSshAnswers& answers_;
  std::string host_;
  ssh_session session_ = nullptr;
  sftp_session sftp_ = nullptr;
  ssh_callbacks_struct callbacks_{};
  bool asked_ = false;  // a passphrase was asked for (so a refusal is the user's)
};

// The user's home folder: $HOME, else the account's.
std::string HomeFolder();

}  // namespace pictalon
