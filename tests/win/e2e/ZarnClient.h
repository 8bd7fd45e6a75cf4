#pragma once
// The driver's side of the real program: a private copy of Zarn.exe in a folder of its own (so it
// has its own profiles), its commands, its dialogs and popup menus, and the report the stand-in host
// inside its process writes about it.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Driver.h"
#include "StandinReport.h"

namespace zarn::e2e {

class ZarnClient {
 public:
  // Copies Zarn.exe from the driver's folder into `folder`, writes `settings` (the bytes of a
  // Zarn.ini, Shift-JIS as the program reads it) there first when given, and starts the copy. Throws
  // when its main window (visible or not) does not appear within a few seconds.
  // `arguments` and `workingDirectory` (the copy's folder when empty) are for checking that the
  // program ignores both; `startupShow` is a shortcut's "Run" setting.
  explicit ZarnClient(const std::filesystem::path& folder, std::optional<std::string> settings = std::nullopt,
                      const std::vector<std::wstring>& arguments = {},
                      const std::filesystem::path& workingDirectory = {},
                      std::optional<WORD> startupShow = std::nullopt);
  ~ZarnClient();
  ZarnClient(const ZarnClient&) = delete;
  ZarnClient& operator=(const ZarnClient&) = delete;

  HWND Window() const { return window_; }
  DWORD ProcessId() const { return process_.Id(); }
  bool Running() const { return process_.Running(); }
  std::filesystem::path Exe() const { return exe_; }
  std::filesystem::path SettingsFile() const { return WithExtension(L".ini"); }
  std::filesystem::path WorkBenchFile() const { return WithExtension(L".wbf"); }
  // Starts the same copy once more (a second start), with the given arguments.
  Process StartAgain(const std::vector<std::wstring>& arguments = {}) const;

  // A command that opens a dialog or a menu must be posted: a sent one would wait for the modal loop.
  bool Post(UINT command) const;
  bool PostToWindow(UINT message, WPARAM wParam, LPARAM lParam) const;
  // Runs a command to its end; false when it did not come back within the bound.
  bool Send(UINT command, Milliseconds bound = 20s) const;
  // True once the program's thread answered a sent message: it is not inside a command that
  // waits without looking at its messages. Posted messages may still be pending, and a command that
  // shows a dialog answers while the dialog is open: wait for the outcome itself where it matters.
  bool WaitIdle(Milliseconds bound = 20s) const;

  // The stand-in host in the program's process, there once the program took its first snapshot
  // (any folder-window command loads the stand-in shell); nullptr when it did not appear in time.
  HWND WaitForHost(Milliseconds bound = 10s) const;
  // The report of the program's process, written by that host. Throws when there is no host or no
  // report within the bound.
  standin::ProcessReport Report(Milliseconds bound = 10s) const;

  // The first visible dialog (#32770) of the program with this caption, or nullptr after the bound.
  HWND WaitForDialog(std::wstring_view caption, Milliseconds bound = 5s) const;
  // Visible dialogs of the program, in z-order.
  std::vector<HWND> Dialogs() const;
  // A control's text (WM_GETTEXT, bounded), e.g. the input dialog's edit.
  static std::wstring ControlText(HWND dialog, int controlId);
  // The non-empty texts of a dialog's static controls, in child order: the question of a
  // confirmation, a message box's message, an input dialog's prompt.
  static std::vector<std::wstring> StaticTexts(HWND dialog);
  static bool SetControlText(HWND dialog, int controlId, std::wstring_view text);
  // Posts the button's click to the dialog; false when there is no such enabled button.
  static bool PressButton(HWND dialog, int buttonId);

  // The program's visible popup menu window (#32768), or nullptr after the bound. Its items are in
  // Report().menus.
  HWND WaitForMenu(Milliseconds bound = 5s) const;
  // Ends every open popup menu of the program (a posted WM_CANCELMODE ends the menu loop); true when
  // none is left within the bound.
  bool CloseMenus(Milliseconds bound = 3s) const;

  // Asks the program to exit through its command, then makes sure it has; its exit code when it
  // ended by itself within the bound.
  std::optional<DWORD> Close(Milliseconds bound = 10s);

 private:
  std::filesystem::path WithExtension(const wchar_t* extension) const;
  std::vector<HWND> WindowsOfClass(const wchar_t* className, bool visibleOnly) const;

  std::filesystem::path folder_;
  std::filesystem::path exe_;
  Process process_;
  HWND window_ = nullptr;
};

}  // namespace zarn::e2e
