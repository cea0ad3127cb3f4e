#include "platform/Platform.h"

namespace quillet {

Platform& CurrentPlatform() {
  static Platform platform;
  return platform;
}

ScopedPlatform::ScopedPlatform(const Platform& platform) : previous_(CurrentPlatform()) {
  CurrentPlatform() = platform;
}

ScopedPlatform::~ScopedPlatform() { CurrentPlatform() = previous_; }

}  // namespace quillet
