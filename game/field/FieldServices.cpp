#include "game/field/FieldServices.h"

#include "common/my_error.h"

namespace {

TFieldServices* installed = nullptr;

}  // namespace

void SetFieldServices(TFieldServices* services) { installed = services; }

TFieldServices& GetFieldServices() {
  // Start-up installs them before any field exists; a field without them is a wiring fault.
  if (!installed) throw MY_ERROR("the field's services are not installed", __LINE__);
  return *installed;
}
