// Transparency and the background picture of the toolbar window.
#include "app/UZarnDM.h"
#include "app/UZarnFrmMain.h"
#include "app/ZarnMessages.h"
#include "platform/win32/CodePage932.h"

namespace zarn::app {

void TZarnFrmMain::OnSetLayer(WPARAM value, LPARAM kind) {
  ::SetWindowLongPtrW(window_, GWL_EXSTYLE, ::GetWindowLongPtrW(window_, GWL_EXSTYLE) | WS_EX_LAYERED);
  if (kind == 1) {
    ::SetLayeredWindowAttributes(window_, static_cast<COLORREF>(value), 0, LWA_COLORKEY);
  } else if (kind == 2) {
    ::SetLayeredWindowAttributes(window_, 0, static_cast<BYTE>(value & 0xFF), LWA_ALPHA);
  }
}

void TZarnFrmMain::ApplyLayerType() {
  const Profile& settings = dm_.SettingsProfile();
  const LayerRequest request =
      LayerRequestFor(settings.ReadInteger(kConfigSection, "MainLayerType", 0),
                      settings.ReadInteger(kConfigSection, "MainLayerAlpha", 255), ::GetSysColor(COLOR_BTNFACE));
  switch (request.action) {
    case LayerAction::RemoveLayered:
      ::SetWindowLongPtrW(window_, GWL_EXSTYLE, ::GetWindowLongPtrW(window_, GWL_EXSTYLE) & ~WS_EX_LAYERED);
      break;
    case LayerAction::ColourKey:
      ::SendMessageW(window_, WM_SETLAYER, request.value, 1);
      break;
    case LayerAction::Alpha:
      ::SendMessageW(window_, WM_SETLAYER, request.value, 2);
      break;
    case LayerAction::Nothing:
      break;
  }
}

void TZarnFrmMain::LoadBackgroundImage() {
  background_.Clear();
  const std::wstring path =
      win32::WideFromCp932(dm_.SettingsProfile().ReadString(kConfigSection, "BackgroundImage", ""));
  const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
  background_.Load(path);
  ::InvalidateRect(toolBar_, nullptr, TRUE);
}

LRESULT TZarnFrmMain::ZarnTbItemsCustomDraw(NMTBCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT && !background_.Empty()) {
    background_.Draw(draw.nmcd.hdc, draw.nmcd.rc.left, draw.nmcd.rc.top);
  }
  return CDRF_DODEFAULT;
}

}  // namespace zarn::app
