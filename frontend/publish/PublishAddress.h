// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a gallery is published: sftp://[user@]host[:port]/path, the path absolute or, beginning
// with "~/", from the account's home folder. The host may be an alias of the user's ~/.ssh/config.
#include <optional>
#include <string>

namespace pictalon {

struct TPublishAddress {
  std::string user;  // empty: from ~/.ssh/config, else the local user
  std::string host;
  int port = 0;      // 0: from ~/.ssh/config, else 22
  std::string path;  // as the server's SFTP takes it: "/abs/path", or "rel/path" (or ".") from home

  // The address as the user wrote it, for messages: user@host:port when given.
  std::string Where() const;
};

// The address in text; none (and why in reason when given) when it is not such an address.
std::optional<TPublishAddress> ParsePublishAddress(const std::string& text, std::string* reason = nullptr);

}  // namespace pictalon
