#include "server/toolbars/tip_status_bar.h"

void TTipStatusBar::SetHintText(const char* text) {
  const auto status = ToolTip.GetHintRouter().SetHintText(text);
  TStatusBar::SetHintText(status ? status->c_str() : nullptr);
}
