// Transparency and the background picture of the toolbar window.
#include "app/UZarnDM.h"
#include "app/UZarnFrmMain.h"
#include "app/ZarnMessages.h"
#include "core/ConfigSettings.h"
#include "win32/CodePage932.h"

namespace zarn::app {

void TZarnFrmMain::OnSetLayer(WPARAM value, LPARAM kind) {
  ::SetWindowLongPtrW(window_, GWL_EXSTYLE, ::GetWindowLongPtrW(window_, GWL_EXSTYLE) | WS_EX_LAYERED);
  switch (static_cast<SetLayerKind>(kind)) {
    case SetLayerKind::ColourKey:
      ::SetLayeredWindowAttributes(window_, static_cast<COLORREF>(value), 0, LWA_COLORKEY);
      break;
    case SetLayerKind::Alpha:
      ::SetLayeredWindowAttributes(window_, 0, static_cast<BYTE>(value & 0xFF), LWA_ALPHA);
      break;
  }
}

void TZarnFrmMain::ApplyLayerType() {
  const LayerRequest request = ReadLayerRequest(dm_.SettingsProfile(), ::GetSysColor(COLOR_BTNFACE));
  SetLayerKind kind{};
  if (request.action == LayerAction::RemoveLayered) {
    ::SetWindowLongPtrW(window_, GWL_EXSTYLE, ::GetWindowLongPtrW(window_, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  } else if (SetLayerMessageFor(request.action, kind)) {
    ::SendMessageW(window_, WM_SETLAYER, request.value, static_cast<LPARAM>(kind));
  }
}

void TZarnFrmMain::LoadBackgroundImage() {
  background_.Clear();
  const std::wstring path = win32::WideFromCp932(ReadBackgroundImage(dm_.SettingsProfile()));
  const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
  background_.Load(path);
  ::InvalidateRect(toolBar_, nullptr, TRUE);
}

LRESULT TZarnFrmMain::ZarnTbItemsCustomDraw(NMTBCUSTOMDRAW& draw) {
  // The stage's rectangle is only the part being repainted (one button's cell as the mouse passes);
  // the picture belongs to the tool bar's origin, and the device context clips it to that part.
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT && !background_.Empty()) background_.Draw(draw.nmcd.hdc, 0, 0);
  return CDRF_DODEFAULT;
}

}  // namespace zarn::app
