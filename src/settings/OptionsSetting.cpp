#include "settings/OptionsSetting.h"

namespace quillet {

TOptionsSetting::TOptionsSetting() {
  for (size_t node = 1; node <= 24; ++node) TreeNodeChecks[node] = true;
}

TOptionsSetting OptionsSetting;

}  // namespace quillet
