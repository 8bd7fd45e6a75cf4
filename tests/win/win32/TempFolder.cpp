#include "TempFolder.h"

#include <filesystem>
#include <system_error>

namespace zarn::win32::test {
namespace {

std::wstring TempRoot() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  std::wstring root(buffer, length);
  // Distinct per process, so two runs never share a folder.
  root += L"zarn-win32-tests-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(root.c_str(), nullptr);
  return root;
}

}  // namespace

TempFolder::TempFolder(const std::wstring& name) : path_(TempRoot() + L"\\" + name) {
  created_ = ::CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  if (created_) std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

std::wstring MissingFolderPath() { return TempRoot() + L"\\no such folder\\nor this one"; }

}  // namespace zarn::win32::test
