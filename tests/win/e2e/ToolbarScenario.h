#pragma once
// Steps the toolbar scenarios share: settings files written and read back, the tool bar's buttons
// as the program's own process lays them out, and popup menus worked the way a user works them.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "E2eFixture.h"
#include "StandinReport.h"

namespace zarn::e2e {

// Tool bar buttons by index, separators included.
enum ToolButtonIndex { kCascadeButton = 0, kTileButton = 1, kCloseAllButton = 3, kSaveButton = 5, kLoadButton = 6 };
inline constexpr int kToolButtonCount = 7;

// The program's window exists before it has read its settings: a scenario looks at it once the
// program's thread answers messages.
ZarnClient& Ready(ZarnClient& zarn);

using Setting = std::pair<std::string, std::string>;
// A Zarn.ini holding [Config] with these values.
std::string ConfigIni(const std::vector<Setting>& values);
// A value of [Config] in the file as it is now.
std::optional<std::string> ConfigValue(const std::filesystem::path& file, std::string_view key);

std::string Cp932Text(std::wstring_view text);
// A workbench section: its Last mark, then one record line per folder at its rectangle.
std::string WorkBenchSection(std::wstring_view name, bool last,
                             const std::vector<std::pair<std::filesystem::path, RECT>>& folders = {});

RECT WindowRect(HWND window);
SIZE ClientSize(HWND window);
HWND ToolBarOf(HWND main);
// A button's rectangle in the tool bar's client coordinates, asked of the tool bar itself.
RECT ToolButtonRect(const ZarnClient& zarn, int index);

// Clicks the arrow part of a drop-down button and returns the menu that opened (nullptr if none).
std::optional<standin::ReportedMenu> OpenDropDown(const ZarnClient& zarn, int index);
// The right-click menu, opened as the window's context menu.
std::optional<standin::ReportedMenu> OpenContextMenu(const ZarnClient& zarn);
// The open menu holding an item with this id, from a fresh report.
std::optional<standin::ReportedMenu> MenuHolding(const ZarnClient& zarn, UINT id);

// Chooses an item of the open menu by keyboard, as a user would: `path` gives, per level, the item's
// position among the selectable items (separators skipped) of that level; all but the last open a
// submenu.
void ChooseByKeys(const ZarnClient& zarn, const std::vector<int>& path);

// The items of the menu itself, or of the submenu hanging from its item with this text.
std::vector<standin::ReportedMenuItem> Level(const standin::ReportedMenu& menu, std::wstring_view parent = {});
// Their ids (0 for a separator), and the ids of those drawn as the default.
std::vector<UINT> Ids(const std::vector<standin::ReportedMenuItem>& items);
std::vector<UINT> Defaults(const std::vector<standin::ReportedMenuItem>& items);

// The first visible dialog of the program holding a control with this id.
HWND WaitForDialogWith(const ZarnClient& zarn, int controlId, Milliseconds bound = 5s);
std::wstring Joined(const std::vector<std::wstring>& texts);

void KillProcess(DWORD processId);

}  // namespace zarn::e2e
