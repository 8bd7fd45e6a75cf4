// Restore and arrangement figures under Wine, each against a baseline measured in the same run:
//   zarn_wine_bench.exe [restore windows, default 20] [arranged windows, default 200] [rounds, default 3]
// Restore: the benchmark first opens the workbench's folders itself through the shell, one after the
// other, waiting for each window and placing it (the least any restore must wait for), then Zarn
// restores the same folders through its load menu; the difference per window is the restore's own
// time. A workbench of one folder whose stand-in window takes 2000 ms to open gives the processor
// time Zarn uses while it waits (GetProcessTimes), as a share of one core over the restore's wall time.
// Arrangement: windows hosted in Zarn's process; tile and both cascades are timed, and the stand-in
// counts each window's ShowWindow and SetWindowPos calls; the baseline is the benchmark making the same
// ShowWindow and SetWindowPos calls itself, to the same rectangles.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Driver.h"
#include "StandinReport.h"
#include "StandinWindow.h"
#include "ZarnClient.h"
#include "resource.h"

namespace zarn::e2e {
namespace {

constexpr DWORD kDelayMs = 2000;

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Wine answers GetProcessTimes for another process with zeros; the Linux process behind it has the
// figures (every thread's user and system time, in clock ticks of 10 ms). It is found by its command
// line, which Wine sets to the Windows path of the program: `marker` is a folder only this run uses.
std::wstring UnixProcessOf(const std::wstring& marker) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::wstring found;
  do {
    const std::wstring name = entry.cFileName;
    if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::optional<std::string> command = TryReadFileBytes(L"Z:\\proc\\" + name + L"\\cmdline");
    if (command && command->find(Utf8(marker)) != std::string::npos) found = name;
  } while (found.empty() && FindNextFileW(search, &entry));
  FindClose(search);
  return found;
}

// Kernel and user time of a process, in milliseconds.
double CpuMs(DWORD processId, const std::wstring& unixProcess) {
  if (!unixProcess.empty()) {
    const std::optional<std::string> stat = TryReadFileBytes(L"Z:\\proc\\" + unixProcess + L"\\stat");
    const std::size_t name = stat ? stat->rfind(')') : std::string::npos;
    if (name == std::string::npos) throw std::runtime_error("cannot read Zarn's processor time");
    // After the name: state, then fields 4 to 13, then utime and stime.
    std::vector<std::string> fields;
    std::size_t at = name + 2;
    while (fields.size() < 13 && at < stat->size()) {
      const std::size_t space = stat->find(' ', at);
      fields.push_back(stat->substr(at, space - at));
      at = space == std::string::npos ? stat->size() : space + 1;
    }
    if (fields.size() < 13) throw std::runtime_error("cannot read Zarn's processor time");
    return 10.0 * (std::stod(fields[11]) + std::stod(fields[12]));
  }
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) throw std::runtime_error("cannot open Zarn's process");
  FILETIME created, exited, kernel, user;
  const BOOL ok = GetProcessTimes(process, &created, &exited, &kernel, &user);
  CloseHandle(process);
  if (!ok) throw std::runtime_error("GetProcessTimes failed");
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

std::string Cp932(const std::wstring& text) {
  const int size =
      WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

struct Folder {
  std::wstring path;
  RECT rect;
};

// path, left, top, width, height, show command, minimized x, y, maximized x, y, normal top, left, right, bottom
std::string RecordLine(const Folder& f) {
  std::string line = Cp932(f.path);
  const RECT& r = f.rect;
  for (long value : {r.left, r.top, r.right - r.left, r.bottom - r.top, static_cast<long>(SW_SHOWNORMAL), -1L, -1L, -1L,
                     -1L, r.top, r.left, r.right, r.bottom}) {
    line += '\t';
    line += std::to_string(value);
  }
  return line;
}

std::string Section(const std::string& name, const std::vector<Folder>& folders) {
  std::string text = "[" + name + "]\r\n";
  for (std::size_t i = 0; i < folders.size(); ++i)
    text += std::to_string(i + 1) + "=" + RecordLine(folders[i]) + "\r\n";
  return text + "Last=0\r\n\r\n";
}

std::vector<HWND> FolderWindows() { return FindWindowsOfClass(standin::kFolderClass); }

void CloseFolderWindows() {
  for (HWND window : FolderWindows()) PostMessageW(window, WM_CLOSE, 0, 0);
  if (!WaitUntil([] { return FolderWindows().empty(); }, 20s, 5ms))
    throw std::runtime_error("folder windows did not close");
}

// The window of `path` once it is shown: a restore never takes a window the user cannot see. Polled
// every millisecond, but cheaply, so the wait takes no processor time from the folder program starting
// on the same two cores: a window the shell opens comes up active, on top of the other folder windows,
// and one class lookup finds it; a whole listing is read only now and then, in case it did not come
// up on top.
HWND WaitForNewWindow(const std::wstring& path) {
  for (int poll = 1; poll <= 20000; ++poll) {
    HWND top = FindWindowExW(nullptr, nullptr, standin::kFolderClass, nullptr);
    if (top != nullptr && IsWindowVisible(top)) {
      const auto described = standin::DescribeFolderWindow(top);
      if (described && _wcsicmp(described->path.c_str(), path.c_str()) == 0) return top;
    }
    if (poll % 100 == 0) {
      HWND window = standin::FindFolderWindow(path);
      if (window != nullptr && IsWindowVisible(window)) return window;
    }
    Sleep(1);
  }
  throw std::runtime_error("no window for " + Utf8(path));
}

// What a restore does at the least for each folder: ask the shell, wait for the window, place it.
double ExploreAndPlace(const std::vector<Folder>& folders) {
  const double start = Now();
  for (const Folder& folder : folders) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"explore";
    info.lpFile = folder.path.c_str();
    info.nShow = SW_SHOWNORMAL;  // as the restore asks; the stand-in keeps a window asked with 0 hidden
    if (!ShellExecuteExW(&info)) throw std::runtime_error("explore failed");
    HWND window = WaitForNewWindow(folder.path);
    const RECT& r = folder.rect;
    SetWindowPos(window, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
  }
  return Now() - start;
}

struct Timed {
  double wallMs;
  double cpuMs;
  double waitingCpuMs;  // from kWaitSampleFrom to kWaitSampleTo after the start, when sampled
};

// Within the wait for the window that opens after kDelayMs, with a margin for the restore's start.
constexpr DWORD kWaitSampleFrom = 300;
constexpr DWORD kWaitSampleTo = 1900;

// The restore through the load menu. With `sampleWait`, Zarn's processor time is also read while the
// restore waits for a window that comes later.
Timed Restore(ZarnClient& zarn, const std::wstring& unixProcess, int index, std::size_t expected,
              bool sampleWait = false) {
  const double cpu = CpuMs(zarn.ProcessId(), unixProcess);
  const double start = Now();
  std::future<bool> sent =
      std::async(std::launch::async, [&zarn, index] { return zarn.Send(IDM_WB_LOAD_DROPDOWN_FIRST + index, 120s); });
  double waiting = 0;
  if (sampleWait) {
    Sleep(kWaitSampleFrom);
    const double before = CpuMs(zarn.ProcessId(), unixProcess);
    Sleep(kWaitSampleTo - kWaitSampleFrom);
    waiting = CpuMs(zarn.ProcessId(), unixProcess) - before;
  }
  if (!sent.get()) throw std::runtime_error("the restore did not end");
  const Timed timed{Now() - start, CpuMs(zarn.ProcessId(), unixProcess) - cpu, waiting};
  if (FolderWindows().size() != expected) throw std::runtime_error("the restore opened another number of windows");
  return timed;
}

std::map<HWND, standin::CallCounts> Counts(const standin::ProcessReport& report) {
  std::map<HWND, standin::CallCounts> counts;
  for (const standin::ReportedFolderWindow& window : report.folders) {
    if (!window.calls) throw std::runtime_error("the stand-in counts no calls in Zarn's process");
    counts[window.hwnd] = *window.calls;
  }
  return counts;
}

void RestoreFigures(const std::filesystem::path& root, int windows, int rounds) {
  std::vector<Folder> plain;
  for (int i = 0; i < windows; ++i) {
    const std::filesystem::path folder = root / L"folders" / (L"R" + std::to_wstring(i));
    std::filesystem::create_directories(folder);
    plain.push_back({folder.wstring(), RECT{60 + 30 * i, 40 + 20 * i, 760 + 30 * i, 540 + 20 * i}});
  }
  const std::filesystem::path slow = root / L"folders" / L"Slow";
  std::filesystem::create_directories(slow);
  WriteFileBytes(slow / standin::kMarkerFile, "/delay:" + std::to_string(kDelayMs));
  const std::vector<Folder> delayed = {{slow.wstring(), RECT{300, 200, 1000, 700}}};
  const std::filesystem::path zarnFolder = root / L"zarn";
  std::filesystem::create_directories(zarnFolder);
  WriteFileBytes(zarnFolder / L"Zarn.wbf", Section("Plain", plain) + Section("Delayed", delayed));

  ZarnClient zarn(zarnFolder);
  // Loads the stand-in shell into Zarn, so the windows the shell opens from here on live there.
  if (!zarn.Send(IDM_CLOSE_ALL) || zarn.WaitForHost(10s) == nullptr) throw std::runtime_error("no stand-in host");
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  const std::wstring unixProcess = wine ? UnixProcessOf(zarn.Exe().wstring()) : std::wstring();
  if (wine && unixProcess.empty()) throw std::runtime_error("Zarn's Linux process not found");
  std::vector<double> basePlain, restorePlain, baseDelayed, restoreDelayed, cpuShare, hostShare, restoreCalls;
  // Summed over the rounds: the system counts processor time in ticks of 10 ms.
  double waitingCpuMs = 0, idleCpuMs = 0;
  for (int round = 0; round < rounds; ++round) {
    basePlain.push_back(ExploreAndPlace(plain));
    CloseFolderWindows();
    const long callsBefore = zarn.Report(30s).automationCalls;
    restorePlain.push_back(Restore(zarn, unixProcess, 0, plain.size()).wallMs);
    restoreCalls.push_back(static_cast<double>(zarn.Report(30s).automationCalls - callsBefore));
    CloseFolderWindows();
    // The stand-in hosts the window in Zarn's process: what that costs there without any restore.
    const double hostCpu = CpuMs(zarn.ProcessId(), unixProcess);
    baseDelayed.push_back(ExploreAndPlace(delayed));
    hostShare.push_back(100.0 * (CpuMs(zarn.ProcessId(), unixProcess) - hostCpu) / baseDelayed.back());
    CloseFolderWindows();
    // The same stretch of time with Zarn doing nothing, for what Wine costs it anyway.
    const double idleFrom = CpuMs(zarn.ProcessId(), unixProcess);
    Sleep(kWaitSampleTo - kWaitSampleFrom);
    idleCpuMs += CpuMs(zarn.ProcessId(), unixProcess) - idleFrom;
    const Timed timed = Restore(zarn, unixProcess, 1, 1, true);
    restoreDelayed.push_back(timed.wallMs);
    cpuShare.push_back(100.0 * timed.cpuMs / timed.wallMs);
    waitingCpuMs += timed.waitingCpuMs;
    CloseFolderWindows();
  }
  const double bp = Median(basePlain), rp = Median(restorePlain), bd = Median(baseDelayed), rd = Median(restoreDelayed);
  std::printf("restore of %d windows, median of %d rounds\n", windows, rounds);
  std::printf("  baseline, the benchmark exploring and placing each folder: %.0f ms (%.1f ms per window)\n", bp,
              bp / windows);
  std::printf("  Zarn's restore:                                             %.0f ms (%.1f ms per window)\n", rp,
              rp / windows);
  std::printf("  ratio %.2f; restore's own time per window: %.1f ms (goal <= 10)\n", rp / bp, (rp - bp) / windows);
  std::printf("  automation calls into the shell during the restore: %.0f, %.1f per window\n", Median(restoreCalls),
              Median(restoreCalls) / windows);
  std::printf("restore of 1 window that opens after %lu ms, median of %d rounds\n", kDelayMs, rounds);
  std::printf("  baseline %.0f ms, Zarn's restore %.0f ms: %.1f ms beyond the baseline (goal <= 20)\n", bd, rd,
              rd - bd);
  const double cpu = Median(cpuShare), host = Median(hostShare);
  std::printf(
      "  Zarn's processor time while the restore waits, %.1f s to %.1f s after the start, all rounds:\n"
      "  %.0f ms in %.1f s, %.2f %% of one core (goal <= 1); over the whole restore: %.2f %%, of which the\n"
      "  stand-in hosting the window there: %.2f %% (measured while the benchmark opens the same folder)\n"
      "  Zarn idle for as long, all rounds: %.0f ms, %.2f %%\n",
      kWaitSampleFrom / 1000.0, kWaitSampleTo / 1000.0, waitingCpuMs,
      rounds * (kWaitSampleTo - kWaitSampleFrom) / 1000.0,
      100.0 * waitingCpuMs / (rounds * (kWaitSampleTo - kWaitSampleFrom)), cpu, host, idleCpuMs,
      100.0 * idleCpuMs / (rounds * (kWaitSampleTo - kWaitSampleFrom)));
}

void ArrangeFigures(const std::filesystem::path& root, int windows, int rounds) {
  const std::filesystem::path zarnFolder = root / L"zarn-arrange";
  ZarnClient zarn(zarnFolder);
  if (!zarn.Send(IDM_CLOSE_ALL)) throw std::runtime_error("Zarn did not answer");
  HWND host = zarn.WaitForHost(10s);
  if (host == nullptr) throw std::runtime_error("no stand-in host");
  // Straight to the host in Zarn's process: 200 starts of the folder program would take minutes.
  for (int i = 0; i < windows; ++i) {
    if (!standin::SendOpenRequest(host, (root / L"arranged" / (L"A" + std::to_wstring(i))).wstring(), {}))
      throw std::runtime_error("the host opened no window");
  }
  if (static_cast<int>(FolderWindows().size()) != windows) throw std::runtime_error("not every window opened");

  struct Command {
    const char* name;
    UINT id;
    std::vector<double> ms;
    std::vector<double> baselineMs;
    std::vector<std::pair<HWND, RECT>> placed;  // in the collection's order, as Zarn walks it
    std::vector<double> automationCalls;        // received by the stand-in shell during the command
  };
  std::vector<Command> commands = {{"tile", IDM_TILE, {}, {}, {}, {}},
                                   {"cascade", IDM_CASCADE_KEEP_SIZE, {}, {}, {}, {}},
                                   {"cascade, same size", IDM_CASCADE_UNIFORM, {}, {}, {}, {}}};
  int wrongCounts = 0;
  for (int round = 0; round < rounds; ++round) {
    for (Command& command : commands) {
      const standin::ProcessReport reportBefore = zarn.Report(30s);
      const auto before = Counts(reportBefore);
      const double start = Now();
      if (!zarn.Send(command.id, 120s)) throw std::runtime_error(std::string(command.name) + " did not end");
      command.ms.push_back(Now() - start);
      const standin::ProcessReport reportAfter = zarn.Report(30s);
      const auto after = Counts(reportAfter);
      command.automationCalls.push_back(
          static_cast<double>(reportAfter.automationCalls - reportBefore.automationCalls));
      for (const auto& [window, counts] : after) {
        const auto earlier = before.find(window);
        if (earlier == before.end() || counts.showWindow - earlier->second.showWindow != 1 ||
            counts.setWindowPos - earlier->second.setWindowPos != 1)
          ++wrongCounts;
      }
      if (after.size() != static_cast<std::size_t>(windows)) ++wrongCounts;
      command.placed.clear();
      for (const standin::ReportedFolderWindow& window : zarn.Report(30s).folders)
        command.placed.push_back({window.hwnd, window.windowRect});
    }
    // The same moves made by the benchmark: from where the last command left the windows, each
    // command's rectangles in turn, one ShowWindow and one SetWindowPos per window.
    for (Command& command : commands) {
      const double start = Now();
      for (const auto& [window, r] : command.placed) {
        ShowWindow(window, SW_SHOWDEFAULT);
        SetWindowPos(window, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
      }
      command.baselineMs.push_back(Now() - start);
    }
  }
  std::printf(
      "arrangement of %d windows hosted in Zarn's process, median of %d rounds; baseline: the benchmark\n"
      "making the same ShowWindow + SetWindowPos calls to the same rectangles from its own process\n",
      windows, rounds);
  for (const Command& command : commands) {
    const double ms = Median(command.ms);
    const double b = Median(command.baselineMs);
    std::printf("  %-20s Zarn %6.0f ms (%.2f ms per window), baseline %6.0f ms, ratio %.2f\n", command.name, ms,
                ms / windows, b, ms / b);
  }
  // Each command takes one snapshot of the windows, so the calls the stand-in shell received are that
  // snapshot's.
  for (const Command& command : commands) {
    const double calls = Median(command.automationCalls);
    std::printf("  %-20s %.0f automation calls into the shell: %.2f per window (goal <= 4)\n", command.name, calls,
                calls / windows);
  }
  std::printf("  ShowWindow and SetWindowPos exactly once per window in every arrangement: %s\n",
              wrongCounts == 0 ? "yes" : ("NO, " + std::to_string(wrongCounts) + " differ").c_str());
  CloseFolderWindows();
}

}  // namespace
}  // namespace zarn::e2e

int main(int argc, char** argv) {
  using namespace zarn::e2e;
  const int restored = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const int arranged = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  const std::filesystem::path root =
      std::filesystem::path(std::wstring(temp, length)) / (L"zarn-bench-" + std::to_wstring(GetCurrentProcessId()));
  int code = 0;
  try {
    for (HWND window : FindWindowsOfClass(zarn::standin::kFolderClass)) PostMessageW(window, WM_CLOSE, 0, 0);
    RestoreFigures(root, restored, rounds);
    std::fflush(stdout);
    ArrangeFigures(root, arranged, rounds);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zarn_wine_bench: %s\n", error.what());
    code = 1;
  }
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return code;
}
