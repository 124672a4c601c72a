#include "common/TDeviceHooks.h"

TDeviceHooks& TDeviceHooks::Get() {
  static TDeviceHooks hooks;
  return hooks;
}
