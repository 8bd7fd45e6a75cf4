// The profile reader alone, with no file and no edits, so that it sees many more inputs a second than
// the profile target does: whatever the bytes, the profile reads what the model reads, every key it
// lists gives the model's value and number, and the written form reads back to itself.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Profile.h"
#include "core/ProfileNumber.h"
#include "ProfileModel.h"

namespace {

const zarn::FilePath kNoFile = "/nonexistent-zarn-fuzz/none.ini";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  zarn::Profile profile(kNoFile);
  profile.SetStrings({bytes});
  const Model model(bytes);
  Check(profile.GetStrings() == model.Written());
  const std::vector<std::string> names = model.Names();
  Check(profile.ReadSections() == names);
  for (const std::string& name : names) {
    const std::vector<std::string> keys = model.Keys(name);
    Check(profile.ReadSection(name) == keys);
    for (const std::string& key : keys) {
      const std::optional<std::string> value = model.Read(name, key);
      Check(profile.ReadString(name, key, "\x01") == value.value_or("\x01") || (value && *value == "\x01"));
      const std::int32_t number = value ? zarn::ParseInteger(*value).value_or(-7) : -7;
      Check(profile.ReadInteger(name, key, -7) == number);
    }
  }
  zarn::Profile reread(kNoFile);
  reread.SetStrings(profile.GetStrings());
  Check(reread.GetStrings() == profile.GetStrings());
  return 0;
}
