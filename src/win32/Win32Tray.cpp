#include "win32/Win32Tray.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cwchar>

#include "win32/WindowHandles.h"

namespace zarn::win32 {
namespace {

NOTIFYICONDATAW Record(const TrayIcon& icon) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = ToHwnd(icon.owner);
  data.uID = icon.id;
  return data;
}

constexpr std::size_t kTipCapacity = sizeof NOTIFYICONDATAW::szTip / sizeof(wchar_t) - 1;

}  // namespace

std::wstring TrayTip(std::u16string_view tip) {
  std::size_t length = tip.size() < kTipCapacity ? tip.size() : kTipCapacity;
  // A high surrogate without its partner would show as a box.
  if (length < tip.size() && length > 0 && tip[length - 1] >= 0xD800 && tip[length - 1] <= 0xDBFF) --length;
  return std::wstring(tip.begin(), tip.begin() + static_cast<std::ptrdiff_t>(length));
}

bool AddTrayIcon(const TrayIcon& icon) {
  NOTIFYICONDATAW data = Record(icon);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = icon.callbackMessage;
  data.hIcon = reinterpret_cast<HICON>(static_cast<std::uintptr_t>(icon.icon));
  const std::wstring tip = TrayTip(icon.tip);
  std::wmemcpy(data.szTip, tip.c_str(), tip.size() + 1);
  return ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool ChangeTrayTip(const TrayIcon& icon) {
  NOTIFYICONDATAW data = Record(icon);
  data.uFlags = NIF_TIP;
  const std::wstring tip = TrayTip(icon.tip);
  std::wmemcpy(data.szTip, tip.c_str(), tip.size() + 1);
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool RemoveTrayIcon(const TrayIcon& icon) {
  NOTIFYICONDATAW data = Record(icon);
  return ::Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

}  // namespace zarn::win32
