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

// One item of the shell's window collection could not be read because its window closed, or its
// shell did not answer, while it was being read. The command goes on without that item.
class ShellItemGone : public Error {
 public:
  using Error::Error;
};

}  // namespace zarn
