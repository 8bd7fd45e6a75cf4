#include "app/MessageDialogs.h"

#include <algorithm>

#include "core/UiText.h"
#include "win32/CodePage932.h"
#include "resource.h"

namespace zarn::app {
namespace {

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

RECT ChildRect(HWND dialog, int id) {
  RECT r{};
  HWND child = ::GetDlgItem(dialog, id);
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void MoveChild(HWND dialog, int id, int dx, int dy) {
  const RECT r = ChildRect(dialog, id);
  ::SetWindowPos(::GetDlgItem(dialog, id), nullptr, r.left + dx, r.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A workbench name can be long: the question grows the dialog rather than being cut off, up to
// most of the monitor's width, and wraps beyond that.
void FitQuestion(HWND dialog, std::wstring_view question) {
  HWND label = ::GetDlgItem(dialog, IDC_MESSAGE);
  const RECT labelRect = ChildRect(dialog, IDC_MESSAGE);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  const int maxWidth =
      std::max<int>(labelRect.right - labelRect.left, (monitor.rcWork.right - monitor.rcWork.left) * 2 / 3);

  HDC dc = ::GetDC(label);
  HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
  RECT needed{0, 0, maxWidth, 0};
  ::DrawTextW(dc, question.data(), static_cast<int>(question.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  ::SelectObject(dc, oldFont);
  ::ReleaseDC(label, dc);

  const int dx = std::max<int>(0, needed.right - (labelRect.right - labelRect.left));
  const int dy = std::max<int>(0, needed.bottom - (labelRect.bottom - labelRect.top));
  ::SetWindowPos(label, nullptr, 0, 0, labelRect.right - labelRect.left + dx, labelRect.bottom - labelRect.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The buttons stay centred under the grown text.
  MoveChild(dialog, IDYES, dx / 2, dy);
  MoveChild(dialog, IDCANCEL, dx / 2, dy);
  RECT frame{};
  ::GetWindowRect(dialog, &frame);
  const int width = frame.right - frame.left + dx;
  const int height = frame.bottom - frame.top + dy;
  ::SetWindowPos(dialog, nullptr, frame.left - dx / 2, frame.top - dy / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

struct ConfirmData {
  std::wstring_view question;
};

INT_PTR CALLBACK ConfirmProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* data = reinterpret_cast<const ConfirmData*>(lParam);
      const std::wstring question(data->question);
      ::SetWindowTextW(dialog, win32::W(text::kConfirmCaption));
      ::SetDlgItemTextW(dialog, IDYES, win32::W(text::kButtonYes));
      ::SetDlgItemTextW(dialog, IDCANCEL, win32::W(text::kButtonCancelFullWidth));
      ::SetDlgItemTextW(dialog, IDC_MESSAGE, question.c_str());
      HWND icon = ::GetWindow(dialog, GW_CHILD);
      ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_QUESTION)), 0);
      FitQuestion(dialog, question);
      ::MessageBeep(MB_ICONQUESTION);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      break;
  }
  return FALSE;
}

struct InputData {
  std::wstring_view caption;
  std::wstring_view prompt;
  std::wstring_view initial;
  std::wstring result;
};

INT_PTR CALLBACK InputProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const auto* data = reinterpret_cast<const InputData*>(lParam);
      ::SetWindowTextW(dialog, std::wstring(data->caption).c_str());
      ::SetDlgItemTextW(dialog, IDOK, win32::W(text::kButtonOk));
      ::SetDlgItemTextW(dialog, IDCANCEL, win32::W(text::kButtonCancelFullWidth));
      ::SetDlgItemTextW(dialog, IDC_INPUT_PROMPT, std::wstring(data->prompt).c_str());
      ::SetDlgItemTextW(dialog, IDC_INPUT_EDIT, std::wstring(data->initial).c_str());
      HWND edit = ::GetDlgItem(dialog, IDC_INPUT_EDIT);
      ::SendMessageW(edit, EM_SETSEL, 0, -1);
      ::SetFocus(edit);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* data = reinterpret_cast<InputData*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        HWND edit = ::GetDlgItem(dialog, IDC_INPUT_EDIT);
        data->result.assign(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
        const int length = ::GetWindowTextW(edit, data->result.data(), static_cast<int>(data->result.size()));
        data->result.resize(static_cast<std::size_t>(std::max(length, 0)));
        ::EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    case WM_CLOSE:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

bool Confirm(HWND owner, std::wstring_view question) {
  ConfirmData data{question};
  return ::DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_CONFIRM), owner, ConfirmProc,
                           reinterpret_cast<LPARAM>(&data)) == IDYES;
}

void Inform(HWND owner, std::wstring_view message) {
  ::MessageBoxW(owner, std::wstring(message).c_str(), win32::W(text::kInformationCaption), MB_OK | MB_ICONINFORMATION);
}

std::optional<std::wstring> InputQuery(HWND owner, std::wstring_view caption, std::wstring_view prompt,
                                       std::wstring_view initial) {
  InputData data{caption, prompt, initial, {}};
  if (::DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_INPUT), owner, InputProc, reinterpret_cast<LPARAM>(&data)) !=
      IDOK)
    return std::nullopt;
  return data.result;
}

}  // namespace zarn::app
