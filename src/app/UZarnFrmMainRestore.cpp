// A workbench restore while it runs: the window keeps answering, shows which folder it is opening,
// and can be stopped; no other command starts until it ends.
#include <string>
#include <vector>

#include "app/MessageDialogs.h"
#include "app/UZarnFrmMain.h"
#include "app/WaitCursor.h"
#include "app/ZarnMessages.h"
#include "core/UiText.h"
#include "core/UserMessages.h"
#include "win32/CodePage932.h"
#include "resource.h"

namespace zarn::app {
namespace {

std::vector<std::u16string> WidePaths(const std::vector<std::string>& paths) {
  std::vector<std::u16string> wide;
  for (const std::string& path : paths) wide.push_back(win32::U16FromWide(win32::WideFromCp932(path)));
  return wide;
}

}  // namespace

void TZarnFrmMain::LoadWorkBench(const std::string& name) {
  if (restoring_) return;
  restoring_ = true;
  stopRestore_ = false;
  clock_.SetMessageFilter([this](const MSG& message) { return FilterDuringRestore(message); });
  RestoreResult result;
  {
    WaitCursor wait;
    // Put back however the restore ends, an error included.
    struct Ending {
      TZarnFrmMain& form;
      ~Ending() {
        form.clock_.SetMessageFilter(nullptr);
        form.restoring_ = false;
        form.ShowRestoreProgress(u"");
      }
    } ending{*this};
    result = folders_->LoadWorkBench(name, this);
  }
  if (closeAfterRestore_) {
    closeAfterRestore_ = false;
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    return;
  }
  const std::u16string summary = RestoreSummary(WidePaths(result.notRestored), WidePaths(result.tabsAsWindows));
  if (!summary.empty()) Inform(window_, win32::WideFromU16(summary));
}

void TZarnFrmMain::Opening(std::size_t number, std::size_t count) {
  ShowRestoreProgress(RestoreProgressText(number, count));
}

bool TZarnFrmMain::StopRequested() {
  // A quit that reached the wait ends the restore too; the message loop then gets it.
  return stopRestore_ || clock_.QuitSeen();
}

// Where the user and a test can read it: the window's title (shown when the title bar is), the tray
// icon's tip and every button's tooltip.
void TZarnFrmMain::ShowRestoreProgress(const std::u16string& text) {
  restoreProgress_ = text;
  ::SetWindowTextW(window_, text.empty() ? kApplicationTitle : win32::WideFromU16(text).c_str());
  trayIconData_.tip = text.empty() ? u"Zarn" : text;
  if (trayIconData_.owner != 0) win32::ChangeTrayTip(trayIconData_);
}

bool TZarnFrmMain::FilterDuringRestore(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return false;
  stopRestore_ = true;
  return true;
}

bool TZarnFrmMain::OnCommandDuringRestore(int id) {
  if (!restoring_) return false;
  if (id == IDM_WB_LOAD_BUTTON || id == IDM_STOP_RESTORE) stopRestore_ = true;
  return true;
}

void TZarnFrmMain::PopUpStopMenu(POINT at) {
  win32::UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return;
  ::AppendMenuW(menu.Get(), MF_STRING, IDM_STOP_RESTORE, win32::W(text::kStopRestore));
  ::SetForegroundWindow(window_);
  PopUp(menu.Get(), at);
  ::PostMessageW(window_, WM_NULL, 0, 0);
}

}  // namespace zarn::app
