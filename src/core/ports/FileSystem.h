#pragma once
// The file system's primitives that atomic reads and writes are made of. Each platform layer
// defines these functions (the Win32 layer with the wide API, the POSIX layer with its calls); a
// program links exactly one of them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/FilePath.h"

namespace zarn {

// The system calls a write is made of, each failing as the system's call does (-1 with errno set;
// replace answers the reason, empty on success). A test puts its own in place to make one step fail
// as a full disk or a vanished share would; the program always uses the system's.
struct FileOperations {
  int (*open)(const FilePath& file);  // creates or truncates the temporary file; the descriptor
  long long (*write)(int fd, const char* data, std::size_t size);  // how many bytes it took
  int (*flush)(int fd);
  int (*close)(int fd);
  std::string (*replace)(const FilePath& from, const FilePath& to);
};
const FileOperations& SystemFileOperations();

struct FileInfo {
  int error = 0;  // errno of the look-up, 0 when the file is there
  bool directory = false;
  std::uint64_t size = 0;
};
FileInfo InspectFile(const FilePath& file);
std::FILE* OpenFileForReading(const FilePath& file);
// The file exists and nobody may write it.
bool IsReadOnlyFile(const FilePath& file);
void RemoveFile(const FilePath& file);
// A symbolic link's destination, so that the file it names is replaced and the link stays a link;
// the name as given where there is no link.
FilePath ResolveLinkTarget(const FilePath& file);
// The file's name for a message, in UTF-8.
std::string FileNameForMessage(const FilePath& file);

}  // namespace zarn
