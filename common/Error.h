#pragma once
#include <stdexcept>
#include <string>

namespace pictalon {

// A failure that ends the current command; its text is shown to the user as it stands.
class Error : public std::runtime_error {
public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace pictalon
