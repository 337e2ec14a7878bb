// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real OpenSSH server for tests: sshd on 127.0.0.1 at a free port, with a host key, an
// authorized key and SFTP (internal-sftp) of its own, all in a folder of the test's. The client
// side is a HOME of its own (HomeFolder()) holding the key; nothing of the user's is read.
#include <sys/types.h>

#include <string>

namespace pictalon::test {

class TSshServer {
public:
  // Makes the keys and starts the server; Ready() tells whether it runs (and Failure() why not).
  explicit TSshServer(const std::string& folder);
  ~TSshServer();
  TSshServer(const TSshServer&) = delete;
  TSshServer& operator=(const TSshServer&) = delete;

  bool Ready() const { return pid_ > 0; }
  const std::string& Failure() const { return failure_; }
  int Port() const { return port_; }
  // The client's HOME: ".ssh/id_ed25519" in it is authorized; no known_hosts at first.
  std::string HomeFolder() const { return folder_ + "home"; }
  // sftp://127.0.0.1:port + path
  std::string Address(const std::string& path) const;
  // The host key's fingerprint as ssh-keygen -l prints it ("SHA256:...").
  std::string Fingerprint() const;
  // Restarts the server with a new host key at the same port.
  void ChangeHostKey();
  // ssh's own command-line options for this server but the port (for ssh, sftp, rsync -e).
  std::string SshOptions() const;

private:
  void MakeHostKey();
  void Start();
  void Stop();

  std::string folder_, failure_;
  int port_ = 0;
  pid_t pid_ = -1;
};

// For the life of the object, the process's HOME is home and it has no agent (SSH_AUTH_SOCK), so
// nothing of the user's own ~/.ssh is read.
class TClientHome {
public:
  explicit TClientHome(const std::string& home);
  ~TClientHome();
  TClientHome(const TClientHome&) = delete;
  TClientHome& operator=(const TClientHome&) = delete;

private:
  std::string home_, agent_;
  bool hadHome_ = false, hadAgent_ = false;
};

// Runs a shell command; its exit status (-1 when it did not end normally).
int Shell(const std::string& command);

}  // namespace pictalon::test
