// A save interrupted at any step of the write (creating the temporary file, each block written, the
// flush, the close, the replace), on a settings file and on a workbench file large enough to be
// written in several blocks: the old file stays byte for byte, one error says so, the profile keeps
// its new content and the next save writes it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/AtomicFile.h"
#include "core/Error.h"
#include "core/Profile.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;

constexpr int kRunsPerFile = 1000;
constexpr unsigned kSeed = 20261209;  // a failing run is found again by its number

// How the chosen write fails: refused outright, taking nothing (a full disk), or taking part of the
// bytes first and failing on the rest, as a disk filling up mid-block does.
enum class WriteFault { Error, Nothing, PartThenError };

// The system's operations, except that the call numbered failAt fails. In a dry run nothing reaches
// the disk and the calls are only counted. The flush is counted but not made (12 ms each on this
// machine, for nothing these runs check); the other tests of the profile flush for real.
struct Injector {
  bool dryRun = false;
  int calls = 0;
  int failAt = 0;  // 1-based; 0 fails nothing
  int error = EIO;
  WriteFault writeFault = WriteFault::Error;
  bool hit = false;
  std::string step;  // the step that failed
};
Injector injector;

bool FailsNow(const char* step) {
  if (++injector.calls != injector.failAt) return false;
  injector.step = step;
  injector.hit = true;
  errno = injector.error;
  return true;
}

constexpr int kDryFd = 1 << 20;

int Open(const FilePath& file) {
  if (FailsNow("open")) return -1;
  return injector.dryRun ? kDryFd : SystemFileOperations().open(file);
}

long long Write(int fd, const char* data, std::size_t size) {
  if (injector.calls + 1 == injector.failAt && injector.writeFault == WriteFault::PartThenError && size > 1) {
    // Half the bytes go; the failure moves to the call that writes the rest.
    ++injector.calls;
    ++injector.failAt;
    injector.writeFault = WriteFault::Error;
    return injector.dryRun ? static_cast<long long>(size / 2) : SystemFileOperations().write(fd, data, size / 2);
  }
  if (FailsNow("write")) return injector.writeFault == WriteFault::Nothing ? 0 : -1;
  return injector.dryRun ? static_cast<long long>(size) : SystemFileOperations().write(fd, data, size);
}

int Flush(int) { return FailsNow("flush") ? -1 : 0; }

int Close(int fd) {
  const bool fails = FailsNow("close");
  // The descriptor is released either way, as close does when it reports an error.
  if (!injector.dryRun) SystemFileOperations().close(fd);
  if (fails) errno = injector.error;
  return fails ? -1 : 0;
}

std::string Replace(const FilePath& from, const FilePath& to) {
  if (FailsNow("replace")) return std::strerror(injector.error);
  return injector.dryRun ? std::string() : SystemFileOperations().replace(from, to);
}

const FileOperations kInjecting = {&Open, &Write, &Flush, &Close, &Replace};

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

void WriteAll(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string WrittenForm(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

std::string RecordText(std::mt19937& random) {
  return "C:\\Users\\someone\\Documents\\\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67\\" +
         std::to_string(random() % 100000) + "\t100\t50\t800\t600\t1\t-1\t-1\t-8\t-8\t50\t100\t900\t650";
}

// The settings file as the user left it (a comment no rewrite keeps), and the exit's save.
std::string OldSettings(std::mt19937&) {
  return "; moved by hand\r\n[Config]\r\nLeft=10\r\nTop=20\r\nShowMode=2\r\nMoniterMode=1\r\n";
}
void SaveSettings(Profile& settings, std::mt19937& random) {
  for (const char* key : {"Left", "Top", "Width", "Height"})
    settings.WriteInteger("Config", key, static_cast<std::int32_t>(random() % 2000));
  settings.WriteInteger("Config", "UponDef", static_cast<std::int32_t>(random() % 2));
}

// A workbench file of about 300 KB: the writer's blocks are 256 KB, so a save makes several writes.
std::string OldWorkBenches(std::mt19937& random) {
  std::string text = "; kept by hand\r\n";
  for (int section = 0; section < 8; ++section) {
    text += "[Bench " + std::to_string(section) + "]\r\n";
    for (int record = 1; record <= 350; ++record) text += std::to_string(record) + "=" + RecordText(random) + "\r\n";
    text += "Last=0\r\n";
  }
  return text;
}
// A save of one workbench, as the program does it: its records replaced, then the Last marks. Its
// size varies from run to run, so the number of blocks does too.
void SaveWorkBench(Profile& workBenches, std::mt19937& random) {
  const std::string name = "Bench " + std::to_string(random() % 10);
  for (const std::string& key : workBenches.ReadSection(name)) workBenches.DeleteKey(name, key);
  const int records = static_cast<int>(random() % 1500);
  for (int record = 1; record <= records; ++record)
    workBenches.WriteString(name, std::to_string(record), RecordText(random));
  for (const std::string& section : workBenches.ReadSections()) workBenches.WriteBool(section, "Last", false);
  workBenches.WriteBool(name, "Last", true);
}

struct FileCase {
  const char* name;
  std::string (*old)(std::mt19937&);
  void (*save)(Profile&, std::mt19937&);
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }

class WriteFaultTest : public ::testing::TestWithParam<FileCase> {
 protected:
  void SetUp() override {
    // In memory where the system has such a folder: a disk's file system may write each replaced
    // file out at once (ext4 does on rename), which made these runs a minute long instead of seconds.
    std::error_code ec;
    const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    folder_ = base / ("zarn-write-faults-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    UseFileOperations(nullptr);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::set<fs::path> Listing() const {
    std::set<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.insert(entry.path().filename());
    return names;
  }
  fs::path folder_;
};

TEST_P(WriteFaultTest, EveryStepFailingLeavesTheOldFileWholeAndTheNextSaveWrites) {
  const FileCase& c = GetParam();
  const fs::path file = folder_ / (std::string("Zarn.") + c.name);
  std::mt19937 random(kSeed);
  const std::string old = c.old(random);
  std::map<std::string, int> stepsFailed;
  UseFileOperations(&kInjecting);

  for (int run = 0; run < kRunsPerFile; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    WriteAll(file, old);
    Profile profile(file.native());
    c.save(profile, random);
    const std::vector<std::string> content = profile.GetStrings();

    injector = Injector{};
    injector.dryRun = true;
    profile.UpdateFile();
    const int steps = injector.calls;
    ASSERT_EQ(ReadAll(file), old) << "the dry run wrote";

    const int errors[] = {EIO, ENOSPC, EACCES, EDQUOT};
    injector = Injector{};
    injector.failAt = static_cast<int>(1 + random() % steps);
    injector.error = errors[random() % 4];
    injector.writeFault = static_cast<WriteFault>(random() % 3);
    int thrown = 0;
    try {
      profile.UpdateFile();
    } catch (const Error& error) {
      ++thrown;
      EXPECT_NE(std::string(error.what()).find(file.native()), std::string::npos) << error.what();
    }
    ASSERT_TRUE(injector.hit) << "call " << injector.failAt << " of " << steps;
    SCOPED_TRACE("failed at " + injector.step + ", call " + std::to_string(injector.failAt) + " of " +
                 std::to_string(steps));
    ++stepsFailed[injector.step];
    ASSERT_EQ(thrown, 1);
    ASSERT_EQ(ReadAll(file), old);
    ASSERT_EQ(Listing(), std::set<fs::path>{file.filename()});
    ASSERT_EQ(profile.GetStrings(), content);

    injector = Injector{};
    profile.UpdateFile();
    ASSERT_EQ(ReadAll(file), WrittenForm(content));
    ASSERT_EQ(Listing(), std::set<fs::path>{file.filename()});
  }
  for (const char* step : {"open", "write", "flush", "close", "replace"}) {
    EXPECT_GT(stepsFailed[step], 0) << step;
    RecordProperty(step, stepsFailed[step]);
  }
}

INSTANTIATE_TEST_SUITE_P(Profiles, WriteFaultTest,
                         ::testing::Values(FileCase{"ini", &OldSettings, &SaveSettings},
                                           FileCase{"wbf", &OldWorkBenches, &SaveWorkBench}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zarn
