// A stand-in for the toolbar program in end-to-end tests: one small visible window that owns the
// folder-window commands over the real Win32 layer, driven by messages from a test driver.
#include <windows.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TestHostCommands.h"
#include "core/Error.h"
#include "core/FolderWindows.h"
#include "core/Profile.h"
#include "platform/win32/CodePage932.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Display.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32WindowSystem.h"
#include "platform/win32/WindowHandles.h"

namespace {

using namespace zarn::testhost;
namespace win32 = zarn::win32;

std::filesystem::path ModulePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The driver may read a file the moment the command returns, or poll for it after posting: write
// beside it and swap it in whole, so no reader ever sees half a file.
void ReplaceFile(const std::filesystem::path& target, const std::string& content) {
  std::filesystem::path temporary = target;
  temporary += L".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) return;
  }
  MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

std::string Utf8FromU16(std::u16string_view text) {
  return win32::Utf8FromWide(win32::WideFromU16(text));
}

// A path read back from the workbench file, for the driver: shown as the system would show it.
std::string Utf8FromCp932(std::string_view bytes) { return win32::Utf8FromWide(win32::WideFromCp932(bytes)); }

std::string SnapshotLine(const zarn::THandleListRec& record) {
  std::string line = std::to_string(record.Handle);
  auto field = [&line](const std::string& text) {
    line += '\t';
    line += text;
  };
  auto number = [&field](std::int32_t value) { field(std::to_string(value)); };
  field(record.WidePath.empty() ? Utf8FromCp932(record.Path) : Utf8FromU16(record.WidePath));
  number(record.PathRepresentable ? 1 : 0);
  number(record.WindowRect.left);
  number(record.WindowRect.top);
  number(record.WindowRect.right);
  number(record.WindowRect.bottom);
  number(record.ShowCmd);
  number(record.MinPosition.x);
  number(record.MinPosition.y);
  number(record.MaxPosition.x);
  number(record.MaxPosition.y);
  number(record.NormalPosition.left);
  number(record.NormalPosition.top);
  number(record.NormalPosition.right);
  number(record.NormalPosition.bottom);
  return line;
}

class TestHost {
 public:
  explicit TestHost(const std::filesystem::path& exe)
      : base_(std::filesystem::path(exe).replace_extension()),
        settings_(WithExtension(L".ini")),
        workBenches_(WithExtension(L".wbf")),
        folders_(zarn::Platform{windowSystem_, display_, shell_, clock_}, settings_, workBenches_) {}
  ~TestHost() {
    if (font_ != nullptr) DeleteObject(font_);
  }
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  bool Create(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &TestHost::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) == 0) return false;
    // Small, away from the corner the arrangements start in and always on top like the toolbar it
    // stands in for, so a screenshot shows both.
    window_ = CreateWindowExW(WS_EX_TOPMOST, kWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW, 1500, 40, 320, 120, nullptr,
                              nullptr, instance, this);
    if (window_ == nullptr) return false;
    folders_.SetToolbar(win32::FromHwnd(window_));
    AddButtons(instance);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
    return true;
  }

 // A command given on the command line ("/run:tile") runs once the message loop is up, as if its
  // button had been pressed: how the run script shows a newcomer an arrangement.
  void RunAtStart(std::wstring_view command) {
    static constexpr std::pair<std::wstring_view, Command> kNames[] = {
        {L"cascade", kCascadeKeepSize}, {L"cascade-uniform", kCascadeUniform}, {L"tile", kTile}, {L"close", kCloseAll}};
    for (const auto& [name, id] : kNames) {
      if (command == name) PostMessageW(window_, WM_COMMAND, id, 0);
    }
  }

 private:
  // Buttons send WM_COMMAND with their id, the same message the driver posts, so a person can try
  // the commands by hand.
  void AddButtons(HINSTANCE instance) {
    struct Button {
      Command id;
      const wchar_t* caption;
    };
    static constexpr Button kButtons[] = {{kCascadeKeepSize, L"重ねて表示"},
                                          {kCascadeUniform, L"サイズを揃えて重ねて表示"},
                                          {kTile, L"並べて表示"},
                                          {kCloseAll, L"すべて閉じる"}};
    font_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS UI Gothic");
    int index = 0;
    for (const Button& button : kButtons) {
      HWND control = CreateWindowExW(0, L"BUTTON", button.caption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                     8 + (index % 2) * 150, 8 + (index / 2) * 32, 146, 28, window_,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(button.id)), instance, nullptr);
      if (control != nullptr && font_ != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
      ++index;
    }
  }

  std::filesystem::path WithExtension(const wchar_t* extension) const {
    std::filesystem::path path = base_;
    path += extension;
    return path;
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) return self->HandleMessage(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
  }

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
      case WM_COPYDATA:
        return OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
  }

  LRESULT OnCommand(std::uint16_t id) {
    switch (id) {
      case kCascadeKeepSize:
        return Run([this] { folders_.CascadeWindows(false); });
      case kCascadeUniform:
        return Run([this] { folders_.CascadeWindows(true); });
      case kTile:
        return Run([this] { folders_.TileWindows(); });
      case kCloseAll:
        return Run([this] { folders_.CloseAllWindows(); });
      case kDump:
        return Run([this] { Dump(); });
      case kConfirmYes:
      case kConfirmNo:
        return Run([this, id] { confirmAnswer_ = id == kConfirmYes; });
      default:
        return 0;
    }
  }

  LRESULT OnCopyData(const COPYDATASTRUCT& data) {
    std::wstring wideName(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    while (!wideName.empty() && wideName.back() == L'\0') wideName.pop_back();
    switch (data.dwData) {
      case kSave:
        return Run([this, &wideName] { Save(ProfileName(wideName)); });
      case kRestore:
        return Run([this, &wideName] { Restore(ProfileName(wideName)); });
      default:
        return FALSE;
    }
  }

  static std::string ProfileName(const std::wstring& wideName) {
    std::optional<std::string> name = win32::Cp932FromWide(wideName);
    if (!name) throw zarn::Error("The workbench name cannot be written in code page 932");
    return *name;
  }

  // Every command goes through here, as every command handler of the program goes through its one
  // error display: a failure becomes the result instead of a message box nobody would answer.
  LRESULT Run(const std::function<void()>& command) {
    status_ = kResultOk;
    paths_.clear();
    try {
      command();
    } catch (const std::exception& failure) {
      status_ = std::string(kResultErrorPrefix) + failure.what();
    } catch (...) {
      status_ = std::string(kResultErrorPrefix) + "unknown failure";
    }
    std::string content = status_ + "\n";
    for (const std::string& path : paths_) content += path + "\n";
    ReplaceFile(WithExtension(kResultExtension), content);
    return status_.starts_with(kResultErrorPrefix) ? 0 : 1;
  }

  void Save(const std::string& name) {
    bool asked = false;
    zarn::SaveResult result = folders_.SaveWorkBench(name, true, [this, &asked] {
      asked = true;
      return confirmAnswer_;
    });
    if (!result.saved) {
      status_ = kResultDeclined;
      return;
    }
    if (asked) status_ = kResultOkConfirmed;
    for (const std::u16string& path : result.leftOut) paths_.push_back(Utf8FromU16(path));
  }

  void Restore(const std::string& name) {
    zarn::RestoreResult result = folders_.LoadWorkBench(name);
    for (const std::string& path : result.notRestored) paths_.push_back(Utf8FromCp932(path));
  }

  // Placements are read here, in the host's process: under Wine only a window of this process
  // reports its real normal rectangle, and the stand-in shell hosts folder windows in this process.
  void Dump() {
    folders_.RefreshHandleList();
    std::string content;
    for (const auto& record : folders_.Handles()) content += SnapshotLine(*record) + "\n";
    ReplaceFile(WithExtension(kSnapshotExtension), content);
  }

  std::filesystem::path base_;
  win32::Win32WindowSystem windowSystem_;
  win32::Win32Display display_;
  win32::Win32Shell shell_;
  win32::Win32Clock clock_;
  zarn::Profile settings_;
  zarn::Profile workBenches_;
  zarn::FolderWindows folders_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  bool confirmAnswer_ = true;
  std::string status_;
  std::vector<std::string> paths_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  win32::ComApartment apartment;
  std::filesystem::path exe = ModulePath();
  try {
    TestHost host(exe);
    if (!host.Create(instance)) throw zarn::Error("The test host window could not be created");
    std::wstring_view arguments(commandLine);
    if (arguments.starts_with(L"/run:")) host.RunAtStart(arguments.substr(5));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return 0;
  } catch (const std::exception& failure) {
    // No message box: nobody would answer it. The driver finds the reason in the result file.
    ReplaceFile(std::filesystem::path(exe).replace_extension(kResultExtension),
                std::string(kResultErrorPrefix) + failure.what() + "\n");
    return 3;
  }
}
