// Loading and saving a large workbench file, each against moving the same bytes raw, measured in
// the same run. The goal: a profile loads and saves within three times the raw cost.
//
// The workbench file is about 5 MB: 50,000 folder windows in five workbenches, keys 1..N and Last,
// each record 14 TAB-separated fields with a Japanese path in code page 932.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/Profile.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWorkbenches = 5;
constexpr int kWindowsPerWorkbench = 10000;

// Folder names as code page 932 bytes: ドキュメント, プロジェクト, 資料, 写真, 表計算, 設計書,
// ダウンロード, 会議. Several end in a byte that looks like a backslash.
const char* const kFolders[] = {
    "\x83\x68\x83\x4c\x83\x85\x83\x81\x83\x93\x83\x67",
    "\x83\x76\x83\x8d\x83\x57\x83\x46\x83\x4e\x83\x67",
    "\x8e\x91\x97\xbf",
    "\x8e\xca\x90\x5e",
    "\x95\x5c\x8c\x76\x8e\x5a",
    "\x90\xdd\x8c\x76\x8f\x91",
    "\x83\x5f\x83\x45\x83\x93\x83\x8d\x81\x5b\x83\x68",
    "\x89\xef\x8b\x63",
};

std::string RecordLine(std::mt19937& random, int index) {
  auto folder = [&] { return std::string(kFolders[random() % std::size(kFolders)]); };
  auto number = [&](int low, int high) { return std::to_string(low + static_cast<int>(random() % (high - low + 1))); };
  std::string line = "C:\\Users\\user\\" + folder() + "\\" + folder() + std::to_string(index) + "\\" + folder();
  const std::string left = number(-1920, 1800);
  const std::string top = number(0, 1000);
  for (const std::string& field :
       {left, top, number(200, 1600), number(150, 1000), number(1, 3), std::string("-1"), std::string("-1"),
        std::string("-32000"), std::string("-32000"), top, left, number(200, 3000), number(150, 2000)}) {
    line += '\t';
    line += field;
  }
  return line;
}

struct Workload {
  fs::path directory;
  fs::path workbenchFile;
  fs::path rawFile;
  std::string bytes;                                                          // the workbench file's content
  std::vector<std::pair<std::string, std::vector<std::string>>> workbenches;  // name, records

  Workload() {
    directory = fs::temp_directory_path() / ("zarn-bench-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    workbenchFile = directory / "Zarn.wbf";
    rawFile = directory / "raw.bin";
    std::mt19937 random(1);
    zarn::Profile profile(workbenchFile);
    for (int w = 0; w < kWorkbenches; ++w) {
      // ワーク<n>: the way users name workbenches.
      auto& [name, records] =
          workbenches.emplace_back("\x83\x8f\x81\x5b\x83\x4e" + std::to_string(w + 1), std::vector<std::string>());
      for (int k = 1; k <= kWindowsPerWorkbench; ++k) records.push_back(RecordLine(random, k));
    }
    Fill(profile);
    profile.UpdateFile();
    std::FILE* in = std::fopen(workbenchFile.c_str(), "rb");
    bytes.resize(fs::file_size(workbenchFile));
    if (std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size()) std::abort();
    std::fclose(in);
  }
  ~Workload() {
    std::error_code ec;
    fs::remove_all(directory, ec);
  }

  // What saving every workbench does: keys 1..N, then Last.
  void Fill(zarn::Profile& profile) const {
    for (std::size_t w = 0; w < workbenches.size(); ++w) {
      const auto& [name, records] = workbenches[w];
      for (std::size_t k = 0; k < records.size(); ++k) profile.WriteString(name, std::to_string(k + 1), records[k]);
      profile.WriteBool(name, "Last", w + 1 == workbenches.size());
    }
  }
};

const Workload& TheWorkload() {
  static const Workload workload;
  return workload;
}

std::string RawRead(const fs::path& file) {
  std::string bytes;
  std::FILE* in = std::fopen(file.c_str(), "rb");
  if (in == nullptr) std::abort();
  std::fseek(in, 0, SEEK_END);
  bytes.resize(static_cast<std::size_t>(std::ftell(in)));
  std::fseek(in, 0, SEEK_SET);
  if (std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size()) std::abort();
  std::fclose(in);
  return bytes;
}

// Writing the bytes to a file, with or without making them durable the way a profile save does.
void RawWrite(const fs::path& file, const std::string& bytes, bool flushToDisk) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
  if (flushToDisk && ::fsync(fd) != 0) std::abort();
  ::close(fd);
}

void BM_RawRead(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  for (auto _ : state) benchmark::DoNotOptimize(RawRead(workload.workbenchFile));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * workload.bytes.size()));
}

void BM_Load(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  for (auto _ : state) {
    zarn::Profile profile(workload.workbenchFile);
    benchmark::DoNotOptimize(profile);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * workload.bytes.size()));
}

// Every record of every workbench looked up once, as restoring them all would.
void BM_ReadEveryKey(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  for (auto _ : state) {
    zarn::Profile profile(workload.workbenchFile);
    std::size_t total = 0;
    for (const auto& [name, records] : workload.workbenches) {
      for (std::size_t k = 1; k <= records.size(); ++k) total += profile.ReadString(name, std::to_string(k), "").size();
    }
    if (total == 0) std::abort();
  }
}

// The same with lines cut by CR alone, as old Mac editors leave them: must cost about the same.
void BM_ReadEveryKeyCrOnly(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  const fs::path file = workload.directory / "cr-only.wbf";
  if (!fs::exists(file)) {
    std::string bytes;
    for (char c : workload.bytes) {
      if (c != '\n') bytes.push_back(c);
    }
    RawWrite(file, bytes, false);
  }
  for (auto _ : state) {
    zarn::Profile profile(file);
    std::size_t total = 0;
    for (const auto& [name, records] : workload.workbenches) {
      for (std::size_t k = 1; k <= records.size(); ++k) total += profile.ReadString(name, std::to_string(k), "").size();
    }
    if (total == 0) std::abort();
  }
}

void BM_RawWrite(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  for (auto _ : state) RawWrite(workload.rawFile, workload.bytes, state.range(0) != 0);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * workload.bytes.size()));
}

void BM_Save(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  zarn::Profile profile(workload.workbenchFile);
  profile.Rename(workload.directory / "saved.wbf", false);
  for (auto _ : state) profile.UpdateFile();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * workload.bytes.size()));
}

// A whole round: load, then save everything, against reading and writing the bytes raw.
void BM_RawReadWrite(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  for (auto _ : state) RawWrite(workload.rawFile, RawRead(workload.workbenchFile), true);
}

void BM_LoadAndSave(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  for (auto _ : state) {
    zarn::Profile profile(workload.workbenchFile);
    profile.Rename(workload.directory / "saved.wbf", false);
    profile.UpdateFile();
  }
}

// Saving every workbench anew into an empty profile: 50,000 WriteString calls, then the write.
void BM_BuildAndSave(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  for (auto _ : state) {
    zarn::Profile profile(workload.directory / "never-written.wbf");  // starts empty
    profile.Rename(workload.directory / "built.wbf", false);
    workload.Fill(profile);
    profile.UpdateFile();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * workload.bytes.size()));
}

// Resaving one workbench over itself inside the loaded file: delete its keys, write them again.
void BM_ResaveOneWorkbench(benchmark::State& state) {
  const Workload& workload = TheWorkload();
  zarn::Profile profile(workload.workbenchFile);
  profile.Rename(workload.directory / "resaved.wbf", false);
  const auto& [name, records] = workload.workbenches.front();
  for (auto _ : state) {
    for (const std::string& key : profile.ReadSection(name)) profile.DeleteKey(name, key);
    for (std::size_t k = 0; k < records.size(); ++k) profile.WriteString(name, std::to_string(k + 1), records[k]);
    profile.WriteBool(name, "Last", true);
    profile.UpdateFile();
  }
}

BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEveryKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEveryKeyCrOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWrite)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawReadWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResaveOneWorkbench)->Unit(benchmark::kMillisecond);

// Prints as usual, and keeps each benchmark's time per iteration for the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!run.error_occurred && run.run_type == Run::RT_Iteration)
        times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // time of a / time of b, or a negative number when either did not run.
  double Ratio(const std::string& a, const std::string& b) const {
    const auto x = times_.find(a);
    const auto y = times_.find(b);
    return (x == times_.end() || y == times_.end() || y->second <= 0) ? -1 : x->second / y->second;
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::printf("workbench file: %zu bytes, %d records\n", TheWorkload().bytes.size(),
              kWorkbenches * kWindowsPerWorkbench);
  RatioReporter reporter;  // without colours: the output is mostly read from logs
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  // A save flushes its data to the disk before it replaces the file, so the fair baseline is a raw
  // write that does the same; the ratio to a write left in the cache is shown beside it.
  std::printf(
      "load ratio %.2f, save ratio %.2f (load and save %.2f; build and save %.2f; save to an unflushed "
      "raw write %.2f)\n",
      reporter.Ratio("BM_Load", "BM_RawRead"), reporter.Ratio("BM_Save", "BM_RawWrite/1"),
      reporter.Ratio("BM_LoadAndSave", "BM_RawReadWrite"), reporter.Ratio("BM_BuildAndSave", "BM_RawWrite/1"),
      reporter.Ratio("BM_Save", "BM_RawWrite/0"));
  return 0;
}
