#pragma once
// The custom region editor: a see-through, sizable rectangle laid over the desktop that the user
// moves, snaps to monitor corners and confirms as the custom arrangement area.
#include <windows.h>

#include <optional>

#include "core/Geometry.h"
#include "core/RegionSnapping.h"
#include "app/FormWindowProc.h"
#include "win32/UniqueHandles.h"

namespace zarn::app {

class TZarnFrmCustomMode {
 public:
  // Shows the editor modally over `owner` (disabled meanwhile, active again afterwards) with its
  // outer rectangle, sizing frame included, at `current` (left, top, width, height, screen
  // pixels). A size that is not positive, as an empty stored area has, shows the editor at
  // 500 x 500 instead, so there is something to grab.
  //
  // Returns the outer rectangle the user confirmed with ZarnBtnOK, or nullopt when the editor was
  // closed any other way (Alt+F4, Escape, the program ending). The caller writes CustomLeft,
  // CustomTop, CustomWidth and CustomHeight only when a rectangle came back: closing without
  // confirming then keeps the stored area instead of storing an empty one, and an empty area
  // stored earlier is mended by the next confirm.
  //
  // Throws zarn::Error when the window cannot be created; the owner is enabled again first.
  static std::optional<CustomBounds> ShowRegionEditor(HWND owner, const CustomBounds& current);

  ~TZarnFrmCustomMode();
  TZarnFrmCustomMode(const TZarnFrmCustomMode&) = delete;
  TZarnFrmCustomMode& operator=(const TZarnFrmCustomMode&) = delete;

 private:
  TZarnFrmCustomMode() = default;

  template <class Form>
  friend LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleChildMessage(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

  static constexpr int kGlyphSize = 16;  // the buttons' glyphs, in 96-DPI pixels
  // The buttons' ids within ZarnPnlRR, in the order of their glyphs; nothing outside the panel sees them.
  enum ButtonId : int { kIdTopLeft = 1, kIdTopRight, kIdBottomLeft, kIdBottomRight, kIdOK };

  void Create(HWND owner, const CustomBounds& current);
  std::optional<CustomBounds> RunModal(HWND owner);
  void EndModal(int result);

  void FormCreate();
  void ApplyDpi(UINT dpi);
  // drawing (UZarnFrmCustomModeDrawing.cpp)
  void Shape1Paint();
  void ZarnPnlRRPaint(HDC dc);
  void Image1Paint(HDC dc);
  void DrawFlatButton(const DRAWITEMSTRUCT& item);
  void OnButtonHover(HWND button, bool hot);

  // moving and snapping (UZarnFrmCustomModeMoving.cpp)
  // Mouse handlers of ZarnPnlRR and Image1; x, y in the pressed control's client coordinates.
  void FormMove_OnMDown(HWND sender, int x, int y);
  void FormMove_OnMMove(int x, int y);

  void ZarnBtnTopLeftClick();
  void ZarnBtnTopRightClick();
  void ZarnBtnBottomLeftClick();
  void ZarnBtnButtomRightClick();
  void ModalResultOK();
  void OnCommand(int id);
  bool OnKey(HWND target, WPARAM key);

  int MonitorIndexAtCursor() const;
  void SnapTo(Corner corner);
  void SetBounds(int left, int top, int width, int height);

  FormWindow window_;
  HWND zarnPnlRR_ = nullptr;
  HWND image1_ = nullptr;
  HWND zarnBtnTopLeft_ = nullptr;
  HWND zarnBtnTopRight_ = nullptr;
  HWND zarnBtnButtomLeft_ = nullptr;
  HWND zarnBtnButtomRight_ = nullptr;
  HWND zarnBtnOK_ = nullptr;
  HWND toolTips_ = nullptr;
  HWND hotButton_ = nullptr;

  win32::UniqueBrush background_;  // the colour key: every pixel of it is see-through
  win32::UniqueBrush shape1Brush_;
  win32::UniqueIcon glyphs_[5];  // top-left, top-right, bottom-left, bottom-right, confirm
  win32::UniqueIcon image1Picture_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;

  Point DragOrigin;
  CustomBounds ConfirmedBounds{0, 0, 0, 0};
  bool ended_ = false;
  int modalResult_ = IDCANCEL;
};

}  // namespace zarn::app
