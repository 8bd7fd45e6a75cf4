#pragma once
// The data module: both profiles beside the executable, and the images every window shares.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "core/FilePath.h"
#include "core/Profile.h"
#include "win32/UniqueHandles.h"

namespace zarn::app {

class TZarnDM {
 public:
  // Opens <exe>.ini and <exe>.wbf. Throws zarn::Error when one exists but cannot be read: starting
  // with an empty one would overwrite the user's workbenches at the next save.
  explicit TZarnDM(const FilePath& exe);
  TZarnDM(const TZarnDM&) = delete;
  TZarnDM& operator=(const TZarnDM&) = delete;

  Profile& SettingsProfile() { return settings_; }
  Profile& WorkBenchProfile() { return workBenches_; }

  // The 13 command images at the size small icons have at `dpi`. Each list made stays valid until
  // the data module goes: a control may still show one made for another DPI.
  HIMAGELIST ZarnImgList(UINT dpi);
  int ImageSize() const { return imageSize_; }
  // The application's icon at the small or large icon size of `dpi`; valid, like the lists, until
  // the data module goes.
  HICON AppIcon(UINT dpi, bool large);
  // The notification-area icon, at the system's small-icon size.
  HICON TrayIcon();

 private:
  Profile settings_;
  Profile workBenches_;
  struct Images {
    UINT dpi;
    win32::UniqueImageList list;
    int size;
  };
  struct Icons {
    UINT dpi;
    win32::UniqueIcon small;
    win32::UniqueIcon large;
  };
  std::vector<Images> images_;
  int imageSize_ = 16;
  std::vector<Icons> icons_;
  win32::UniqueIcon trayIcon_;
};

// The executable's full path with its extension replaced (".ini", ".wbf").
FilePath ProfilePath(const FilePath& exe, const wchar_t* extension);

}  // namespace zarn::app
