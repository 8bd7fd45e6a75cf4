#pragma once
// An INI document held in memory. All text is code page 932 bytes, never reinterpreted.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/FilePath.h"
#include "core/KeyIndex.h"

namespace zarn {

class Profile {
 public:
  // Loads the file if it exists, else starts empty; writes nothing.
  explicit Profile(FilePath file);

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  std::vector<std::string> ReadSection(std::string_view section) const;
  std::vector<std::string> ReadSections() const;
  bool SectionExists(std::string_view section) const;
  void DeleteKey(std::string_view section, std::string_view key);
  void Clear();
  // The written form, one line per element, without line ends.
  std::vector<std::string> GetStrings() const;
  void SetStrings(const std::vector<std::string>& lines);
  // Throws zarn::Error naming the file on failure; the previous file then stays byte-for-byte whole.
  // A file that was loaded in UTF-16 is never replaced (see Load).
  void UpdateFile();
  void Rename(const FilePath& file, bool reload);

  const FilePath& FileName() const { return file_; }

 private:
  // Reads fill caches (a section's lines, its key index), so even const calls change members: a
  // profile belongs to one thread, as everything in the program does.

  // Where a piece of text lies in text_.
  struct Span {
    std::size_t offset = 0;
    std::size_t size = 0;
  };
  struct Line {
    Span text;
    std::size_t keySize = 0;           // bytes before the first "=", or kNoKey for a line without one
    mutable std::size_t previous = 0;  // the nearest earlier live line with the same key, or kNone
    bool live = true;
  };
  struct Section {
    Span name;
    // A section read from a file keeps its lines as they stand there until they are first needed:
    // a program that only lists the workbenches never pays for reading 50,000 records.
    mutable Span unread;
    mutable bool pending = false;
    mutable std::vector<Line> lines;  // deleted lines stay as tombstones until there are many
    mutable std::size_t liveLines = 0;
    // The last live line of each key, and the lines' previous links: built on the first lookup.
    mutable bool indexed = false;
    mutable KeyIndex keys;
  };
  static constexpr std::size_t kNoKey = static_cast<std::size_t>(-1);
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  std::string_view View(Span span) const { return std::string_view(text_).substr(span.offset, span.size); }
  std::string_view KeyOf(const Line& line) const;
  Span Store(std::string_view text);
  Span Store(std::string_view key, std::string_view value);  // key "=" value
  void Parse(std::string bytes);
  void ReadLines(const Section& section) const;
  void Load();
  Section& AddSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  void Index(const Section& section) const;
  std::size_t FindLine(const Section& section, std::string_view key) const;
  // The key index's view of a section's lines.
  auto KeysOf(const Section& section) const {
    return [this, &section](std::size_t line) { return KeyOf(section.lines[line]); };
  }
  void Discard(Span span);
  void DropTombstones(Section& section);
  void CompactText();

  FilePath file_;
  // The file was in UTF-16 when loaded: memory never held what it says.
  bool loadedUtf16_ = false;
  // Every section name and line, packed in one buffer: a large file is then read with one
  // allocation instead of one per line. Replaced and deleted text stays until CompactText.
  mutable std::string text_;
  mutable std::size_t garbage_ = 0;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> last such section
};

}  // namespace zarn
