#pragma once
// An INI document held in memory. All text is code page 932 bytes, never reinterpreted.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The number rule of the profile files: decimal with an optional sign, or hexadecimal introduced by
// "$", "x", "X", "0x" or "0X" (up to FFFFFFFF, taken as two's complement). nullopt when it fails.
std::optional<std::int32_t> ParseInteger(std::string_view text);

class Profile {
 public:
  // Loads the file if it exists, else starts empty; writes nothing.
  explicit Profile(std::filesystem::path file);

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
  void UpdateFile();
  void Rename(const std::filesystem::path& file, bool reload);

  const std::filesystem::path& FileName() const { return file_; }

 private:
  // Filled in by the implementation.
  std::filesystem::path file_;
};

}  // namespace zarn
