#include "app/UZarnFrmConfig.h"

#include "app/MessageDialogs.h"
#include "app/UiText.h"

namespace zarn::app {

bool TZarnFrmConfig::ShowModal(HWND owner, ConfigPage) {
  // Until the dialog's pages exist, both commands say so and change nothing.
  showing_ = true;
  Inform(owner, text::kSettingsDialogComing);
  showing_ = false;
  return false;
}

}  // namespace zarn::app
