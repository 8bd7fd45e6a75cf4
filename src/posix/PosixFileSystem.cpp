// The file primitives with POSIX calls, for the native build (tests, benchmarks, fuzzing).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/ports/FileSystem.h"

namespace zarn {
namespace {

int OpenForWriting(const FilePath& file) {
  return ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
}
long long WriteSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
int FlushToDisk(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
std::string ReplaceFile(const FilePath& from, const FilePath& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return std::generic_category().message(errno);
}

const FileOperations kSystemOperations = {&OpenForWriting, &WriteSome, &FlushToDisk, &CloseFile, &ReplaceFile};

}  // namespace

const FileOperations& SystemFileOperations() { return kSystemOperations; }

FileInfo InspectFile(const FilePath& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return {errno, false, 0};
  return {0, S_ISDIR(info.st_mode), static_cast<std::uint64_t>(info.st_size)};
}

std::FILE* OpenFileForReading(const FilePath& file) { return std::fopen(file.c_str(), "rb"); }

bool IsReadOnlyFile(const FilePath& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void RemoveFile(const FilePath& file) { ::unlink(file.c_str()); }

FilePath ResolveLinkTarget(const FilePath& file) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) return file;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(file, ec);
  return ec ? file : resolved.native();
}

std::string FileNameForMessage(const FilePath& file) { return file; }

}  // namespace zarn
