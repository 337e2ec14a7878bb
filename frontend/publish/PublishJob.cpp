// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublishJob.h"

#include <fcntl.h>
#include <openssl/evp.h>

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "Error.h"

namespace pictalon {

namespace {

constexpr std::size_t kPiece = 64 * 1024;  // one SFTP write

// A file as a publish put it there.
struct TEntry {
  std::uint64_t size = 0;
  std::string sha256;
  friend bool operator==(const TEntry& a, const TEntry& b) { return a.size == b.size && a.sha256 == b.sha256; }
  friend bool operator!=(const TEntry& a, const TEntry& b) { return !(a == b); }
};
using TRecord = std::map<std::string, TEntry>;

using TFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

TFile OpenLocal(const std::string& path) {
  TFile file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw Error("Cannot open file " + path);
  return file;
}

TEntry HashFile(const std::string& path) {
  TFile file = OpenLocal(path);
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr);
  TEntry entry;
  std::vector<unsigned char> buffer(kPiece);
  while (std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get())) {
    EVP_DigestUpdate(context.get(), buffer.data(), got);
    entry.size += got;
  }
  if (std::ferror(file.get())) throw Error("Cannot read file " + path);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(context.get(), digest, &length);
  static const char hex[] = "0123456789abcdef";
  for (unsigned int i = 0; i < length; ++i) entry.sha256 += {hex[digest[i] >> 4], hex[digest[i] & 15]};
  return entry;
}

// A name a record may hold: inside the destination, one line.
bool SafeName(const std::string& name) {
  if (name.empty() || name[0] == '/' || name.find('\n') != std::string::npos) return false;
  std::istringstream parts(name);
  for (std::string part; std::getline(parts, part, '/');)
    if (part.empty() || part == "." || part == "..") return false;
  return name.back() != '/';
}

// One line per file, "sha256 size name", as sha256sum lists them with the size between.
std::string RecordText(const TRecord& record) {
  std::string text = "# Pictalon: the files the last publish put here (SHA-256, size, name)\n";
  for (const auto& [name, entry] : record)
    text += entry.sha256 + " " + std::to_string(entry.size) + " " + name + "\n";
  return text;
}

TRecord ParseRecord(const std::string& text) {
  TRecord record;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t first = line.find(' '), second = line.find(' ', first + 1);
    if (line.empty() || line[0] == '#' || first != 64 || second == std::string::npos) continue;
    const std::string name = line.substr(second + 1), size = line.substr(first + 1, second - first - 1);
    if (!SafeName(name) || size.empty() || size.find_first_not_of("0123456789") != std::string::npos) continue;
    record[name] = TEntry{std::stoull(size), line.substr(0, 64)};
  }
  return record;
}

void PutU32(std::string& s, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) s += char((value >> shift) & 0xFF);
}
void PutString(std::string& s, const std::string& text) {
  PutU32(s, std::uint32_t(text.size()));
  s += text;
}
std::uint32_t GetU32(const unsigned char* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

bool ReadChannel(ssh_channel channel, unsigned char* into, std::size_t size, int timeoutMs) {
  for (std::size_t have = 0; have < size;) {
    const int got = ssh_channel_read_timeout(channel, into + have, std::uint32_t(size - have), 0, timeoutMs);
    if (got <= 0) return false;
    have += std::size_t(got);
  }
  return true;
}

// OpenSSH's "posix-rename@openssh.com": from replaces to in one step, so a visitor sees the old
// file or the new one, never none. The plain SFTP rename refuses an existing target, and libssh
// offers no call for the extension, so the request goes on the SFTP channel as the protocol
// lays it out; requests are made one at a time here, so the next reply is this one's.
// -1 when the server does not offer it.
int PosixRename(sftp_session sftp, const std::string& from, const std::string& to, int timeoutMs) {
  constexpr unsigned char kExtended = 200, kStatus = 101;
  if (!sftp_extension_supported(sftp, "posix-rename@openssh.com", "1")) return -1;
  const std::uint32_t id = ++sftp->id_counter;
  std::string body(1, char(kExtended));
  PutU32(body, id);
  PutString(body, "posix-rename@openssh.com");
  PutString(body, from);
  PutString(body, to);
  std::string packet;
  PutU32(packet, std::uint32_t(body.size()));
  packet += body;
  if (ssh_channel_write(sftp->channel, packet.data(), std::uint32_t(packet.size())) != int(packet.size())) return 0;
  unsigned char length[4];
  if (!ReadChannel(sftp->channel, length, 4, timeoutMs)) return 0;
  const std::uint32_t size = GetU32(length);
  if (size < 9 || size > 65536) return 0;
  std::vector<unsigned char> reply(size);
  if (!ReadChannel(sftp->channel, reply.data(), size, timeoutMs)) return 0;
  return reply[0] == kStatus && GetU32(&reply[1]) == id && GetU32(&reply[5]) == SSH_FX_OK ? 1 : 0;
}

std::string FolderOf(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  return slash == std::string::npos ? "" : name.substr(0, slash);
}

// The destination on the server, through one connection.
class TRemote {
public:
  TRemote(const TSftpConnection& connection, std::string root, int timeoutSeconds)
      : c_(connection), sftp_(connection.Sftp()), root_(std::move(root)), timeoutMs_(timeoutSeconds * 1000) {}

  std::string Path(const std::string& name) const {
    if (name.empty()) return root_;
    if (root_ == ".") return name;
    return root_ == "/" ? "/" + name : root_ + "/" + name;
  }

  // The destination's folder (a name relative to it, or empty for itself) with its missing
  // parents, each 0755.
  void MakeFolders(const std::string& folder) {
    if (!madeFolders_.insert(folder).second) return;
    std::string path = folder.empty() ? root_ : Path(folder);
    if (sftp_attributes attributes = sftp_stat(sftp_, path.c_str())) {
      sftp_attributes_free(attributes);
      return;
    }
    std::size_t from = path[0] == '/' ? 1 : 0;
    while (from <= path.size()) {
      std::size_t slash = path.find('/', from);
      if (slash == std::string::npos) slash = path.size();
      const std::string prefix = path.substr(0, slash);
      from = slash + 1;
      if (prefix.empty() || prefix == ".") continue;
      sftp_attributes attributes = sftp_stat(sftp_, prefix.c_str());
      if (attributes) {
        sftp_attributes_free(attributes);
        continue;
      }
      if (sftp_mkdir(sftp_, prefix.c_str(), 0755) != SSH_OK) throw Error(c_.Failure("cannot make the folder " + prefix));
      sftp_chmod(sftp_, prefix.c_str(), 0755);  // whatever the server's umask
    }
  }

  // The whole file, or none when it is not there.
  std::optional<std::string> Read(const std::string& name) {
    const std::string path = Path(name);
    sftp_file file = sftp_open(sftp_, path.c_str(), O_RDONLY, 0);
    if (!file) {
      if (sftp_get_error(sftp_) == SSH_FX_NO_SUCH_FILE) return std::nullopt;
      throw Error(c_.Failure("cannot read " + path));
    }
    std::string text;
    char buffer[16384];
    ssize_t got;
    while ((got = sftp_read(file, buffer, sizeof buffer)) > 0) text.append(buffer, std::size_t(got));
    sftp_close(file);
    if (got < 0) throw Error(c_.Failure("cannot read " + path));
    return text;
  }

  // Adds the regular files of a folder (relative names) with their sizes to present, and removes
  // temporary files that a publish that was stopped left there.
  void List(const std::string& folder, std::map<std::string, std::uint64_t>& present) {
    const std::string path = folder.empty() ? root_ : Path(folder);
    sftp_dir dir = sftp_opendir(sftp_, path.c_str());
    if (!dir) {
      if (sftp_get_error(sftp_) == SSH_FX_NO_SUCH_FILE) return;
      throw Error(c_.Failure("cannot list " + path));
    }
    while (sftp_attributes attributes = sftp_readdir(sftp_, dir)) {
      const std::string name = attributes->name ? attributes->name : "";
      const std::string relative = folder.empty() ? name : folder + "/" + name;
      if (attributes->type == SSH_FILEXFER_TYPE_REGULAR) {
        if (name.compare(0, std::string(kPublishTempPrefix).size(), kPublishTempPrefix) == 0)
          sftp_unlink(sftp_, Path(relative).c_str());
        else
          present[relative] = attributes->size;
      }
      sftp_attributes_free(attributes);
    }
    const bool complete = sftp_dir_eof(dir);
    sftp_closedir(dir);
    if (!complete) throw Error(c_.Failure("cannot list " + path));
  }

  // Writes name from source (a local file, or bytes when source is empty) to a temporary name in
  // its folder, then renames it over name. False, with nothing changed, when cancelled said stop.
  bool Put(const std::string& name, const std::string& source, const std::string& bytes,
           const std::function<bool(std::size_t)>& sent) {
    MakeFolders(FolderOf(name));
    const std::string folder = FolderOf(name);
    const std::string temp = Path((folder.empty() ? "" : folder + "/") + kPublishTempPrefix + Random());
    const std::string path = Path(name);
    std::optional<TFile> local;
    if (!source.empty()) local.emplace(OpenLocal(source));
    sftp_file file = sftp_open(sftp_, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (!file) throw Error(c_.Failure("cannot write " + path));
    bool complete = false;
    std::string failure;
    std::vector<char> buffer(kPiece);
    for (std::size_t offset = 0;;) {
      std::size_t got;
      if (local) {
        got = std::fread(buffer.data(), 1, buffer.size(), local->get());
        if (std::ferror(local->get())) failure = "Cannot read file " + source;
      } else {
        got = std::min(kPiece, bytes.size() - offset);
        std::copy_n(bytes.data() + offset, got, buffer.data());
      }
      offset += got;
      if (!failure.empty()) break;
      if (got == 0) {
        complete = true;
        break;
      }
      if (sftp_write(file, buffer.data(), got) != ssize_t(got)) {
        failure = c_.Failure("cannot write " + path);
        break;
      }
      if (!sent(got)) break;
    }
    if (sftp_close(file) != SSH_OK && complete) {
      failure = c_.Failure("cannot write " + path);
      complete = false;
    }
    if (complete) {
      sftp_chmod(sftp_, temp.c_str(), 0644);  // whatever the server's umask
      int renamed = PosixRename(sftp_, temp, path, timeoutMs_);
      if (renamed < 0) {  // a server without the extension: the file is missing for a moment
        sftp_unlink(sftp_, path.c_str());
        renamed = sftp_rename(sftp_, temp.c_str(), path.c_str()) == SSH_OK;
      }
      if (renamed != 1) {
        failure = c_.Failure("cannot replace " + path);
        complete = false;
      }
    }
    if (!complete) sftp_unlink(sftp_, temp.c_str());
    if (!failure.empty()) throw Error(failure);
    return complete;
  }

  void Remove(const std::string& name) {
    const std::string path = Path(name);
    if (sftp_unlink(sftp_, path.c_str()) != SSH_OK && sftp_get_error(sftp_) != SSH_FX_NO_SUCH_FILE)
      throw Error(c_.Failure("cannot delete " + path));
  }

private:
  std::string Random() {
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 12; ++i) text += hex[random_() % 16];
    return text;
  }

  const TSftpConnection& c_;
  sftp_session sftp_;
  std::string root_;
  int timeoutMs_;
  std::set<std::string> madeFolders_;
  std::mt19937_64 random_{std::random_device{}()};
};

}  // namespace

TPublishResult PublishSite(const TPublishSnapshot& snapshot, const TPublishCallbacks& callbacks) {
  TPublishResult result;
  const auto stop = [&] { return callbacks.cancelled && callbacks.cancelled(); };
  try {
    std::string reason;
    const std::optional<TPublishAddress> address = ParsePublishAddress(snapshot.address, &reason);
    if (!address) throw Error("Cannot publish to \"" + snapshot.address + "\": " + reason);
    TRecord local;
    for (const TSiteFile& file : snapshot.files) local[file.name] = HashFile(snapshot.outputFolder + file.name);
    if (stop()) return result.outcome = TPublishOutcome::Cancelled, result;

    TSftpConnection connection(*address, callbacks, callbacks.timeoutSeconds);
    TRemote remote(connection, address->path, callbacks.timeoutSeconds);
    remote.MakeFolders("");
    const std::optional<std::string> recordText = remote.Read(kPublishRecord);
    const TRecord old = ParseRecord(recordText.value_or(""));

    // What is there now, in every folder the site or the last publish uses.
    std::set<std::string> folders{""};
    for (const auto& [name, entry] : local) folders.insert(FolderOf(name));
    for (const auto& [name, entry] : old) folders.insert(FolderOf(name));
    std::map<std::string, std::uint64_t> present;
    for (const std::string& folder : folders) remote.List(folder, present);

    // The snapshot's order: pictures and style sheets before the pages that show them.
    TPublishProgress progress;
    std::vector<const TSiteFile*> toSend;
    for (const TSiteFile& file : snapshot.files) {
      const TEntry& entry = local[file.name];
      const auto before = old.find(file.name);
      const auto there = present.find(file.name);
      if (before == old.end() || before->second != entry || there == present.end() || there->second != entry.size) {
        toSend.push_back(&file);
        progress.bytesTotal += entry.size;
      }
    }
    progress.filesTotal = toSend.size();
    if (callbacks.progress) callbacks.progress(progress);

    // What the server holds from publishes, kept up to date as files arrive, so that a publish
    // that ends early still records what it put there.
    TRecord done = old;
    for (auto it = done.begin(); it != done.end();)
      it = present.count(it->first) ? std::next(it) : done.erase(it);
    const auto writeRecord = [&] { remote.Put(kPublishRecord, "", RecordText(done), [](std::size_t) { return true; }); };
    try {
      for (const TSiteFile* file : toSend) {
        progress.current = file->name;
        const bool sent = !stop() && remote.Put(file->name, snapshot.outputFolder + file->name, "", [&](std::size_t bytes) {
          progress.bytesDone += bytes;
          result.bytesSent += bytes;
          if (callbacks.progress) callbacks.progress(progress);
          return !stop();
        });
        if (!sent) {
          writeRecord();
          return result.outcome = TPublishOutcome::Cancelled, result;
        }
        done[file->name] = local[file->name];
        ++progress.filesDone;
        ++result.filesSent;
        if (callbacks.progress) callbacks.progress(progress);
      }
      // Last, as the new pages no longer link them: what an earlier publish put there and the site
      // no longer has.
      for (const auto& [name, entry] : old) {
        if (local.count(name) || !present.count(name)) continue;
        remote.Remove(name);
        done.erase(name);
        ++result.filesDeleted;
      }
      if (done != old || !recordText) writeRecord();
    } catch (const Error&) {
      try {
        writeRecord();
      } catch (const Error&) {
        // The connection is gone: the next publish sends those files again.
      }
      throw;
    }
    result.outcome = TPublishOutcome::Published;
  } catch (const std::exception& e) {
    result.outcome = TPublishOutcome::Failed;
    result.message = e.what();
  }
  return result;
}

}  // namespace pictalon
