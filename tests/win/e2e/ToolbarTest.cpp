// The toolbar window itself: where it opens, what it remembers, its cascade button, title bar,
// transparency, background picture, and what it does when its settings file cannot be written.
#include <algorithm>

#include "ToolbarScenario.h"
#include "ZarnMessages.h"
#include "resource.h"

namespace zarn::e2e {
namespace {

using ToolbarTest = E2eTest;

// The smallest client that holds every button.
SIZE ButtonArea(const ZarnClient& zarn) {
  SIZE area{0, 0};
  for (int i = 0; i < kToolButtonCount; ++i) {
    const RECT r = ToolButtonRect(zarn, i);
    area.cx = std::max(area.cx, r.right);
    area.cy = std::max(area.cy, r.bottom);
  }
  return area;
}

LONG_PTR ExStyle(HWND window) { return GetWindowLongPtrW(window, GWL_EXSTYLE); }
// The buttons of the test desktop's taskbar (it appears with the first tray icon) name their window
// by their control id.
bool HasTaskbarButton(HWND window) {
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  bool found = false;
  std::pair<HWND, bool*> search{window, &found};
  EnumChildWindows(
      taskbar,
      [](HWND child, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<std::pair<HWND, bool*>*>(data);
        if (IsWindowVisible(child) && GetWindowLongPtrW(child, GWLP_ID) == reinterpret_cast<LONG_PTR>(search->first))
          *search->second = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return found;
}

bool HasCaption(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }

TEST_F(ToolbarTest, FirstRunOpensAtItsPlaceOnTopWithoutTaskbarButton) {
  ZarnClient& zarn = Ready(StartZarn());
  HWND window = zarn.Window();
  const RECT frame = WindowRect(window);
  EXPECT_EQ(frame.left, 755);
  EXPECT_EQ(frame.top, 605);
  // Two rows of 22-pixel buttons, the drop-down buttons wider than the plain ones.
  const SIZE area = ButtonArea(zarn);
  EXPECT_GT(area.cy, 2 * 22);
  EXPECT_GT(Width(ToolButtonRect(zarn, kCascadeButton)), Width(ToolButtonRect(zarn, kTileButton)));
  const SIZE client = ClientSize(window);
  EXPECT_GE(client.cx, area.cx);
  EXPECT_EQ(client.cy, area.cy);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(ExStyle(window) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ExStyle(window) & WS_EX_APPWINDOW);
  EXPECT_TRUE(ExStyle(window) & WS_EX_TOPMOST);
  EXPECT_TRUE(HasCaption(window));
  // The taskbar adds its buttons a moment after a window shows.
  EXPECT_FALSE(WaitUntil([window] { return HasTaskbarButton(window); }, 2s));

  ASSERT_EQ(zarn.Close(), 0u);
  const auto file = zarn.SettingsFile();
  EXPECT_EQ(ConfigValue(file, "Left"), "755");
  EXPECT_EQ(ConfigValue(file, "Top"), "605");
  EXPECT_EQ(ConfigValue(file, "Width"), std::to_string(client.cx));
  EXPECT_EQ(ConfigValue(file, "Height"), std::to_string(client.cy));
  EXPECT_EQ(ConfigValue(file, "UponDef"), "0");
}

// The system's usual minimum width of a captioned window (112 outer here) is wider than the buttons.
TEST_F(ToolbarTest, ClientIsExactlyTheButtonAreaWithAndWithoutTitleBar) {
  ZarnClient& zarn = Ready(StartZarn());
  const SIZE area = ButtonArea(zarn);
  for (int toggles = 0; toggles < 3; ++toggles) {
    EXPECT_EQ(ClientSize(zarn.Window()).cx, area.cx) << toggles;
    EXPECT_EQ(ClientSize(zarn.Window()).cy, area.cy) << toggles;
    ASSERT_TRUE(zarn.Send(IDM_TITLEBAR_TOGGLE));
  }
}

// Dragging the frame narrower moves buttons into further rows and the window snaps to them; the
// stored size brings the same rows back at the next start.
TEST_F(ToolbarTest, ButtonsWrapAtTheWindowsWidthAndTheShapeIsRemembered) {
  ZarnClient& zarn = Ready(StartZarn());
  const SIZE before = ClientSize(zarn.Window());
  const RECT frame = WindowRect(zarn.Window());
  // Narrower than the first row (cascade, tile, separator, close all), as a frame drag would make it.
  SetWindowPos(zarn.Window(), nullptr, 0, 0, frame.right - frame.left - 30, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntil([&] { return ClientSize(zarn.Window()).cy > before.cy; }, 3s))
      << ClientSize(zarn.Window()).cx << "x" << ClientSize(zarn.Window()).cy;
  const SIZE wrapped = ClientSize(zarn.Window());
  EXPECT_LT(wrapped.cx, before.cx);
  EXPECT_EQ(wrapped.cx, ButtonArea(zarn).cx);
  EXPECT_EQ(wrapped.cy, ButtonArea(zarn).cy);
  // The close-all button left the first row.
  EXPECT_GT(ToolButtonRect(zarn, kCloseAllButton).top, ToolButtonRect(zarn, kCascadeButton).top);

  ASSERT_EQ(zarn.Close(), 0u);
  const std::string settings = ReadFileBytes(zarn.SettingsFile());
  ZarnClient& again = Ready(StartZarn(settings));
  EXPECT_EQ(ClientSize(again.Window()).cx, wrapped.cx);
  EXPECT_EQ(ClientSize(again.Window()).cy, wrapped.cy);
}

enum class Ending { Exit, EndSession, EndSessionCancelled };
struct EndingCase {
  const char* name;
  Ending ending;
  bool remembered;
};

class RememberTest : public E2eTest, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(RememberTest, PositionSizeAndCascadeDefaultSurviveTheEnd) {
  const EndingCase& c = GetParam();
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"UponDef", "1"}})));
  const SIZE client = ClientSize(zarn.Window());
  SetWindowPos(zarn.Window(), nullptr, 333, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(zarn.Window()).left == 333; }, 2s));
  const std::string before = ReadFileBytes(zarn.SettingsFile());

  if (c.ending == Ending::Exit) {
    ASSERT_EQ(zarn.Close(), 0u);
  } else {
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(zarn.Window(), WM_ENDSESSION, c.ending == Ending::EndSession, 0, SMTO_NORMAL, 5000,
                                    &answer));
    // Windows ends the process without destroying its windows.
    KillProcess(zarn.ProcessId());
  }
  if (!c.remembered) {
    EXPECT_EQ(ReadFileBytes(zarn.SettingsFile()), before);
    return;
  }
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "UponDef"), "1");
  ZarnClient& again = Ready(StartZarn());
  EXPECT_EQ(WindowRect(again.Window()).left, 333);
  EXPECT_EQ(WindowRect(again.Window()).top, 222);
  EXPECT_EQ(ClientSize(again.Window()).cx, client.cx);
  EXPECT_EQ(ClientSize(again.Window()).cy, client.cy);
}

INSTANTIATE_TEST_SUITE_P(Endings, RememberTest,
                         ::testing::Values(EndingCase{"Exit", Ending::Exit, true},
                                           EndingCase{"EndSession", Ending::EndSession, true},
                                           EndingCase{"EndSessionCancelled", Ending::EndSessionCancelled, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct StartPlaceCase {
  const char* name;
  const char* left;
  const char* top;
  LONG expectedLeft;
  LONG expectedTop;
};

class StartPlaceTest : public E2eTest, public ::testing::WithParamInterface<StartPlaceCase> {};

TEST_P(StartPlaceTest, StoredPositionBeyondTheDesktopStartsAtItsEdge) {
  const StartPlaceCase& c = GetParam();
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"Left", c.left}, {"Top", c.top}})));
  EXPECT_EQ(WindowRect(zarn.Window()).left, c.expectedLeft);
  EXPECT_EQ(WindowRect(zarn.Window()).top, c.expectedTop);
}

INSTANTIATE_TEST_SUITE_P(Places, StartPlaceTest,
                         ::testing::Values(StartPlaceCase{"LeftBeyond", "5000", "100", 0, 100},
                                           StartPlaceCase{"TopBeyond", "100", "5000", 100, 0},
                                           StartPlaceCase{"Inside", "40", "30", 40, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CascadeCase {
  const char* name;
  const char* uponDef;
  UINT command;
  bool uniform;
  const char* writtenUponDef;
};

class CascadeTest : public E2eTest, public ::testing::WithParamInterface<CascadeCase> {};

TEST_P(CascadeTest, BodyRunsTheDefaultVariantAndKeepsItWhileMenuItemsDoNot) {
  const CascadeCase& c = GetParam();
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"UponDef", c.uponDef}})));
  LoadStandinShell();
  const std::vector<SIZE> sizes = {{500, 300}, {700, 420}};
  std::vector<HWND> windows;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    windows.push_back(OpenFolderWindow(MakeFolder(L"F" + std::to_wstring(i))));
    ASSERT_NE(windows.back(), nullptr);
    MoveWindowTo(windows.back(), RectAt(300 + 100 * static_cast<int>(i), 200, sizes[i].cx, sizes[i].cy));
  }
  ASSERT_TRUE(zarn.Send(c.command));

  std::vector<RECT> rects;
  for (HWND window : windows) rects.push_back(WindowRect(window));
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const SIZE expected = c.uniform ? SIZE{960, 540} : sizes[i];
    EXPECT_EQ(Width(rects[i]), expected.cx) << i;
    EXPECT_EQ(Height(rects[i]), expected.cy) << i;
  }
  // One step apart, diagonally.
  const LONG stepX = rects[1].left - rects[0].left;
  const LONG stepY = rects[1].top - rects[0].top;
  EXPECT_EQ(std::abs(stepX), std::abs(stepY));
  EXPECT_GE(std::abs(stepX), GetSystemMetrics(SM_CYCAPTION));

  // The cascade drop-down shows the default variant as its bold item.
  const auto menu = OpenDropDown(zarn, kCascadeButton);
  ASSERT_TRUE(menu);
  const UINT keptDefault = std::string(c.writtenUponDef) == "1" ? IDM_CASCADE_UNIFORM : IDM_CASCADE_KEEP_SIZE;
  EXPECT_EQ(Defaults(Level(*menu)), std::vector<UINT>{keptDefault});
  ASSERT_TRUE(zarn.CloseMenus());
  ASSERT_EQ(zarn.Close(), 0u);
  EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "UponDef"), c.writtenUponDef);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, CascadeTest,
    ::testing::Values(CascadeCase{"BodyKeepSize", "0", IDM_CASCADE_DEFAULT, false, "0"},
                      CascadeCase{"BodyUniform", "1", IDM_CASCADE_DEFAULT, true, "1"},
                      CascadeCase{"ItemKeepSizeLeavesUniformDefault", "1", IDM_CASCADE_KEEP_SIZE, false, "1"},
                      CascadeCase{"ItemUniformLeavesKeepSizeDefault", "0", IDM_CASCADE_UNIFORM, true, "0"},
                      // A value naming no variant acts as the first; only the body replaces it.
                      CascadeCase{"BodyReplacesUnknownDefault", "5", IDM_CASCADE_DEFAULT, false, "0"},
                      CascadeCase{"ItemKeepsUnknownDefault", "5", IDM_CASCADE_UNIFORM, true, "5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolbarTest, TitleBarToggledTwiceComesBackToItsFirstFrame) {
  ZarnClient& zarn = Ready(StartZarn());
  HWND window = zarn.Window();
  const RECT first = WindowRect(window);
  for (const bool visible : {false, true}) {
    ASSERT_TRUE(zarn.Send(IDM_TITLEBAR_TOGGLE));
    EXPECT_EQ(HasCaption(window), visible);
    // Written at once, not only at exit.
    EXPECT_EQ(ConfigValue(zarn.SettingsFile(), "TitleBarView"), visible ? "1" : "0");
    EXPECT_EQ(ClientSize(window).cy, ButtonArea(zarn).cy);
    EXPECT_EQ(WindowRect(window).left, first.left);
    if (!visible) {
      EXPECT_LT(Height(WindowRect(window)), Height(first));
    }
  }
  EXPECT_EQ(WindowRect(window), first);
}

TEST_F(ToolbarTest, TitleBarOffAtStartGivesTheSameClientWithoutCaption) {
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"TitleBarView", "0"}})));
  EXPECT_FALSE(HasCaption(zarn.Window()));
  const SIZE area = ButtonArea(zarn);
  EXPECT_EQ(ClientSize(zarn.Window()).cx, area.cx);
  EXPECT_EQ(ClientSize(zarn.Window()).cy, area.cy);
}

struct LayerCase {
  const char* name;
  const char* type;
  const char* alpha;
  DWORD flags;  // 0: not layered at all
  BYTE expectedAlpha;
};

class LayerTest : public E2eTest, public ::testing::WithParamInterface<LayerCase> {};

TEST_P(LayerTest, MainLayerTypeGivesItsTransparency) {
  const LayerCase& c = GetParam();
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"MainLayerType", c.type}, {"MainLayerAlpha", c.alpha}})));
  HWND window = zarn.Window();
  ASSERT_TRUE(zarn.WaitIdle());
  EXPECT_EQ((ExStyle(window) & WS_EX_LAYERED) != 0, c.flags != 0);
  if (c.flags == 0) return;
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
  EXPECT_EQ(flags, c.flags);
  if (flags & LWA_COLORKEY) {
    EXPECT_EQ(key, GetSysColor(COLOR_BTNFACE));
  }
  if (flags & LWA_ALPHA) {
    EXPECT_EQ(alpha, c.expectedAlpha);
  }
}

INSTANTIATE_TEST_SUITE_P(Types, LayerTest,
                         ::testing::Values(LayerCase{"Opaque", "0", "128", 0, 0},
                                           LayerCase{"ColourKey", "1", "128", LWA_COLORKEY, 0},
                                           LayerCase{"Alpha", "2", "128", LWA_ALPHA, 128},
                                           LayerCase{"AlphaAboveRange", "2", "300", LWA_ALPHA, 255}),
                         [](const auto& info) { return std::string(info.param.name); });

// A 24-bit bottom-up BMP whose columns take their colour from `colourAt(x)`.
template <class ColourAt>
std::string ColumnBitmap(int width, int height, ColourAt colourAt) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = static_cast<DWORD>(stride * height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  std::string row(static_cast<std::size_t>(stride), '\0');
  for (int x = 0; x < width; ++x) {
    const COLORREF colour = colourAt(x);
    row[3 * x] = static_cast<char>(GetBValue(colour));
    row[3 * x + 1] = static_cast<char>(GetGValue(colour));
    row[3 * x + 2] = static_cast<char>(GetRValue(colour));
  }
  for (int y = 0; y < height; ++y) bytes += row;
  return bytes;
}

std::string SolidBitmap(int width, int height, COLORREF colour) {
  return ColumnBitmap(width, height, [colour](int) { return colour; });
}

// Every column its own colour, so a picture drawn from the wrong origin shows.
COLORREF StripeAt(int x) { return RGB(x & 0xFF, 255 - (x & 0xFF), 40 + (x >> 8)); }

COLORREF ScreenPixel(POINT at) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

TEST_F(ToolbarTest, BackgroundPictureIsDrawnBehindTheButtons) {
  constexpr COLORREF kColour = RGB(20, 200, 40);
  const auto picture = root_ / L"back.bmp";
  WriteFileBytes(picture, SolidBitmap(400, 200, kColour));
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"BackgroundImage", Cp932Text(picture.wstring())}})));
  ASSERT_TRUE(zarn.WaitIdle());
  EXPECT_TRUE(zarn.Dialogs().empty());
  // The gap between the tile and close-all buttons shows the background, not a button.
  const RECT tile = ToolButtonRect(zarn, kTileButton);
  POINT at{tile.right + 3, (tile.top + tile.bottom) / 2};
  ClientToScreen(ToolBarOf(zarn.Window()), &at);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(at) == kColour; }, 2s)) << std::hex << ScreenPixel(at);
}

// A repaint of one cell (as the mouse passing over a button makes) draws the picture anchored at
// the tool bar's origin, not at the cell's corner.
TEST_F(ToolbarTest, BackgroundPictureStaysInPlaceWhenOneCellIsRepainted) {
  const auto picture = root_ / L"stripes.bmp";
  WriteFileBytes(picture, ColumnBitmap(400, 200, StripeAt));
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"BackgroundImage", Cp932Text(picture.wstring())}})));
  ASSERT_TRUE(zarn.WaitIdle());
  const HWND toolBar = ToolBarOf(zarn.Window());
  const RECT tile = ToolButtonRect(zarn, kTileButton);
  const RECT close = ToolButtonRect(zarn, kCloseAllButton);
  const POINT inGap{tile.right + 3, (tile.top + tile.bottom) / 2};
  POINT at = inGap;
  ClientToScreen(toolBar, &at);
  ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(at) == StripeAt(inGap.x); }, 2s)) << std::hex << ScreenPixel(at);

  // The separator's cell alone, then the tile button's, each probed where its own drawing leaves
  // the background showing (the separator draws its line in its middle).
  const struct {
    RECT cell;
    POINT probe;
  } repaints[] = {{RECT{tile.right, tile.top, close.left, tile.bottom}, inGap},
                  {tile, POINT{tile.left + 2, tile.top + 2}}};
  for (const auto& repaint : repaints) {
    POINT onScreen = repaint.probe;
    ClientToScreen(toolBar, &onScreen);
    // The pixels are right before the repaint: what counts is what they are after it.
    RedrawWindow(toolBar, &repaint.cell, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_TRUE(zarn.WaitIdle());
    Sleep(300);
    EXPECT_EQ(ScreenPixel(onScreen), StripeAt(repaint.probe.x))
        << std::hex << ScreenPixel(onScreen) << " at " << std::dec << repaint.probe.x;
  }
}

TEST_F(ToolbarTest, MissingBackgroundPictureIsNoErrorAndStartUpGoesOn) {
  ZarnClient& zarn = Ready(
      StartZarn(ConfigIni({{"BackgroundImage", Cp932Text((root_ / L"gone.bmp").wstring())}, {"TitleBarView", "0"}})));
  ASSERT_TRUE(zarn.WaitIdle());
  EXPECT_TRUE(zarn.Dialogs().empty());
  EXPECT_TRUE(WaitUntil([&] { return !HasCaption(zarn.Window()); }, 3s));
}

// What a picture file holds: some words, or a bitmap that lies about its size.
enum class BadContents { Words, CutShortBitmap, HugeBitmap };

struct BadPictureCase {
  const char* name;
  const wchar_t* file;
  const wchar_t* message;
  BadContents contents = BadContents::Words;
};

void WriteBadPicture(const std::filesystem::path& file, BadContents contents) {
  if (contents == BadContents::Words)
    return WriteFileBytes(file, "not a picture at all, just some words to fill a file");
  std::string bytes = SolidBitmap(400, 200, RGB(20, 200, 40));
  if (contents == BadContents::CutShortBitmap) return WriteFileBytes(file, bytes.substr(0, bytes.size() - 100));
  // 20,000 × 20,000 at 24 bits: a 1.2 GB file, made sparse so that the test writes only its header.
  constexpr LONG kSide = 20000;
  auto* info = reinterpret_cast<BITMAPINFOHEADER*>(bytes.data() + sizeof(BITMAPFILEHEADER));
  info->biWidth = info->biHeight = kSide;
  info->biSizeImage = kSide * kSide * 3;
  bytes.resize(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
  WriteFileBytes(file, bytes);
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(bytes.size()) + LONGLONG{kSide} * kSide * 3;
  EXPECT_TRUE(SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && SetEndOfFile(handle));
  CloseHandle(handle);
}

class BadPictureTest : public E2eTest, public ::testing::WithParamInterface<BadPictureCase> {};

TEST_P(BadPictureTest, IsToldOnceAndStartUpGoesOn) {
  const BadPictureCase& c = GetParam();
  const auto picture = root_ / c.file;
  WriteBadPicture(picture, c.contents);
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"BackgroundImage", Cp932Text(picture.wstring())},
                                                {"TitleBarView", "0"},
                                                {"MainLayerType", "2"},
                                                {"MainLayerAlpha", "128"}})));
  HWND error = zarn.WaitForDialog(app::kApplicationTitle);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(ZarnClient::StaticTexts(error), std::vector<std::wstring>{c.message});
  ASSERT_TRUE(ZarnClient::PressButton(error, IDOK));
  ASSERT_TRUE(WaitUntil([&] { return zarn.Dialogs().empty(); }, 3s));
  HWND window = zarn.Window();
  // The rest of the start-up runs once the box is gone.
  WaitUntil([&] { return !HasCaption(window) && GetLayeredWindowAttributes(window, nullptr, nullptr, nullptr); }, 3s);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(HasCaption(window));
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  EXPECT_EQ(alpha, 128);
  EXPECT_TRUE(zarn.Send(IDM_TILE));
  EXPECT_TRUE(zarn.Dialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, BadPictureTest,
    ::testing::Values(
        BadPictureCase{"UnknownKind", L"back.png", L"拡張子 .png の画像形式は処理できません."},
        BadPictureCase{"Bitmap", L"back.bmp", L"ビットマップイメージが不正です."},
        BadPictureCase{"CutShortBitmap", L"back.bmp", L"ビットマップイメージが不正です.", BadContents::CutShortBitmap},
        BadPictureCase{"HugeBitmap", L"back.bmp", L"ビットマップイメージが不正です.", BadContents::HugeBitmap},
        BadPictureCase{"Icon", L"back.ico", L"アイコンイメージが不正です."},
        BadPictureCase{"WindowsMetafile", L"back.wmf", L"メタファイルが不正です."},
        BadPictureCase{"EnhancedMetafile", L"back.emf", L"メタファイルが不正です."}),
    [](const auto& info) { return std::string(info.param.name); });

// Wine's MoveFileExW replaces a read-only file where Windows refuses: the program must look itself.
TEST_F(ToolbarTest, ReadOnlySettingsFileAtExitIsToldAndLeftAsItWas) {
  ZarnClient& zarn = Ready(StartZarn(ConfigIni({{"Left", "100"}, {"Top", "100"}})));
  // Somewhere else than stored, so the exit has something to write.
  SetWindowPos(zarn.Window(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const auto file = zarn.SettingsFile();
  const std::string before = ReadFileBytes(file);
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(zarn.Post(IDM_EXIT));
  HWND error = zarn.WaitForDialog(app::kApplicationTitle);
  EXPECT_NE(error, nullptr);
  if (error != nullptr) {
    EXPECT_FALSE(Joined(ZarnClient::StaticTexts(error)).empty());
    EXPECT_TRUE(ZarnClient::PressButton(error, IDOK));
  }
  EXPECT_TRUE(WaitUntil([&] { return !zarn.Running(); }, 5s));
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(file), before);
}

}  // namespace
}  // namespace zarn::e2e
