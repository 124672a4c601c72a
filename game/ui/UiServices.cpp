#include "game/ui/UiServices.h"

namespace {

class TNoUiServices : public TUiServices {
 public:
  TScene* CreateTitleChange(TGameWnd&, int32_t) override { return nullptr; }
  TScene* CreateLoadChange(TGameWnd&, int32_t, int32_t) override { return nullptr; }
  TScene* CreateEventChange(TGameWnd&, int32_t, int32_t, int32_t, int32_t) override { return nullptr; }
};

TNoUiServices noServices;
TUiServices* installed = &noServices;

}  // namespace

void SetUiServices(TUiServices* services) { installed = services ? services : &noServices; }

TUiServices& GetUiServices() { return *installed; }
