// What the program may reach beyond its own window: DLLs from the system folder only, no meaning in
// its command line or environment, and no file but its two profiles (and, while they are written,
// their temporary siblings).
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>

#include "E2eFixture.h"
#include "ToolbarScenario.h"
#include "resource.h"
// After <windows.h>, which the fixture brings.
#include <tlhelp32.h>

namespace zarn::e2e {
namespace {

namespace fs = std::filesystem;

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(towlower(c)); });
  return text;
}

fs::path SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return folder;
}

// Every module in the process, by full path.
std::vector<fs::path> ModulesOf(DWORD processId) {
  std::vector<fs::path> modules;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return modules;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry))
    modules.emplace_back(entry.szExePath);
  CloseHandle(snapshot);
  return modules;
}

bool IsUnder(const fs::path& file, const fs::path& folder) {
  const std::wstring a = Lower(file.lexically_normal().wstring());
  const std::wstring b = Lower(folder.lexically_normal().wstring());
  return a.size() > b.size() && a.compare(0, b.size(), b) == 0 && (a[b.size()] == L'\\' || b.back() == L'\\');
}

// The system's side-by-side store, where the common controls the manifest asks for live.
bool IsSystemDll(const fs::path& module) {
  return IsUnder(module, SystemFolder()) || IsUnder(module, SystemFolder().parent_path() / L"winsxs");
}

// The test bed's stand-in for the shell's automation server, registered in the prefix where the
// real one would be; it is not the program's choice.
bool IsStandinShell(const fs::path& module) { return Lower(module.filename().wstring()) == L"zarn_standin_shell.dll"; }

struct FileState {
  std::uintmax_t size;
  fs::file_time_type written;
  bool operator==(const FileState&) const = default;
};
using Tree = std::map<std::wstring, FileState>;

fs::path ProfileFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetEnvironmentVariableW(L"USERPROFILE", folder, MAX_PATH);
  return folder;
}

// Every file on the drive. In the test bed the profile's Desktop, Documents, Templates and the like
// are links into the Linux home, far too large to walk: their top level is where a program would write.
Tree ListFiles(const fs::path& drive, const fs::path& profile) {
  static const std::set<std::wstring> kLinked = {L"desktop",  L"documents", L"downloads", L"music",
                                                 L"pictures", L"videos",    L"templates"};
  Tree tree;
  std::error_code error;
  for (fs::recursive_directory_iterator it(drive, fs::directory_options::skip_permission_denied, error), end;
       !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (it->is_regular_file(ignored)) {
      tree[Lower(it->path().wstring())] = {it->file_size(ignored), it->last_write_time(ignored)};
    } else if (IsUnder(it->path(), profile) && kLinked.contains(Lower(it->path().parent_path().filename().wstring()))) {
      it.disable_recursion_pending();
    }
  }
  return tree;
}

// Files added, changed or removed between the two listings.
std::set<std::wstring> Touched(const Tree& before, const Tree& after) {
  std::set<std::wstring> touched;
  for (const auto& [path, state] : after) {
    const auto it = before.find(path);
    if (it == before.end() || !(it->second == state)) touched.insert(path);
  }
  for (const auto& [path, state] : before)
    if (!after.contains(path)) touched.insert(path);
  return touched;
}

// Sets environment variables for the processes this one starts, and puts the old values back.
class EnvironmentOverride {
 public:
  void Set(const wchar_t* name, const std::wstring& value) {
    wchar_t old[32768];
    const DWORD length = GetEnvironmentVariableW(name, old, 32768);
    saved_.emplace_back(name, length > 0 ? std::optional<std::wstring>(old) : std::nullopt);
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~EnvironmentOverride() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      SetEnvironmentVariableW(it->first.c_str(), it->second ? it->second->c_str() : nullptr);
  }

 private:
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

class SecurityTest : public E2eTest {};

TEST_F(SecurityTest, AFullRunLoadsSystemDllsOnlyAndWritesOnlyItsTwoFiles) {
  const fs::path profile = ProfileFolder();
  const fs::path a = MakeFolder(L"資料"), b = MakeFolder(L"写真"), c = MakeFolder(L"設計");
  // Where a program that listened to its environment or its current folder would write instead.
  const fs::path elsewhere = root_ / L"elsewhere";
  fs::create_directories(elsewhere / L"cwd");
  EnvironmentOverride environment;
  for (const wchar_t* name : {L"TEMP", L"TMP", L"APPDATA", L"LOCALAPPDATA", L"USERPROFILE"})
    environment.Set(name, (elsewhere / name).wstring());
  environment.Set(L"ZARN_INI", (elsewhere / L"Zarn.ini").wstring());

  const fs::path drive = fs::path(SystemFolder()).root_path();
  const Tree before = ListFiles(drive, profile);
  ZarnClient& zarn =
      Ready(StartZarn(std::nullopt, {L"/ini", (elsewhere / L"Zarn.ini").wstring(), L"--reset"}, elsewhere / L"cwd"));

  // Everything the program does with files and the shell, once.
  LoadStandinShell();
  for (const fs::path& folder : {a, b, c}) ASSERT_NE(OpenFolderWindow(folder), nullptr);
  for (UINT command : {IDM_CASCADE_KEEP_SIZE, IDM_CASCADE_UNIFORM, IDM_TILE}) EXPECT_TRUE(zarn.Send(command));
  EXPECT_TRUE(SaveNewWorkBench(L"作業").finished);
  EXPECT_TRUE(RunCommand(IDM_CLOSE_ALL).finished);
  EXPECT_TRUE(RestoreWorkBench(0).finished);
  EXPECT_TRUE(zarn.Post(IDM_CONFIG_DIALOG));
  HWND dialog = WaitForDialogWith(zarn, IDC_CONFIG_TABS);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ZarnClient::PressButton(dialog, IDC_BTN_CONFIG_OK));
  ASSERT_TRUE(WaitUntil([&] { return zarn.Dialogs().empty(); }, 5s));

  const std::vector<fs::path> modules = ModulesOf(zarn.ProcessId());
  ASSERT_GT(modules.size(), 5u);
  for (const fs::path& module : modules) {
    EXPECT_TRUE(IsSystemDll(module) || IsStandinShell(module) || fs::equivalent(module, zarn.Exe()))
        << Utf8(module.wstring());
  }
  EXPECT_TRUE(zarn.Close().has_value());

  const std::set<std::wstring> allowed = {Lower(zarn.Exe().wstring()), Lower(zarn.SettingsFile().wstring()),
                                          Lower(zarn.WorkBenchFile().wstring())};
  for (const std::wstring& file : Touched(before, ListFiles(drive, profile))) {
    // What the test itself writes (the reports it asks the stand-in host for) stays in its folder.
    if (IsUnder(file, root_) && !IsUnder(file, ZarnFolder()) && !IsUnder(file, elsewhere)) continue;
    EXPECT_TRUE(allowed.contains(file)) << "written: " << Utf8(file);
  }
  EXPECT_TRUE(fs::exists(zarn.SettingsFile()));
  EXPECT_TRUE(fs::exists(zarn.WorkBenchFile()));
}

// The DLLs named in the program's import table, lower case.
std::vector<std::wstring> ImportedDlls(const fs::path& exe) {
  std::vector<std::wstring> names;
  HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  if (image == nullptr) return names;
  const auto* base = reinterpret_cast<const BYTE*>(image);
  const auto* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       imports.Size != 0 && entry->Name != 0; ++entry) {
    const std::string name = reinterpret_cast<const char*>(base + entry->Name);
    names.push_back(Lower(std::wstring(name.begin(), name.end())));
  }
  FreeLibrary(image);
  return names;
}

// Windows takes an imported DLL from the program's own folder before the system's, unless it is one
// of the known DLLs, or the side-by-side store holds it for the program's manifest. Anyone able to
// write to the folder beside Zarn.exe could otherwise have their own code run in it; every other
// DLL the program wants it loads by full system path.
TEST_F(SecurityTest, ImportsOnlyDllsThatNeverComeFromBesideTheProgram) {
  static const std::set<std::wstring> kKnownDlls = {
      L"advapi32.dll", L"clbcatq.dll",  L"combase.dll",  L"comdlg32.dll", L"coml2.dll",    L"difxapi.dll",
      L"gdi32.dll",    L"gdiplus.dll",  L"imagehlp.dll", L"imm32.dll",    L"kernel32.dll", L"msctf.dll",
      L"msvcrt.dll",   L"normaliz.dll", L"nsi.dll",      L"ole32.dll",    L"oleaut32.dll", L"psapi.dll",
      L"rpcrt4.dll",   L"sechost.dll",  L"setupapi.dll", L"shcore.dll",   L"shell32.dll",  L"shlwapi.dll",
      L"user32.dll",   L"wldap32.dll",  L"ws2_32.dll",   L"ntdll.dll"};
  const fs::path exe = ProgramFolder() / L"Zarn.exe";
  const std::vector<std::wstring> imported = ImportedDlls(exe);
  ASSERT_FALSE(imported.empty());
  for (const std::wstring& name : imported)
    EXPECT_TRUE(kKnownDlls.contains(name) || name == L"comctl32.dll") << Utf8(name);

  // The common controls come from the side-by-side store even with a comctl32.dll planted beside the
  // program and Wine told to prefer, as Windows does, a DLL found on the search path.
  fs::create_directories(ZarnFolder());
  ASSERT_TRUE(
      CopyFileW((ProgramFolder() / L"zarn_planted.dll").c_str(), (ZarnFolder() / L"comctl32.dll").c_str(), FALSE));
  EnvironmentOverride environment;
  environment.Set(L"WINEDLLOVERRIDES", L"comctl32=n,b;mscoree,mshtml=;winedbg.exe=d");
  ZarnClient& zarn = Ready(StartZarn());
  int commonControls = 0;
  for (const fs::path& module : ModulesOf(zarn.ProcessId())) {
    if (Lower(module.filename().wstring()) == L"comctl32.dll") {
      ++commonControls;
      EXPECT_TRUE(IsSystemDll(module)) << Utf8(module.wstring());
    }
  }
  EXPECT_GE(commonControls, 1);
  EXPECT_TRUE(IsWindowVisible(zarn.Window()));
}

}  // namespace
}  // namespace zarn::e2e
