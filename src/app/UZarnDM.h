#pragma once
// The data module: both profiles beside the executable, and the images every window shares.
#include <windows.h>
#include <commctrl.h>

#include "core/FilePath.h"
#include "core/Profile.h"

namespace zarn::app {

class TZarnDM {
 public:
  // Opens <exe>.ini and <exe>.wbf. Throws zarn::Error when one exists but cannot be read: starting
  // with an empty one would overwrite the user's workbenches at the next save.
  explicit TZarnDM(const FilePath& exe);
  ~TZarnDM();
  TZarnDM(const TZarnDM&) = delete;
  TZarnDM& operator=(const TZarnDM&) = delete;

  Profile& SettingsProfile() { return settings_; }
  Profile& WorkBenchProfile() { return workBenches_; }

  // The 13 command images at the size small icons have at `dpi`. Made again when the DPI changes;
  // the previous list stays valid until then.
  HIMAGELIST ZarnImgList(UINT dpi);
  int ImageSize() const { return imageSize_; }
  // The application's icon at the small or large icon size of `dpi`.
  HICON AppIcon(UINT dpi, bool large);

 private:
  Profile settings_;
  Profile workBenches_;
  HIMAGELIST images_ = nullptr;
  UINT imagesDpi_ = 0;
  int imageSize_ = 16;
  HICON smallIcon_ = nullptr;
  HICON largeIcon_ = nullptr;
  UINT iconsDpi_ = 0;
};

// The executable's full path with its extension replaced (".ini", ".wbf").
FilePath ProfilePath(const FilePath& exe, const wchar_t* extension);

}  // namespace zarn::app
