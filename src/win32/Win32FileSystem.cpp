// The file primitives with the C runtime's wide calls and MoveFileExW.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "core/ports/FileSystem.h"
#include "win32/CodePage932.h"

namespace zarn {
namespace {

int OpenForWriting(const FilePath& file) {
  return _wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
long long WriteSome(int fd, const char* data, std::size_t size) {
  const unsigned int chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned int>(size);
  return _write(fd, data, chunk);
}
int FlushToDisk(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
// Virus scanners and cloud-sync clients open a freshly written file for a moment, and a replace that
// meets their handle fails; it is tried again for about a second before it counts. (A file the user
// made read-only never gets here.)
constexpr int kReplaceTries = 20;
constexpr DWORD kReplaceRetryMs = 50;

bool HeldByAnotherHandle(DWORD code) {
  return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_ACCESS_DENIED;
}

// Write-through, so that the new name is on the disk when the call returns.
std::string ReplaceFile(const FilePath& from, const FilePath& to) {
  for (int attempt = 1;; ++attempt) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return {};
    const DWORD code = ::GetLastError();
    if (!HeldByAnotherHandle(code) || attempt == kReplaceTries) {
      return std::system_category().message(static_cast<int>(code)) + ", " + std::to_string(code);
    }
    ::Sleep(kReplaceRetryMs);
  }
}

const FileOperations kSystemOperations = {&OpenForWriting, &WriteSome, &FlushToDisk, &CloseFile, &ReplaceFile};

}  // namespace

const FileOperations& SystemFileOperations() { return kSystemOperations; }

FileInfo InspectFile(const FilePath& file) {
  struct _stat64 info {};
  if (_wstat64(file.c_str(), &info) != 0) return {errno, false, 0};
  return {0, (info.st_mode & _S_IFDIR) != 0, static_cast<std::uint64_t>(info.st_size)};
}

std::FILE* OpenFileForReading(const FilePath& file) { return _wfopen(file.c_str(), L"rb"); }

bool IsReadOnlyFile(const FilePath& file) { return _waccess(file.c_str(), 0) == 0 && _waccess(file.c_str(), 2) != 0; }

void RemoveFile(const FilePath& file) { _wunlink(file.c_str()); }

// The runtime has no symbolic links to follow here.
FilePath ResolveLinkTarget(const FilePath& file) { return file; }

std::string FileNameForMessage(const FilePath& file) { return win32::Utf8FromWide(file); }

}  // namespace zarn
