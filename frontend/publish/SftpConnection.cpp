// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SftpConnection.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "Error.h"

namespace pictalon {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir) return account->pw_dir;
  return "/";
}

void TSftpConnection::Fail(const std::string& reason) const {
  throw Error("Cannot publish to " + host_ + ": " + reason);
}

TSftpConnection::TSftpConnection(const TPublishAddress& address, const TSshAnswers& answers, int timeoutSeconds)
    : answers_(answers), host_(address.Where()) {
  session_ = ssh_new();
  if (!session_) Fail("out of memory");
  try {
    Open(address, timeoutSeconds);
  } catch (...) {
    Close();
    throw;
  }
}

void TSftpConnection::Open(const TPublishAddress& address, int timeoutSeconds) {
  // The user's own files, found from $HOME (libssh would ask the account database).
  const std::string sshDir = HomeFolder() + "/.ssh";
  const std::string knownHosts = sshDir + "/known_hosts", config = sshDir + "/config";
  long timeout = timeoutSeconds;
  ssh_options_set(session_, SSH_OPTIONS_HOST, address.host.c_str());
  ssh_options_set(session_, SSH_OPTIONS_SSH_DIR, sshDir.c_str());
  ssh_options_set(session_, SSH_OPTIONS_KNOWNHOSTS, knownHosts.c_str());
  // The config's Host blocks match the name as given; what the address says wins over them.
  if (ssh_options_parse_config(session_, config.c_str()) < 0) Fail("cannot read " + config);
  if (!address.user.empty()) ssh_options_set(session_, SSH_OPTIONS_USER, address.user.c_str());
  if (address.port != 0) {
    unsigned int port = unsigned(address.port);
    ssh_options_set(session_, SSH_OPTIONS_PORT, &port);
  }
  ssh_options_set(session_, SSH_OPTIONS_TIMEOUT, &timeout);
  // Each write waits for its reply: without this, every one would also wait for a delayed ACK.
  int noDelay = 1;
  ssh_options_set(session_, SSH_OPTIONS_NODELAY, &noDelay);
  // Nothing may wait on a terminal: passphrases come from the caller or not at all.
  callbacks_.userdata = this;
  callbacks_.auth_function = &TSftpConnection::AuthCallback;
  ssh_callbacks_init(&callbacks_);
  ssh_set_callbacks(session_, &callbacks_);

  if (ssh_connect(session_) != SSH_OK) Fail(ssh_get_error(session_));
  CheckHostKey();
  LogIn();
  sftp_ = sftp_new(session_);
  if (!sftp_ || sftp_init(sftp_) != SSH_OK) Fail(std::string("the server offers no SFTP: ") + ssh_get_error(session_));
}

TSftpConnection::~TSftpConnection() { Close(); }

void TSftpConnection::Close() {
  if (sftp_) sftp_free(sftp_);
  if (session_) {
    ssh_disconnect(session_);
    ssh_free(session_);
  }
  sftp_ = nullptr;
  session_ = nullptr;
}

int TSftpConnection::AuthCallback(const char* prompt, char* buf, size_t len, int, int, void* userdata) {
  auto* self = static_cast<TSftpConnection*>(userdata);
  if (!self->answers_.secret || len == 0) return -1;
  self->asked_ = true;
  std::optional<std::string> answer = self->answers_.secret(prompt ? prompt : "Passphrase:");
  if (!answer || answer->size() >= len) return -1;
  std::memcpy(buf, answer->c_str(), answer->size() + 1);
  std::fill(answer->begin(), answer->end(), '\0');
  return 0;
}

void TSftpConnection::CheckHostKey() {
  ssh_key key = nullptr;
  if (ssh_get_server_publickey(session_, &key) != SSH_OK) Fail("the server sent no host key");
  unsigned char* hash = nullptr;
  size_t hashLength = 0;
  std::string fingerprint, type = ssh_key_type_to_char(ssh_key_type(key));
  if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &hashLength) == 0) {
    if (char* text = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, hashLength)) {
      fingerprint = text;
      ssh_string_free_char(text);
    }
    ssh_clean_pubkey_hash(&hash);
  }
  ssh_key_free(key);

  switch (ssh_session_is_known_server(session_)) {
    case SSH_KNOWN_HOSTS_OK:
      return;
    case SSH_KNOWN_HOSTS_CHANGED:
    case SSH_KNOWN_HOSTS_OTHER:
      Fail("WARNING: the host key has changed (it is now " + type + " " + fingerprint +
           "). Someone may be listening in, or the server was set up anew; nothing was sent. If the "
           "change is expected, remove the old key from ~/.ssh/known_hosts (ssh-keygen -R host).");
    case SSH_KNOWN_HOSTS_NOT_FOUND:
    case SSH_KNOWN_HOSTS_UNKNOWN:
      break;
    case SSH_KNOWN_HOSTS_ERROR:
    default:
      Fail(std::string("cannot check the host key: ") + ssh_get_error(session_));
  }
  if (!answers_.trustNewHost || !answers_.trustNewHost(host_, type, fingerprint))
    Fail("the host is unknown (its " + type + " key fingerprint is " + fingerprint + "); not trusted");
  // known_hosts lives in ~/.ssh, which ssh makes private.
  ::mkdir((HomeFolder() + "/.ssh").c_str(), 0700);
  if (ssh_session_update_known_hosts(session_) != SSH_OK)
    Fail(std::string("cannot add the host to known_hosts: ") + ssh_get_error(session_));
}

void TSftpConnection::LogIn() {
  int result = ssh_userauth_none(session_, nullptr);
  if (result == SSH_AUTH_SUCCESS) return;
  if (result == SSH_AUTH_ERROR) Fail(ssh_get_error(session_));
  const int methods = ssh_userauth_list(session_, nullptr);
  if (methods & SSH_AUTH_METHOD_PUBLICKEY) {
    // The agent first, then the keys in ~/.ssh; a key's passphrase through AuthCallback.
    result = ssh_userauth_publickey_auto(session_, nullptr, nullptr);
    if (result == SSH_AUTH_SUCCESS) return;
    if (result == SSH_AUTH_ERROR) Fail(ssh_get_error(session_));
  }
  if ((methods & SSH_AUTH_METHOD_PASSWORD) && answers_.secret) {
    std::optional<std::string> password = answers_.secret("Password for " + host_ + ":");
    if (password) {
      result = ssh_userauth_password(session_, nullptr, password->c_str());
      std::fill(password->begin(), password->end(), '\0');
      if (result == SSH_AUTH_SUCCESS) return;
    }
  }
  Fail(answers_.secret ? "authentication failed: no key, passphrase or password was accepted"
                       : "authentication failed: no key from the agent or ~/.ssh without a passphrase was "
                         "accepted (a key with a passphrase needs ssh-agent here)");
}

std::string TSftpConnection::Failure(const std::string& what) const {
  std::string reason;
  switch (sftp_get_error(sftp_)) {
    case SSH_FX_PERMISSION_DENIED: reason = "permission denied"; break;
    case SSH_FX_NO_SUCH_FILE: reason = "no such file or folder"; break;
    case SSH_FX_FAILURE: reason = "the server could not do it (is its disk full?)"; break;
    case SSH_FX_OK:
    case SSH_FX_CONNECTION_LOST:
    case SSH_FX_NO_CONNECTION:
      reason = std::string("the connection was lost (") + ssh_get_error(session_) + ")";
      break;
    default: reason = ssh_get_error(session_); break;
  }
  return "Cannot publish to " + host_ + ": " + what + ": " + reason;
}

}  // namespace pictalon
