#include "Driver.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

namespace zarn::e2e {

bool WaitUntil(const std::function<bool()>& condition, Milliseconds bound, Milliseconds poll) {
  Stopwatch watch;
  for (;;) {
    if (condition()) return true;
    if (watch.Elapsed() >= bound) return condition();
    std::this_thread::sleep_for(poll);
  }
}

std::wstring QuoteArgument(std::wstring_view argument) {
  // The rules CommandLineToArgvW undoes: backslashes double only before a quote.
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') backslashes = backslashes * 2 + 1;
    quoted.append(backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

Process::Process(const std::filesystem::path& exe, const std::vector<std::wstring>& arguments,
                 const std::filesystem::path& workingDirectory, std::optional<WORD> startupShow) {
  std::wstring commandLine = QuoteArgument(exe.wstring());
  for (const std::wstring& argument : arguments) commandLine += L" " + QuoteArgument(argument);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (startupShow) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = *startupShow;
  }
  PROCESS_INFORMATION info{};
  // Wine's process creation fails now and then with ERROR_INTERNAL_ERROR when the machine is busy
  // (seen while a build ran beside the tests); a second try a moment later starts the program.
  bool started = false;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) Sleep(200);
    started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &info);
    if (!started && GetLastError() != ERROR_INTERNAL_ERROR) break;
  }
  if (!started) {
    throw std::runtime_error("CreateProcessW failed for " + Utf8(exe.wstring()) + ": error " +
                             std::to_string(GetLastError()));
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
}

Process::Process(Process&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    process_ = std::exchange(other.process_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

Process::~Process() { Kill(); }

bool Process::Running() const { return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitForExit(Milliseconds bound) const {
  if (process_ == nullptr) return std::nullopt;
  if (WaitForSingleObject(process_, static_cast<DWORD>(bound.count())) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void Process::Kill() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
  id_ = 0;
}

std::filesystem::path ProgramFolder() {
  std::wstring buffer(32768, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  buffer.resize(length);
  return std::filesystem::path(buffer).parent_path();
}

std::string ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Utf8(file.wstring()));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::string> TryReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + Utf8(file.wstring()));
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = line.find('\t', start);
    if (end == std::string_view::npos) {
      fields.emplace_back(line.substr(start));
      return fields;
    }
    fields.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
  return out;
}

WindowState ReadWindow(HWND window) {
  WindowState state;
  state.exists = IsWindow(window) != FALSE;
  if (!state.exists) return state;
  GetWindowRect(window, &state.rect);
  state.visible = IsWindowVisible(window) != FALSE;
  state.iconic = IsIconic(window) != FALSE;
  state.zoomed = IsZoomed(window) != FALSE;
  return state;
}

namespace {

struct ClassSearch {
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfClass(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ClassSearch*>(context);
  wchar_t name[256];
  if (GetClassNameW(window, name, 256) > 0 && std::wstring_view(name) == search->className) {
    search->found.push_back(window);
  }
  return TRUE;
}

void AppendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::vector<HWND> FindWindowsOfClass(const wchar_t* className) {
  ClassSearch search{className, {}};
  EnumWindows(&CollectWindowOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool SaveScreenshot(const std::filesystem::path& file) {
  int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 0 || height <= 0) return false;

  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return false;
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  bool copied = BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT) != FALSE;
  SelectObject(memory, previous);

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as a BMP file stores its rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  std::string pixels(static_cast<std::size_t>(stride) * static_cast<std::uint32_t>(height), '\0');
  bool read = copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                                  reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!read) return false;

  std::string out = "BM";
  const std::uint32_t offset = 14 + sizeof(BITMAPINFOHEADER);
  AppendLittleEndian(out, offset + static_cast<std::uint32_t>(pixels.size()), 4);
  AppendLittleEndian(out, 0, 4);
  AppendLittleEndian(out, offset, 4);
  header.biSizeImage = static_cast<DWORD>(pixels.size());
  out.append(reinterpret_cast<const char*>(&header), sizeof header);
  out += pixels;
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  try {
    WriteFileBytes(file, out);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace zarn::e2e
