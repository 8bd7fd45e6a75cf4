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
#include "core/ProfileNumber.h"
#include "ProfileModel.h"

namespace {

namespace fs = std::filesystem;

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
        const std::int32_t flagNumber =
            expected ? zarn::ParseInteger(*expected).value_or(flag ? 1 : 0) : (flag ? 1 : 0);
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
