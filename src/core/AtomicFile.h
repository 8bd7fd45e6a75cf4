#pragma once
// Whole-file reads and writes for the profile files. A write either replaces the file completely or
// leaves the old one as it was: a half-written settings or workbench file would lose the user's data.
#include <optional>
#include <string>
#include <string_view>

#include "core/FilePath.h"
#include "core/ports/FileSystem.h"

namespace zarn {

// The file's bytes; nullopt when there is no such file. Throws zarn::Error naming the file when it
// exists but cannot be read (a directory, no access, a read error), so that a caller never mistakes
// an unreadable file for an empty one and later writes an empty one over it.
std::optional<std::string> ReadFileBytes(const FilePath& file);

// Writes the bytes to a temporary file beside the target, flushes it to the disk and then puts it in
// the target's place. Throws zarn::Error naming the file on failure; the target is then untouched and
// the temporary file is gone.
void WriteFileAtomically(const FilePath& file, std::string_view bytes);

// The same in pieces, for content too large to build in memory first: Append buffers and writes in
// blocks, Commit makes the file take the target's place. Anything that throws, and a writer
// destroyed without Commit, leaves the target untouched and removes the temporary file.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const FilePath& file);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Append(std::string_view bytes);
  void Commit();

 private:
  void WriteOut(std::string_view bytes);
  [[noreturn]] void Abandon(int code);
  [[noreturn]] void Abandon(const std::string& reason);

  FilePath file_;    // as the caller named it, for messages
  FilePath target_;  // the file replaced (a link's destination)
  FilePath temporary_;
  int fd_ = -1;
  bool open_ = false;  // the temporary file exists and is ours to remove
  std::string buffer_;
};

// Where WriteFileAtomically puts the bytes before they replace the file.
FilePath TemporaryFileFor(const FilePath& file);

// Throws the zarn::Error of a failed write: the file's name and the reason.
[[noreturn]] void FailToWrite(const FilePath& file, const std::string& reason);

// For tests: the operations every writer uses from now on; nullptr puts the system's back.
void UseFileOperations(const FileOperations* operations);

}  // namespace zarn
