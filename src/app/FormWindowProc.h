#pragma once
// The window procedure of a form class: the form passes itself as the creation parameter, owns its
// window, and gets every message in its own HandleMessage.
#include <windows.h>

namespace zarn::app {

// The window of a form, destroyed with the form unless it has gone before. It converts to HWND, since
// the form hands its window to nearly every call. It stays known while the window is being destroyed,
// so the form's handlers of WM_DESTROY still reach it; the window procedure forgets it last.
class FormWindow {
 public:
  FormWindow() = default;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  ~FormWindow() { Destroy(); }

  operator HWND() const { return window_; }
  void Destroy() {
    if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
    window_ = nullptr;
  }

 private:
  template <class Form>
  friend LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};

template <class Form>
LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_.window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  // The window is gone after this message: the form must neither reach it nor destroy it again.
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_.window_ = nullptr;
  }
  return result;
}

}  // namespace zarn::app
