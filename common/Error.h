// SPDX-FileCopyrightText: 2026 Pictalon developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <stdexcept>
#include <string>
#include <utility>

#include "Message.h"

namespace pictalon {

// A failure that ends the current command. what() is its English text; windows show Message()
// in the user's language.
class Error : public std::runtime_error {
public:
  // A text that is shown as it stands, in every language.
  explicit Error(const std::string& message) : std::runtime_error(message), message_(message) {}
  explicit Error(TMessage message) : std::runtime_error(message.Text()), message_(std::move(message)) {}

  const TMessage& Message() const { return message_; }

private:
  TMessage message_;
};

// The message of a caught exception: an Error's own, any other's text as it stands.
inline TMessage MessageOf(const std::exception& e) {
  const auto* error = dynamic_cast<const Error*>(&e);
  return error ? error->Message() : TMessage(e.what());
}

}  // namespace pictalon
