#include "platform/core/DxComponents.h"

namespace plat {
namespace {
DxComponents installed;
}

const DxComponents& GetDxComponents() { return installed; }
void SetDxComponents(const DxComponents& components) { installed = components; }

}  // namespace plat
