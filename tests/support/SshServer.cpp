// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SshServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pictalon::test {

namespace {

namespace fs = std::filesystem;

int FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  ::close(s);
  return port;
}

bool Accepts(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(std::uint16_t(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(s);
  return ok;
}

std::string Read(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TClientHome::TClientHome(const std::string& home) {
  if (const char* old = std::getenv("HOME")) home_ = old, hadHome_ = true;
  if (const char* old = std::getenv("SSH_AUTH_SOCK")) agent_ = old, hadAgent_ = true;
  ::setenv("HOME", home.c_str(), 1);
  ::unsetenv("SSH_AUTH_SOCK");
}

TClientHome::~TClientHome() {
  if (hadHome_) ::setenv("HOME", home_.c_str(), 1);
  else ::unsetenv("HOME");
  if (hadAgent_) ::setenv("SSH_AUTH_SOCK", agent_.c_str(), 1);
}

int Shell(const std::string& command) {
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TSshServer::TSshServer(const std::string& folder) : folder_(folder) {
  fs::create_directories(folder_ + "server");
  fs::create_directories(HomeFolder() + "/.ssh");
  ::chmod((HomeFolder() + "/.ssh").c_str(), 0700);
  MakeHostKey();
  const std::string key = HomeFolder() + "/.ssh/id_ed25519";
  if (Shell("ssh-keygen -q -t ed25519 -N '' -C pictalon-test -f '" + key + "'") != 0) {
    failure_ = "ssh-keygen failed";
    return;
  }
  fs::copy_file(key + ".pub", folder_ + "server/authorized_keys", fs::copy_options::overwrite_existing);
  // sshd run as root needs its privilege separation folder.
  if (::geteuid() == 0) ::mkdir("/run/sshd", 0755);
  for (int attempt = 0; attempt < 5 && !Ready(); ++attempt) {
    port_ = FreePort();
    Start();
  }
}

TSshServer::~TSshServer() { Stop(); }

void TSshServer::MakeHostKey() {
  const std::string key = folder_ + "server/host_key";
  fs::remove(key);
  fs::remove(key + ".pub");
  if (Shell("ssh-keygen -q -t ed25519 -N '' -f '" + key + "'") != 0) failure_ = "ssh-keygen failed";
}

void TSshServer::Start() {
  const std::string server = folder_ + "server/";
  std::ofstream(server + "sshd_config")
      << "Port " << port_ << "\nListenAddress 127.0.0.1\n"
      << "HostKey " << server << "host_key\nPidFile " << server << "sshd.pid\n"
      << "AuthorizedKeysFile " << server << "authorized_keys\n"
      << "StrictModes no\nPermitRootLogin prohibit-password\nPasswordAuthentication no\n"
      << "KbdInteractiveAuthentication no\nUsePAM no\nSubsystem sftp internal-sftp\n";
  const std::string log = server + "sshd.log";
  pid_ = ::fork();
  if (pid_ == 0) {
    ::setpgid(0, 0);
    std::freopen(log.c_str(), "a", stderr);
    std::freopen("/dev/null", "r", stdin);
    ::execl("/usr/sbin/sshd", "/usr/sbin/sshd", "-D", "-e", "-f", (server + "sshd_config").c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  for (int i = 0; i < 200; ++i) {
    if (Accepts(port_)) return;
    int status;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) break;
    ::usleep(25000);
  }
  failure_ = "sshd did not start: " + Read(log);
  Stop();
}

void TSshServer::Stop() {
  if (pid_ <= 0) return;
  ::kill(-pid_, SIGTERM);  // the listener and its sessions
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

void TSshServer::ChangeHostKey() {
  Stop();
  MakeHostKey();
  Start();
}

std::string TSshServer::Address(const std::string& path) const {
  return "sftp://127.0.0.1:" + std::to_string(port_) + path;
}

std::string TSshServer::Fingerprint() const {
  const std::string out = folder_ + "server/fingerprint";
  Shell("ssh-keygen -l -E sha256 -f '" + folder_ + "server/host_key.pub' > '" + out + "'");
  std::istringstream words(Read(out));
  std::string bits, fingerprint;
  words >> bits >> fingerprint;
  return fingerprint;
}

std::string TSshServer::SshOptions() const {
  return "-F /dev/null -i '" + HomeFolder() + "/.ssh/id_ed25519' -o UserKnownHostsFile='" + HomeFolder() +
         "/.ssh/known_hosts' -o StrictHostKeyChecking=accept-new -o BatchMode=yes";
}

}  // namespace pictalon::test
