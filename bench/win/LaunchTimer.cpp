// Measures, in the same run, how long each program takes from CreateProcess until a top-level
// window of it is visible, and prints the medians, each one's ratio to the baseline's, the last
// program's ratio to the one before it, and the last program's private memory after start.
//   zarn_launch_timer.exe <runs> <baseline.exe> <program.exe>... <zarn.exe>
// Starts alternate between the programs, so a machine that slows down hurts all alike. Each
// program is ended with TerminateProcess, so Zarn writes no settings and every start is a first run.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD process;
  bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && IsWindowVisible(window)) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

struct Start {
  double milliseconds = -1;
  SIZE_T privateBytes = 0;
};

Start Launch(const std::wstring& exe, bool measureMemory) {
  Start start;
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  LARGE_INTEGER frequency, begin, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return start;
  for (int poll = 0; poll < 20000; ++poll) {
    Search search{info.dwProcessId, false};
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    if (search.found) {
      start.milliseconds =
          1000.0 * static_cast<double>(now.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
      break;
    }
    Sleep(1);
  }
  if (measureMemory && start.milliseconds >= 0) {
    Sleep(500);  // what it holds once started, not while it starts
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
      // Wine leaves PrivateUsage at 0; the commit charge is the same figure on Windows.
      start.privateBytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  }
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return start;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: zarn_launch_timer <runs> <baseline.exe> <program.exe>... <zarn.exe>\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  const int programs = argc - 2;
  std::vector<std::vector<double>> times(static_cast<std::size_t>(programs));
  SIZE_T privateBytes = 0;
  // The first start of each warms the file cache and the Wine server.
  for (int p = 0; p < programs; ++p) Launch(argv[2 + p], false);
  for (int i = 0; i < runs; ++i) {
    for (int p = 0; p < programs; ++p) {
      const bool last = p == programs - 1;
      const Start start = Launch(argv[2 + p], last && i == 0);
      if (start.milliseconds < 0) {
        std::fprintf(stderr, "a start showed no window\n");
        return 1;
      }
      times[static_cast<std::size_t>(p)].push_back(start.milliseconds);
      if (start.privateBytes != 0) privateBytes = start.privateBytes;
    }
  }
  auto name = [](const wchar_t* path) {
    const wchar_t* slash = std::wcsrchr(path, L'\\');
    return slash != nullptr ? slash + 1 : path;
  };
  std::vector<double> medians;
  for (const auto& t : times) medians.push_back(Median(t));
  std::printf("launch to visible window, median of %d starts each\n", runs);
  for (int p = 0; p < programs; ++p) {
    std::printf("  %-26ls %6.1f ms", name(argv[2 + p]), medians[static_cast<std::size_t>(p)]);
    if (p > 0) std::printf("   ratio to %ls: %.2f", name(argv[2]), medians[static_cast<std::size_t>(p)] / medians[0]);
    std::printf("\n");
  }
  const std::size_t last = medians.size() - 1;
  // Each round's own ratio too: a machine whose load changes between rounds moves both starts of one
  // round alike, so their ratio's median is the steadier figure.
  std::vector<double> rounds;
  for (int i = 0; i < runs; ++i) {
    const auto round = static_cast<std::size_t>(i);
    rounds.push_back(times[last][round] / times[0][round]);
  }
  std::printf("  ratio: %.2f (goal <= 1.15); median of each round's ratio: %.2f\n", medians[last] / medians[0],
              Median(rounds));
  if (programs > 2) {
    std::vector<double> against;
    for (int i = 0; i < runs; ++i) {
      const auto round = static_cast<std::size_t>(i);
      against.push_back(times[last][round] / times[last - 1][round]);
    }
    std::printf("  %ls against %ls: %.2f; median of each round's ratio: %.2f\n", name(argv[argc - 1]),
                name(argv[argc - 2]), medians[last] / medians[last - 1], Median(against));
  }
  std::printf("  %ls private memory after start: %.1f MiB\n", name(argv[argc - 1]),
              static_cast<double>(privateBytes) / (1024.0 * 1024.0));
  return 0;
}
