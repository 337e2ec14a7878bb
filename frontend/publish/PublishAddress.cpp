// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublishAddress.h"

#include <cctype>

namespace pictalon {

std::string TPublishAddress::Where() const {
  std::string where = user.empty() ? host : user + "@" + host;
  if (port != 0) where += ":" + std::to_string(port);
  return where;
}

std::optional<TPublishAddress> ParsePublishAddress(const std::string& text, std::string* reason) {
  const auto fail = [&](const char* why) -> std::optional<TPublishAddress> {
    if (reason) *reason = why;
    return std::nullopt;
  };
  const std::string scheme = "sftp://";
  if (text.compare(0, scheme.size(), scheme) != 0)
    return fail("the address must begin with sftp://");
  const std::string rest = text.substr(scheme.size());
  const std::size_t slash = rest.find('/');
  if (slash == std::string::npos) return fail("the address has no folder (sftp://host/folder)");
  std::string authority = rest.substr(0, slash);
  std::string path = rest.substr(slash);  // begins with '/'

  TPublishAddress address;
  const std::size_t at = authority.rfind('@');
  if (at != std::string::npos) {
    address.user = authority.substr(0, at);
    authority.erase(0, at + 1);
    if (address.user.empty()) return fail("the user name before @ is empty");
  }
  std::string port;
  if (!authority.empty() && authority[0] == '[') {  // [IPv6]:port
    const std::size_t close = authority.find(']');
    if (close == std::string::npos) return fail("the host's [ is not closed");
    address.host = authority.substr(1, close - 1);
    if (close + 1 < authority.size()) {
      if (authority[close + 1] != ':') return fail("unexpected text after the host");
      port = authority.substr(close + 2);
    }
  } else {
    const std::size_t colon = authority.find(':');
    address.host = authority.substr(0, colon);
    if (colon != std::string::npos) port = authority.substr(colon + 1);
  }
  if (address.host.empty()) return fail("the address names no host");
  if (!port.empty() || authority.find(':') != std::string::npos) {
    if (port.empty() || port.size() > 5) return fail("the port is not a number from 1 to 65535");
    for (char c : port)
      if (!std::isdigit(static_cast<unsigned char>(c))) return fail("the port is not a number from 1 to 65535");
    address.port = std::stoi(port);
    if (address.port < 1 || address.port > 65535) return fail("the port is not a number from 1 to 65535");
  }

  // "/~/x" is x in the home folder, which the server's SFTP takes as a path without a leading '/'.
  if (path == "/~" || path.compare(0, 3, "/~/") == 0) path = path.size() <= 3 ? "." : path.substr(3);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.find("/../") != std::string::npos || path.find('\n') != std::string::npos)
    return fail("the folder may not contain .. or line breaks");
  address.path = path;
  return address;
}

}  // namespace pictalon
