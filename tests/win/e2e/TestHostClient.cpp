#include "TestHostClient.h"

#include <stdexcept>

#include "TestHostCommands.h"

namespace zarn::e2e {

namespace {

HWND HostWindowOf(DWORD processId) {
  for (HWND window : FindWindowsOfClass(testhost::kWindowClass)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

int ToInt(const std::string& text) { return static_cast<int>(std::stol(text)); }

}  // namespace

TestHostClient::TestHostClient(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  exe_ = folder / L"zarn_test_host.exe";
  std::filesystem::copy_file(ProgramFolder() / L"zarn_test_host.exe", exe_,
                             std::filesystem::copy_options::overwrite_existing);
  process_ = Process(exe_, {}, folder);
  if (!WaitUntil([this] { return (window_ = HostWindowOf(process_.Id())) != nullptr; }, 10s)) {
    std::string reason;
    std::error_code missing;
    if (std::filesystem::exists(WithExtension(testhost::kResultExtension), missing)) {
      reason = ": " + ReadFileBytes(WithExtension(testhost::kResultExtension));
    }
    throw std::runtime_error("the test host's window did not appear" + reason);
  }
}

TestHostClient::~TestHostClient() { Close(); }

std::filesystem::path TestHostClient::WithExtension(const wchar_t* extension) const {
  return std::filesystem::path(exe_).replace_extension(extension);
}

HostResult TestHostClient::Send(UINT message, WPARAM wParam, LPARAM lParam, Milliseconds bound) {
  std::error_code ignored;
  std::filesystem::remove(WithExtension(testhost::kResultExtension), ignored);
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(window_, message, wParam, lParam, SMTO_NORMAL, static_cast<UINT>(bound.count()),
                          &answer) == 0) {
    return {"timeout", {}};
  }
  return ReadResult();
}

HostResult TestHostClient::ReadResult() const {
  std::filesystem::path file = WithExtension(testhost::kResultExtension);
  std::error_code missing;
  if (!std::filesystem::exists(file, missing)) return {"no result file", {}};
  std::vector<std::string> lines = SplitLines(ReadFileBytes(file));
  HostResult result;
  if (!lines.empty()) {
    result.status = lines.front();
    result.paths.assign(lines.begin() + 1, lines.end());
  }
  return result;
}

HostResult TestHostClient::Command(std::uint16_t id, Milliseconds bound) {
  return Send(WM_COMMAND, MAKEWPARAM(id, 0), 0, bound);
}

HostResult TestHostClient::Save(std::wstring_view name, Milliseconds bound) {
  std::wstring payload(name);
  COPYDATASTRUCT data{testhost::kSave, static_cast<DWORD>(payload.size() * sizeof(wchar_t)), payload.data()};
  return Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), bound);
}

HostResult TestHostClient::Restore(std::wstring_view name, Milliseconds bound) {
  std::wstring payload(name);
  COPYDATASTRUCT data{testhost::kRestore, static_cast<DWORD>(payload.size() * sizeof(wchar_t)), payload.data()};
  return Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), bound);
}

std::vector<SnapshotRecord> TestHostClient::Dump() {
  HostResult result = Command(testhost::kDump);
  if (result.status != testhost::kResultOk) throw std::runtime_error("dump failed: " + result.status);
  std::vector<SnapshotRecord> records;
  for (const std::string& line : SplitLines(ReadFileBytes(WithExtension(testhost::kSnapshotExtension)))) {
    std::vector<std::string> f = SplitTabs(line);
    if (f.size() != testhost::kSnapshotFields) throw std::runtime_error("malformed snapshot line: " + line);
    SnapshotRecord record;
    record.handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull(f[0])));
    record.path = f[1];
    record.representable = f[2] == "1";
    record.windowRect = {ToInt(f[3]), ToInt(f[4]), ToInt(f[5]), ToInt(f[6])};
    record.showCmd = ToInt(f[7]);
    record.minPosition = {ToInt(f[8]), ToInt(f[9])};
    record.maxPosition = {ToInt(f[10]), ToInt(f[11])};
    record.normalPosition = {ToInt(f[12]), ToInt(f[13]), ToInt(f[14]), ToInt(f[15])};
    records.push_back(record);
  }
  return records;
}

void TestHostClient::Close() {
  if (window_ != nullptr && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
  window_ = nullptr;
  process_.WaitForExit(3s);
  process_.Kill();
}

}  // namespace zarn::e2e
