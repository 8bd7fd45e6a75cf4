#include "app/UZarnFrmCustomMode.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "app/Dpi.h"
#include "app/FormWindowProc.h"
#include "app/ZarnMessages.h"
#include "core/StartPosition.h"
#include "core/UiText.h"
#include "win32/CodePage932.h"
#include "win32/SystemError.h"
#include "win32/Win32Display.h"
#include "resource.h"

namespace zarn::app {
namespace {

constexpr wchar_t kWindowClass[] = L"TZarnFrmCustomMode";
constexpr wchar_t kChildClass[] = L"TZarnFrmCustomMode.Child";  // ZarnPnlRR and Image1

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
TZarnFrmCustomMode::~TZarnFrmCustomMode() { window_.Destroy(); }

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
  // The window procedure takes the window as it is made.
  if (::CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, at.x, at.y, kClient.cx, kClient.cy, owner, nullptr,
                        Instance(), this) == nullptr) {
    win32::ThrowLastError("CreateWindowExW");
  }
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
  window_.Destroy();
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
  zarnPnlRR_ =
      ::CreateWindowExW(WS_EX_CONTROLPARENT, kChildClass, L"ZarnPnlRR", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                        0, 0, window_, nullptr, Instance(), this);
  image1_ = ::CreateWindowExW(0, kChildClass, L"Image1", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, zarnPnlRR_, nullptr,
                              Instance(), this);
  if (zarnPnlRR_ == nullptr || image1_ == nullptr) win32::ThrowLastError("CreateWindowExW");
  const auto button = [this](int id) {
    HWND b = ::CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0,
                               zarnPnlRR_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
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
  toolTips_ =
      ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, Instance(), nullptr);
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
    hint(image1_, win32::W(text::kHintMoveRegion));
    hint(zarnBtnOK_, win32::W(text::kHintConfirmRegion));
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

}  // namespace zarn::app
