#pragma once
#include <stdexcept>
#include <string>

namespace zarn {

// A failed platform, automation or file operation. The message is shown to the user as it stands
// (UTF-8), so it should name what failed and, where there is one, the system's own explanation.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zarn
