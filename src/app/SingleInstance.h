#pragma once
// One running copy per settings file: a second start of the same Zarn.exe would keep its own copy
// of the workbenches in memory and overwrite the other's saves.
#include <windows.h>

#include <cstdint>
#include <string>

namespace zarn::app {

// Names a settings file whatever the letter case or short form it was reached by; never 0.
std::uint64_t InstanceKey(const std::wstring& settingsFile);

class SingleInstance {
 public:
  explicit SingleInstance(std::uint64_t key);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  bool IsFirst() const { return first_; }
  // Tells the copy already running that the user started it again; waits a few seconds at most for
  // its window when that copy is still starting.
  void NotifyRunningCopy() const;

 private:
  std::uint64_t key_;
  HANDLE mutex_ = nullptr;
  bool first_ = true;
};

}  // namespace zarn::app
