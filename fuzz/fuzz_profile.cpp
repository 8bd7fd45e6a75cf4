// The profile against a plain model of the same rules: a vector of sections searched from the back.
// The input is a file's bytes followed by operations; after every step the profile must say what
// the model says, and its written form must read back to itself.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/AnsiText.h"
#include "core/Error.h"
#include "core/Profile.h"

namespace {

namespace fs = std::filesystem;

// The broken invariant's line goes to the report before the abort. (A macro: clang 14 has no
// std::source_location.)
#define Check(condition)                                                           \
  do {                                                                             \
    if (!(condition)) {                                                            \
      std::fprintf(stderr, "invariant broken at line %d: %s\n", __LINE__, #condition); \
      std::abort();                                                                \
    }                                                                              \
  } while (false)

class Model {
 public:
  // The reading rules, byte by byte, without any of the profile's shortcuts.
  explicit Model(std::string_view bytes) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
      if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') continue;
      ReadLine(bytes.substr(start, i - start));
      if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }

  std::optional<std::string> Read(std::string_view section, std::string_view key) const {
    const Section* found = Find(section);
    if (found == nullptr) return std::nullopt;
    const int line = FindLine(*found, key);
    if (line < 0) return std::nullopt;
    const std::string& text = found->lines[static_cast<std::size_t>(line)];
    return text.substr(text.find('=') + 1);
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) {
    Section* found = Find(section);
    if (found == nullptr) found = &sections_.emplace_back(Section{std::string(section), {}});
    const std::string line = std::string(key) + "=" + std::string(value);
    const int index = FindLine(*found, key);
    if (index < 0) {
      found->lines.push_back(line);
    } else {
      found->lines[static_cast<std::size_t>(index)] = line;
    }
  }
  void Delete(std::string_view section, std::string_view key) {
    Section* found = Find(section);
    if (found == nullptr) return;
    const int index = FindLine(*found, key);
    if (index >= 0) found->lines.erase(found->lines.begin() + index);
  }
  std::vector<std::string> Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* found = Find(section)) {
      for (const std::string& line : found->lines) {
        const std::size_t equals = line.find('=');
        keys.push_back(equals == std::string::npos ? std::string() : line.substr(0, equals));
      }
    }
    return keys;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) names.push_back(section.name);
    return names;
  }
  std::vector<std::string> Written() const {
    std::vector<std::string> lines;
    for (const Section& section : sections_) {
      lines.push_back("[" + section.name + "]");
      lines.insert(lines.end(), section.lines.begin(), section.lines.end());
      lines.emplace_back();
    }
    return lines;
  }
  void Clear() { sections_.clear(); }

 private:
  struct Section {
    std::string name;
    std::vector<std::string> lines;
  };

  static std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
    return text;
  }

  void ReadLine(std::string_view raw) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line[0] == ';') return;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections_.push_back(Section{std::string(Trim(line.substr(1, line.size() - 2))), {}});
      return;
    }
    if (sections_.empty()) return;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      sections_.back().lines.emplace_back(line);
    } else {
      sections_.back().lines.push_back(std::string(Trim(line.substr(0, equals))) + "=" +
                                       std::string(Trim(line.substr(equals + 1))));
    }
  }

  const Section* Find(std::string_view name) const {
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
      if (zarn::EqualsIgnoreCase(it->name, name)) return &*it;
    }
    return nullptr;
  }
  Section* Find(std::string_view name) { return const_cast<Section*>(std::as_const(*this).Find(name)); }

  static int FindLine(const Section& section, std::string_view key) {
    for (int i = static_cast<int>(section.lines.size()) - 1; i >= 0; --i) {
      const std::string& line = section.lines[static_cast<std::size_t>(i)];
      const std::size_t equals = line.find('=');
      if (equals != std::string::npos && zarn::EqualsIgnoreCase(std::string_view(line).substr(0, equals), key)) return i;
    }
    return -1;
  }

  std::vector<Section> sections_;
};

// This process's file for the file round trips, on a RAM disk when there is one. Removed after
// every input: libFuzzer may end without running exit handlers.
const fs::path& WorkFile() {
  static const fs::path file = (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
                               ("zarn-fuzz-profile-" + std::to_string(::getpid()) + ".ini");
  return file;
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const fs::path kNoFile = "/nonexistent-zarn-fuzz/none.ini";

// A name or key: one already present (so lookups hit), that one in another case, or new bytes.
std::string PickName(FuzzedDataProvider& input, const std::vector<std::string>& present) {
  const int choice = input.ConsumeIntegralInRange(0, 3);
  if (choice < 2 && !present.empty()) {
    const std::string& name = present[input.ConsumeIntegralInRange<std::size_t>(0, present.size() - 1)];
    return choice == 0 ? name : zarn::FoldCase(name);
  }
  return input.ConsumeRandomLengthString(12);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string bytes = input.ConsumeRandomLengthString(8192);

  zarn::Profile profile(kNoFile);
  profile.SetStrings({bytes});
  Model model(bytes);
  Check(profile.GetStrings() == model.Written());
  Check(profile.ReadSections() == model.Names());

  // Loaded from a file, the same bytes give the same profile, but for the UTF-8 byte-order mark
  // another editor may have put first: that reads as blanks.
  const fs::path& file = WorkFile();
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string unmarked = bytes;
  if (unmarked.starts_with("\xEF\xBB\xBF")) unmarked.replace(0, 3, 3, ' ');
  Check(zarn::Profile(file).GetStrings() == Model(unmarked).Written());

  // The written form reads back to itself.
  zarn::Profile reread(kNoFile);
  reread.SetStrings(profile.GetStrings());
  Check(reread.GetStrings() == profile.GetStrings());

  for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
    const std::vector<std::string> names = model.Names();
    const std::string section = PickName(input, names);
    const std::string key = PickName(input, model.Keys(section));
    switch (input.ConsumeIntegralInRange(0, 7)) {
      case 0:
      case 1: {
        const std::string value = input.ConsumeRandomLengthString(16);
        profile.WriteString(section, key, value);
        model.Write(section, key, value);
        break;
      }
      case 2:
        profile.DeleteKey(section, key);
        model.Delete(section, key);
        break;
      case 3: {
        const std::int32_t value = input.ConsumeIntegral<std::int32_t>();
        profile.WriteInteger(section, key, value);
        model.Write(section, key, std::to_string(value));
        // A key holding "=" names a line whose key is only its first part, so it finds nothing.
        Check(profile.ReadInteger(section, key, value ^ 1) == (key.find('=') == std::string::npos ? value : value ^ 1));
        break;
      }
      case 4: {
        const std::optional<std::string> expected = model.Read(section, key);
        const std::int32_t fallback = input.ConsumeIntegral<std::int32_t>();
        const std::int32_t number = expected ? zarn::ParseInteger(*expected).value_or(fallback) : fallback;
        Check(profile.ReadInteger(section, key, fallback) == number);
        const bool flag = (fallback & 1) != 0;
        const std::int32_t flagNumber = expected ? zarn::ParseInteger(*expected).value_or(flag ? 1 : 0) : (flag ? 1 : 0);
        Check(profile.ReadBool(section, key, flag) == (flagNumber != 0));
        break;
      }
      case 5:
        if (input.ConsumeIntegralInRange(0, 15) == 0) {
          profile.Clear();
          model.Clear();
        }
        break;
      case 6: {
        profile.Rename(file, false);
        profile.UpdateFile();
        std::string expected;
        for (const std::string& line : profile.GetStrings()) expected += line + "\r\n";
        Check(ReadAll(file) == expected);
        Check(!fs::exists(file.string() + ".tmp"));
        Check(zarn::Profile(file).GetStrings() == Model(expected).Written());
        break;
      }
      default:
        break;
    }
    // Every step ends with the profile and the model agreeing on what this name and key hold.
    const std::optional<std::string> value = model.Read(section, key);
    Check(profile.ReadString(section, key, "\x01") == value.value_or("\x01") || (value && *value == "\x01"));
    Check(profile.ReadSection(section) == model.Keys(section));
    Check(profile.SectionExists(section) == !model.Keys(section).empty());
  }
  Check(profile.GetStrings() == model.Written());
  Check(profile.ReadSections() == model.Names());
  std::error_code ec;
  fs::remove(file, ec);
  return 0;
}
