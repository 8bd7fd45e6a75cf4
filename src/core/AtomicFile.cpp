#include "core/AtomicFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <system_error>

#include "core/Error.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
// The one call the C runtime has no equivalent for. Declared here rather than pulling <windows.h>
// into the core.
extern "C" __declspec(dllimport) int __stdcall MoveFileExW(const wchar_t* existing, const wchar_t* replacement,
                                                           unsigned long flags);
extern "C" __declspec(dllimport) unsigned long __stdcall GetLastError();
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#endif

namespace zarn {
namespace {

// The file's name for a message, in UTF-8. Encoded here rather than through path::u8string(), whose
// conversion facets would more than double the size of the Windows program.
std::string Utf8(const FilePath& file) {
#ifdef _WIN32
  const std::wstring& native = file;
  std::string text;
  for (std::size_t i = 0; i < native.size(); ++i) {
    char32_t c = static_cast<char16_t>(native[i]);
    const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < native.size() && native[i + 1] >= 0xDC00 &&
                      native[i + 1] < 0xE000;
    if (pair) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(native[++i]) - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else if (c < 0x800) {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      text += static_cast<char>(0xE0 | (c >> 12));
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      text += static_cast<char>(0xF0 | (c >> 18));
      text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return text;
#else
  return file;
#endif
}

std::string ErrnoText(int code) { return std::generic_category().message(code); }

[[noreturn]] void FailToRead(const FilePath& file, const std::string& reason) {
  throw Error("ファイルを読み込めません: " + Utf8(file) + " (" + reason + ")");
}

#ifdef _WIN32
constexpr unsigned long kMoveFileReplaceExisting = 0x1;
constexpr unsigned long kMoveFileWriteThrough = 0x8;

std::FILE* OpenForReading(const FilePath& file) { return _wfopen(file.c_str(), L"rb"); }
int OpenForWriting(const FilePath& file) {
  return _wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
long long WriteSome(int fd, const char* data, std::size_t size) {
  const unsigned int chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned int>(size);
  return _write(fd, data, chunk);
}
int FlushToDisk(int fd) { return _commit(fd); }
bool IsReadOnly(const FilePath& file) { return _waccess(file.c_str(), 0) == 0 && _waccess(file.c_str(), 2) != 0; }
int CloseFile(int fd) { return _close(fd); }
void RemoveFile(const FilePath& file) { _wunlink(file.c_str()); }
// Returns an empty text on success, else the reason.
std::string ReplaceFile(const FilePath& from, const FilePath& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), kMoveFileReplaceExisting | kMoveFileWriteThrough)) return {};
  const auto code = static_cast<int>(GetLastError());
  return std::system_category().message(code) + ", " + std::to_string(code);
}
#else
std::FILE* OpenForReading(const FilePath& file) { return std::fopen(file.c_str(), "rb"); }
int OpenForWriting(const FilePath& file) {
  return ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
}
long long WriteSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
int FlushToDisk(int fd) { return ::fsync(fd); }
bool IsReadOnly(const FilePath& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}
int CloseFile(int fd) { return ::close(fd); }
void RemoveFile(const FilePath& file) { ::unlink(file.c_str()); }
std::string ReplaceFile(const FilePath& from, const FilePath& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return ErrnoText(errno);
}
#endif

// A link is followed, so the file it names is replaced and the link stays a link. (The Windows
// runtime has no symbolic links to follow here.)
FilePath ResolveTarget(const FilePath& file) {
#ifdef _WIN32
  return file;
#else
  std::error_code ec;
  if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) return file;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(file, ec);
  return ec ? file : resolved.native();
#endif
}

const FileOperations kSystemOperations = {&OpenForWriting, &WriteSome, &FlushToDisk, &CloseFile, &ReplaceFile};
const FileOperations* operations = &kSystemOperations;

struct FileInfo {
  int error = 0;  // errno of the look-up, 0 when the file is there
  bool directory = false;
  std::uint64_t size = 0;
};

FileInfo Inspect(const FilePath& file) {
#ifdef _WIN32
  struct _stat64 info {};
  if (_wstat64(file.c_str(), &info) != 0) return {errno, false, 0};
  return {0, (info.st_mode & _S_IFDIR) != 0, static_cast<std::uint64_t>(info.st_size)};
#else
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return {errno, false, 0};
  return {0, S_ISDIR(info.st_mode), static_cast<std::uint64_t>(info.st_size)};
#endif
}

}  // namespace

void FailToWrite(const FilePath& file, const std::string& reason) {
  throw Error("ファイルに書き込めません: " + Utf8(file) + " (" + reason + ")");
}

const FileOperations& SystemFileOperations() { return kSystemOperations; }

void UseFileOperations(const FileOperations* replacement) {
  operations = replacement != nullptr ? replacement : &kSystemOperations;
}

FilePath TemporaryFileFor(const FilePath& file) {
  static constexpr FilePath::value_type kSuffix[] = {'.', 't', 'm', 'p', 0};
  return file + kSuffix;
}

std::optional<std::string> ReadFileBytes(const FilePath& file) {
  const FileInfo info = Inspect(file);
  if (info.error == ENOENT || info.error == ENOTDIR) return std::nullopt;
  if (info.error != 0) FailToRead(file, ErrnoText(info.error));
  if (info.directory) FailToRead(file, ErrnoText(EISDIR));

  std::FILE* stream = OpenForReading(file);
  if (stream == nullptr) FailToRead(file, ErrnoText(errno));
  // Read straight into place at the size the file has; a file that grows meanwhile is read on.
  std::string bytes;
  if (info.size < bytes.max_size()) bytes.resize(static_cast<std::size_t>(info.size));
  std::size_t filled = std::fread(bytes.data(), 1, bytes.size(), stream);
  if (filled == bytes.size() && !std::ferror(stream)) {
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
      bytes.append(buffer, got);
      filled += got;
    }
  }
  bytes.resize(filled);
  const bool failed = std::ferror(stream) != 0;
  const int code = errno;
  std::fclose(stream);
  if (failed) FailToRead(file, ErrnoText(code));
  return bytes;
}

namespace {
constexpr std::size_t kWriteBlock = 1 << 18;
}  // namespace

AtomicFileWriter::AtomicFileWriter(const FilePath& file)
    : file_(file), target_(ResolveTarget(file)), temporary_(TemporaryFileFor(target_)) {
  // A file the user made read-only keeps its contents. Replacing it goes through its folder, which
  // not every system refuses for a read-only file, so it is asked here.
  if (IsReadOnly(target_)) FailToWrite(file_, ErrnoText(EACCES));
  fd_ = operations->open(temporary_);
  if (fd_ < 0) FailToWrite(file_, ErrnoText(errno));  // nothing created, nothing to remove
  open_ = true;
  buffer_.reserve(kWriteBlock);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) operations->close(fd_);
  if (open_) RemoveFile(temporary_);
}

void AtomicFileWriter::Abandon(int code) { Abandon(ErrnoText(code)); }

void AtomicFileWriter::Abandon(const std::string& reason) {
  if (fd_ >= 0) operations->close(fd_);
  fd_ = -1;
  if (open_) RemoveFile(temporary_);
  open_ = false;
  FailToWrite(file_, reason);
}

void AtomicFileWriter::WriteOut(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const long long written = operations->write(fd_, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Abandon(written < 0 ? errno : ENOSPC);
    done += static_cast<std::size_t>(written);
  }
}

void AtomicFileWriter::Append(std::string_view bytes) {
  if (!open_) FailToWrite(file_, ErrnoText(EBADF));
  if (buffer_.size() + bytes.size() > kWriteBlock) {
    WriteOut(buffer_);
    buffer_.clear();
    if (bytes.size() >= kWriteBlock) {
      WriteOut(bytes);
      return;
    }
  }
  buffer_.append(bytes);
}

void AtomicFileWriter::Commit() {
  if (!open_) FailToWrite(file_, ErrnoText(EBADF));
  WriteOut(buffer_);
  buffer_.clear();
  // Without this a crash soon after the rename could leave an empty file where the old one was.
  if (operations->flush(fd_) != 0) Abandon(errno);
  const int closed = operations->close(fd_);
  fd_ = -1;
  if (closed != 0) Abandon(errno);
  const std::string reason = operations->replace(temporary_, target_);
  if (!reason.empty()) Abandon(reason);
  open_ = false;
}

void WriteFileAtomically(const FilePath& file, std::string_view bytes) {
  AtomicFileWriter writer(file);
  writer.Append(bytes);
  writer.Commit();
}

}  // namespace zarn
