#include "app/UZarnFrmCustomMode.h"


#include "app/Dpi.h"
#include "app/FormWindowProc.h"
#include "app/UiText.h"
#include "core/StartPosition.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "win32/SystemError.h"
#include "win32/Win32Display.h"
#include "resource.h"

namespace zarn::app {
namespace {

constexpr wchar_t kWindowClass[] = L"TZarnFrmCustomMode";
constexpr wchar_t kChildClass[] = L"TZarnFrmCustomMode.Child";  // ZarnPnlRR and Image1

// The hints of the drag handle and of the confirm button.

constexpr COLORREF kBackground = RGB(0, 128, 0);
constexpr COLORREF kShape1Colour = RGB(255, 0, 255);
constexpr DWORD kStyle = WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED;

// The design geometry, in 96-DPI pixels; positions inside ZarnPnlRR.
constexpr SIZE kClient{188, 179};
constexpr RECT kPanel{0, 0, 74, 47};
constexpr RECT kImage1{51, 2, 51 + 20, 2 + 20};
constexpr SIZE kButton{23, 22};
constexpr POINT kTopLeftAt{2, 2};
constexpr POINT kTopRightAt{25, 2};
constexpr POINT kBottomLeftAt{2, 24};
constexpr POINT kBottomRightAt{25, 24};
constexpr POINT kOKAt{50, 24};
constexpr int kGlyphSize = 16;

// The buttons' ids within ZarnPnlRR, in the order of their glyphs; nothing outside the panel sees them.
enum ButtonId : int { kIdTopLeft = 1, kIdTopRight, kIdBottomLeft, kIdBottomRight, kIdOK };

// An empty stored area would show a window too small to grab.
constexpr CustomBounds kFirstUse{};


HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

}  // namespace

// ---- the modal run

std::optional<CustomBounds> TZarnFrmCustomMode::ShowRegionEditor(HWND owner, const CustomBounds& current) {
  TZarnFrmCustomMode form;
  form.Create(owner, current);
  return form.RunModal(owner);
}

// The window normally goes at the end of the modal run. Left over when Create failed half-way, it goes
// here, before the members take the brushes and icons it paints with.
TZarnFrmCustomMode::~TZarnFrmCustomMode() {
  if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
}

void TZarnFrmCustomMode::Create(HWND owner, const CustomBounds& current) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);

  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!::GetClassInfoExW(Instance(), kWindowClass, &existing)) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = &FormWindowProc<TZarnFrmCustomMode>;
    form.hInstance = Instance();
    form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    form.lpszClassName = kWindowClass;
    if (::RegisterClassExW(&form) == 0) win32::ThrowLastError("RegisterClassExW");
    WNDCLASSEXW child = form;
    child.lpfnWndProc = &TZarnFrmCustomMode::ChildProc;
    child.lpszClassName = kChildClass;
    if (::RegisterClassExW(&child) == 0) win32::ThrowLastError("RegisterClassExW");
  }

  background_.Reset(::CreateSolidBrush(kBackground));
  shape1Brush_.Reset(::CreateHatchBrush(HS_BDIAGONAL, kShape1Colour));
  // Created at the design size where it will appear, so it starts with that monitor's DPI; then
  // given the stored outer rectangle.
  const bool empty = current.width <= 0 || current.height <= 0;
  const int width = empty ? kFirstUse.width : current.width;
  const int height = empty ? kFirstUse.height : current.height;
  // An area stored on a monitor that is gone comes onto the nearest one, as the toolbar does, so
  // the editor can be seen and grabbed.
  std::vector<MonitorAreas> monitors;
  for (const win32::MonitorRecord& m : win32::EnumerateMonitors()) monitors.push_back({m.monitor, m.workArea});
  const Area desktop{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                     ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const Point at = StartPosition({current.left, current.top}, {width, height}, desktop, monitors);
  window_ = ::CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, at.x, at.y, kClient.cx, kClient.cy, owner, nullptr,
                              Instance(), this);
  if (window_ == nullptr) win32::ThrowLastError("CreateWindowExW");
  FormCreate();
  SetBounds(at.x, at.y, width, height);
}

std::optional<CustomBounds> TZarnFrmCustomMode::RunModal(HWND owner) {
  const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  ::ShowWindow(window_, SW_SHOW);
  ::SetForegroundWindow(window_);

  bool quit = false;
  WPARAM quitCode = 0;
  MSG msg{};
  while (!ended_) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      quitCode = msg.wParam;
      break;
    }
    if (got == -1) break;
    // Escape reaches whichever control has the focus; it means "close" anywhere in the editor.
    const bool ours = msg.hwnd == window_ || ::IsChild(window_, msg.hwnd);
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && ours) {
      EndModal(IDCANCEL);
      continue;
    }
    if (msg.message == WM_KEYDOWN && ours && OnKey(msg.hwnd, msg.wParam)) continue;
    // Tab and Shift+Tab between the buttons.
    if (ours && ::IsDialogMessageW(window_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }

  // The owner is enabled before the editor goes, so the window system hands the activation back to
  // it rather than to some other program.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
  window_ = nullptr;
  if (owner != nullptr && ::IsWindow(owner)) {
    ::SetActiveWindow(owner);
    HWND focus = ::GetFocus();
    if (focus != owner && !::IsChild(owner, focus)) ::SetFocus(owner);
  }
  // The program is ending: the loop that owns the quit message gets it back.
  if (quit) ::PostQuitMessage(static_cast<int>(quitCode));

  if (modalResult_ != IDOK) return std::nullopt;
  return ConfirmedBounds;
}

void TZarnFrmCustomMode::EndModal(int result) {
  modalResult_ = result;
  ended_ = true;
}

// ---- messages

LRESULT CALLBACK TZarnFrmCustomMode::ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TZarnFrmCustomMode*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleChildMessage(window, message, wParam, lParam);
}

// The flat buttons show their edge only while the mouse is over them.
LRESULT CALLBACK TZarnFrmCustomMode::ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR data) {
  auto* self = reinterpret_cast<TZarnFrmCustomMode*>(data);
  switch (message) {
    case WM_MOUSEMOVE:
      if (self->hotButton_ != window) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        ::TrackMouseEvent(&track);
        self->OnButtonHover(window, true);
      }
      break;
    case WM_MOUSELEAVE:
      self->OnButtonHover(window, false);
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(window, &TZarnFrmCustomMode::ButtonProc, 0);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT TZarnFrmCustomMode::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // Shape1Paint covers every pixel
    case WM_PAINT:
      Shape1Paint();
      return 0;
    case WM_GETMINMAXINFO: {
      // Never smaller than the panel, so its buttons stay reachable.
      RECT frame{0, 0, ScaleForDpi(kPanel.right, dpi_), ScaleForDpi(kPanel.bottom, dpi_)};
      ::AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi_);
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
      return 0;
    }
    case WM_DPICHANGED:
      // The suggested rectangle is ignored: the editor's outer rectangle is what the user snapped or
      // dragged, in physical pixels, and must not change size on its way across monitors.
      ApplyDpi(HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      EndModal(IDCANCEL);
      return 0;
    case WM_DESTROY:
      ended_ = true;
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT TZarnFrmCustomMode::HandleChildMessage(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = ::BeginPaint(child, &paint);
      if (child == image1_) {
        Image1Paint(dc);
      } else {
        ZarnPnlRRPaint(dc);
      }
      ::EndPaint(child, &paint);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      FormMove_OnMDown(child, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      FormMove_OnMMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (::GetCapture() == child) ::ReleaseCapture();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED) {
        OnCommand(static_cast<int>(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
      }
      return 0;
    case WM_DRAWITEM:
      DrawFlatButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(child, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(child, message, wParam, lParam);
}

// ---- creation and layout

void TZarnFrmCustomMode::FormCreate() {
  // Every green pixel, that is everything between the hatch lines, is neither drawn nor hit.
  if (!::SetLayeredWindowAttributes(window_, kBackground, 0, LWA_COLORKEY)) {
    win32::ThrowLastError("SetLayeredWindowAttributes");
  }
  // A control parent, so that Tab walks into the panel's buttons.
  zarnPnlRR_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kChildClass, L"ZarnPnlRR", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                                 window_, nullptr, Instance(), this);
  image1_ = ::CreateWindowExW(0, kChildClass, L"Image1", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, zarnPnlRR_, nullptr,
                              Instance(), this);
  if (zarnPnlRR_ == nullptr || image1_ == nullptr) win32::ThrowLastError("CreateWindowExW");
  const auto button = [this](int id) {
    HWND b = ::CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0,
                               zarnPnlRR_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (b == nullptr) win32::ThrowLastError("CreateWindowExW(Button)");
    ::SetWindowSubclass(b, &TZarnFrmCustomMode::ButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
    return b;
  };
  zarnBtnTopLeft_ = button(kIdTopLeft);
  zarnBtnTopRight_ = button(kIdTopRight);
  zarnBtnButtomLeft_ = button(kIdBottomLeft);
  zarnBtnButtomRight_ = button(kIdBottomRight);
  zarnBtnOK_ = button(kIdOK);

  // The editor is never the active window while the user points at it from the settings dialog:
  // the hints must show regardless.
  toolTips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                Instance(), nullptr);
  if (toolTips_ != nullptr) {
    const auto hint = [this](HWND tool, const wchar_t* text) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      info.hwnd = zarnPnlRR_;
      info.uId = reinterpret_cast<UINT_PTR>(tool);
      info.lpszText = const_cast<wchar_t*>(text);
      ::SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    };
    hint(image1_, text::kHintMoveRegion);
    hint(zarnBtnOK_, text::kHintConfirmRegion);
  }
  ApplyDpi(::GetDpiForWindow(window_));
}

void TZarnFrmCustomMode::ApplyDpi(UINT dpi) {
  dpi_ = dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi;
  const auto place = [this](HWND control, int x, int y, int width, int height) {
    ::SetWindowPos(control, nullptr, ScaleForDpi(x, dpi_), ScaleForDpi(y, dpi_), ScaleForDpi(width, dpi_),
                   ScaleForDpi(height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(zarnPnlRR_, kPanel.left, kPanel.top, kPanel.right - kPanel.left, kPanel.bottom - kPanel.top);
  place(image1_, kImage1.left, kImage1.top, kImage1.right - kImage1.left, kImage1.bottom - kImage1.top);
  place(zarnBtnTopLeft_, kTopLeftAt.x, kTopLeftAt.y, kButton.cx, kButton.cy);
  place(zarnBtnTopRight_, kTopRightAt.x, kTopRightAt.y, kButton.cx, kButton.cy);
  place(zarnBtnButtomLeft_, kBottomLeftAt.x, kBottomLeftAt.y, kButton.cx, kButton.cy);
  place(zarnBtnButtomRight_, kBottomRightAt.x, kBottomRightAt.y, kButton.cx, kButton.cy);
  place(zarnBtnOK_, kOKAt.x, kOKAt.y, kButton.cx, kButton.cy);

  static constexpr int kGlyphIds[] = {IDI_CORNER_TOP_LEFT, IDI_CORNER_TOP_RIGHT, IDI_CORNER_BOTTOM_LEFT,
                                      IDI_CORNER_BOTTOM_RIGHT, IDI_REGION_CONFIRM};
  const auto load = [](int id, int size) {
    return static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
  };
  for (int i = 0; i < 5; ++i) glyphs_[i].Reset(load(kGlyphIds[i], ScaleForDpi(kGlyphSize, dpi_)));
  image1Picture_.Reset(load(IDI_REGION_MOVE, ScaleForDpi(kImage1.right - kImage1.left, dpi_)));
  ::InvalidateRect(window_, nullptr, TRUE);
  ::InvalidateRect(zarnPnlRR_, nullptr, TRUE);
}

// ---- drawing

// Shape1: fuchsia hatching over the colour key, so between its lines the desktop shows through.
void TZarnFrmCustomMode::Shape1Paint() {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(window_, &paint);
  ::FillRect(dc, &paint.rcPaint, background_.Get());
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  ::FillRect(dc, &paint.rcPaint, shape1Brush_.Get());
  ::SetBkMode(dc, oldMode);
  ::EndPaint(window_, &paint);
}

void TZarnFrmCustomMode::ZarnPnlRRPaint(HDC dc) {
  RECT r{};
  ::GetClientRect(zarnPnlRR_, &r);
  ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  // Lowered outside, raised inside.
  ::DrawEdge(dc, &r, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
}

void TZarnFrmCustomMode::Image1Paint(HDC dc) {
  RECT r{};
  ::GetClientRect(image1_, &r);
  ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  if (image1Picture_) ::DrawIconEx(dc, 0, 0, image1Picture_.Get(), r.right, r.bottom, 0, nullptr, DI_NORMAL);
}

void TZarnFrmCustomMode::DrawFlatButton(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  ::FillRect(item.hDC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  if (pressed) {
    ::DrawEdge(item.hDC, &r, BDR_SUNKENOUTER, BF_RECT);
  } else if (item.hwndItem == hotButton_) {
    ::DrawEdge(item.hDC, &r, BDR_RAISEDINNER, BF_RECT);
  }
  const int id = static_cast<int>(item.CtlID);
  if (id < kIdTopLeft || id > kIdOK) return;
  HICON glyph = glyphs_[id - kIdTopLeft].Get();
  if (glyph == nullptr) return;
  const int size = ScaleForDpi(kGlyphSize, dpi_);
  const int shift = pressed ? 1 : 0;
  ::DrawIconEx(item.hDC, (r.left + r.right - size) / 2 + shift, (r.top + r.bottom - size) / 2 + shift, glyph, size,
               size, 0, nullptr, DI_NORMAL);
}

void TZarnFrmCustomMode::OnButtonHover(HWND button, bool hot) {
  HWND previous = hotButton_;
  if (hot) {
    hotButton_ = button;
  } else if (hotButton_ == button) {
    hotButton_ = nullptr;
  }
  if (previous != nullptr && previous != hotButton_) ::InvalidateRect(previous, nullptr, FALSE);
  if (hotButton_ != nullptr && hotButton_ != previous) ::InvalidateRect(hotButton_, nullptr, FALSE);
}

// ---- moving

void TZarnFrmCustomMode::FormMove_OnMDown(HWND sender, int x, int y) {
  DragOrigin = {x, y};
  if (toolTips_ != nullptr) ::SendMessageW(toolTips_, TTM_POP, 0, 0);
  // Captured, so a quick drag that outruns the small control keeps moving the window.
  if (::GetKeyState(VK_LBUTTON) < 0) ::SetCapture(sender);
}

// The control moves with the window, so the pointer comes back to DragOrigin after each step.
void TZarnFrmCustomMode::FormMove_OnMMove(int x, int y) {
  if (::GetKeyState(VK_LBUTTON) >= 0) return;
  const int dx = x - DragOrigin.x;
  const int dy = y - DragOrigin.y;
  if (dx == 0 && dy == 0) return;
  RECT r{};
  ::GetWindowRect(window_, &r);
  SetBounds(r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top);
}

// The arrow keys move the rectangle by a pixel, by ten with Shift; Enter presses the button that
// has the focus, as Space does.
bool TZarnFrmCustomMode::OnKey(HWND target, WPARAM key) {
  const int step = ::GetKeyState(VK_SHIFT) < 0 ? 10 : 1;
  int dx = 0;
  int dy = 0;
  switch (key) {
    case VK_LEFT:
      dx = -step;
      break;
    case VK_RIGHT:
      dx = step;
      break;
    case VK_UP:
      dy = -step;
      break;
    case VK_DOWN:
      dy = step;
      break;
    case VK_RETURN:
      for (HWND button : {zarnBtnTopLeft_, zarnBtnTopRight_, zarnBtnButtomLeft_, zarnBtnButtomRight_, zarnBtnOK_}) {
        if (button == target) {
          ::PostMessageW(button, BM_CLICK, 0, 0);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
  RECT r{};
  ::GetWindowRect(window_, &r);
  SetBounds(r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top);
  return true;
}

void TZarnFrmCustomMode::SetBounds(int left, int top, int width, int height) {
  ::SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- the buttons

void TZarnFrmCustomMode::OnCommand(int id) {
  switch (id) {
    case kIdTopLeft:
      ZarnBtnTopLeftClick();
      break;
    case kIdTopRight:
      ZarnBtnTopRightClick();
      break;
    case kIdBottomLeft:
      ZarnBtnBottomLeftClick();
      break;
    case kIdBottomRight:
      ZarnBtnButtomRightClick();
      break;
    case kIdOK:
      ModalResultOK();
      break;
    default:
      break;
  }
}

void TZarnFrmCustomMode::ZarnBtnTopLeftClick() { SnapTo(Corner::TopLeft); }

void TZarnFrmCustomMode::ZarnBtnTopRightClick() { SnapTo(Corner::TopRight); }

void TZarnFrmCustomMode::ZarnBtnBottomLeftClick() { SnapTo(Corner::BottomLeft); }

void TZarnFrmCustomMode::ZarnBtnButtomRightClick() { SnapTo(Corner::BottomRight); }

void TZarnFrmCustomMode::ModalResultOK() {
  RECT r{};
  ::GetWindowRect(window_, &r);
  ConfirmedBounds = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  EndModal(IDOK);
}

int TZarnFrmCustomMode::MonitorIndexAtCursor() const {
  // Whole monitors: the taskbar's area belongs to the region too.
  const std::vector<win32::MonitorRecord> records = win32::EnumerateMonitors();
  HMONITOR own = ::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
  int editorMonitor = 0;
  std::vector<Area> monitors;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].handle == own) editorMonitor = static_cast<int>(i);
    monitors.push_back(records[i].monitor);
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  return zarn::MonitorIndexAtCursor(monitors, editorMonitor, {cursor.x, cursor.y});
}

void TZarnFrmCustomMode::SnapTo(Corner corner) {
  std::vector<Area> monitors;
  for (const win32::MonitorRecord& record : win32::EnumerateMonitors()) monitors.push_back(record.monitor);
  const int index = MonitorIndexAtCursor();
  if (index < 0 || static_cast<std::size_t>(index) >= monitors.size()) return;
  RECT r{};
  ::GetWindowRect(window_, &r);
  const Rect snapped = SnapCorner({r.left, r.top, r.right, r.bottom}, monitors[static_cast<std::size_t>(index)], corner);
  SetBounds(snapped.left, snapped.top, snapped.Width(), snapped.Height());
}

}  // namespace zarn::app
