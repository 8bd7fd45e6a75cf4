#pragma once
// The test host's command interface, shared by the host and the end-to-end driver.
//
// The host stands in for the toolbar program: one visible top-level window of class kWindowClass
// that owns the folder-window commands. The driver sends it commands with SendMessageTimeoutW, so a
// command has finished (a restore included) when the call returns. After every command the host
// replaces <exe>.result (UTF-8 lines, see below); "dump" also replaces <exe>.snapshot. The profiles
// are <exe>.ini and <exe>.wbf, "<exe>" being the host's full path without its extension, so a copy
// of the host in a folder of its own gets profiles of its own.
#include <cstdint>

namespace zarn::testhost {

inline constexpr wchar_t kWindowClass[] = L"ZarnTestHost";
inline constexpr wchar_t kWindowTitle[] = L"Zarn test host";

inline constexpr wchar_t kResultExtension[] = L".result";
inline constexpr wchar_t kSnapshotExtension[] = L".snapshot";

// WM_COMMAND ids (the low word of wParam). The message returns 1 when the command succeeded.
enum Command : std::uint16_t {
  kCascadeKeepSize = 41001,
  kCascadeUniform = 41002,
  kTile = 41003,
  kCloseAll = 41004,
  kDump = 41005,
  // The answer the next overwrite question gets; "Yes" until told otherwise.
  kConfirmYes = 41006,
  kConfirmNo = 41007,
};

// WM_COPYDATA: dwData is one of these, the payload the workbench name in UTF-16 (a terminating
// NUL is allowed, not needed). Saving always asks as for a new name.
enum NamedCommand : std::uint32_t {
  kSave = 41101,
  kRestore = 41102,
};

// First line of <exe>.result. Paths that follow, one per line, are the folders a save left out or
// the folders a restore could not place.
inline constexpr char kResultOk[] = "ok";
inline constexpr char kResultOkConfirmed[] = "ok confirmed";  // saved after the overwrite question
inline constexpr char kResultDeclined[] = "declined";         // the overwrite question said no
inline constexpr char kResultErrorPrefix[] = "error: ";

// <exe>.snapshot holds one line per record of the snapshot, in its order, TAB-separated:
// handle (decimal), path (UTF-8), 1 or 0 (path storable in code page 932), window rect left, top,
// right, bottom, show command, minimized x, y, maximized x, y, normal rect left, top, right, bottom.
inline constexpr int kSnapshotFields = 16;

}  // namespace zarn::testhost
