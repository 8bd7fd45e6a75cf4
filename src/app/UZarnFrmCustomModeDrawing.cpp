// The region editor's drawing: the see-through hatching, the panel, the drag handle and the flat
// buttons.
#include "app/UZarnFrmCustomMode.h"

#include "app/Dpi.h"

namespace zarn::app {

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

}  // namespace zarn::app
