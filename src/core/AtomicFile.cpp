#include "core/AtomicFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <system_error>

#include "core/Error.h"
#include "core/UiText.h"
#include "core/ports/FileSystem.h"

namespace zarn {
namespace {

std::string ErrnoText(int code) { return std::generic_category().message(code); }

[[noreturn]] void FailToRead(const FilePath& file, const std::string& reason) {
  throw Error(std::string(text::kCannotRead) + FileNameForMessage(file) + " (" + reason + ")");
}

const FileOperations* operations = &SystemFileOperations();

}  // namespace

void FailToWrite(const FilePath& file, const std::string& reason) {
  throw Error(std::string(text::kCannotWrite) + FileNameForMessage(file) + " (" + reason + ")");
}

void UseFileOperations(const FileOperations* replacement) {
  operations = replacement != nullptr ? replacement : &SystemFileOperations();
}

FilePath TemporaryFileFor(const FilePath& file) {
  static constexpr FilePath::value_type kSuffix[] = {'.', 't', 'm', 'p', 0};
  return file + kSuffix;
}

std::optional<std::string> ReadFileBytes(const FilePath& file) {
  const FileInfo info = InspectFile(file);
  if (info.error == ENOENT || info.error == ENOTDIR) return std::nullopt;
  if (info.error != 0) FailToRead(file, ErrnoText(info.error));
  if (info.directory) FailToRead(file, ErrnoText(EISDIR));

  std::FILE* stream = OpenFileForReading(file);
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
    : file_(file), target_(ResolveLinkTarget(file)), temporary_(TemporaryFileFor(target_)) {
  // A file the user made read-only keeps its contents. Replacing it goes through its folder, which
  // not every system refuses for a read-only file, so it is asked here.
  if (IsReadOnlyFile(target_)) FailToWrite(file_, ErrnoText(EACCES));
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
