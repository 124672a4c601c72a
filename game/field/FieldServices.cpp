#include "game/field/FieldServices.h"

#include "game/field/FieldStandIns.h"

namespace {

TFieldServices* installed = nullptr;

}  // namespace

void SetFieldServices(TFieldServices* services) { installed = services; }

TFieldServices& GetFieldServices() {
  static TFieldStandIns standIns;
  return installed ? *installed : standIns;
}
