#include "game/field/TMapObject.h"

#include "game/field/FieldServices.h"
#include "game/field/TStage.h"

namespace {

constexpr uint32_t kEngineStopped = 16;

// Waiting (3) and finished (4) end the run of this tick; a stopped engine would answer 16 for ever.
bool RunEnds(uint32_t result) { return (result & 7) != 0 || result == kEngineStopped; }

// The run's engine goes when the run is over, also when a script fails.
class TMapScriptEngine {
 public:
  explicit TMapScriptEngine(TFieldServices& services) : services(services) { services.CreateScriptEngine(); }
  ~TMapScriptEngine() { services.DestroyScriptEngine(); }
  TMapScriptEngine(const TMapScriptEngine&) = delete;
  TMapScriptEngine& operator=(const TMapScriptEngine&) = delete;

 private:
  TFieldServices& services;
};

}  // namespace

int32_t TMapObject::Fire(const std::string& scriptName) {
  TFieldServices& services = GetFieldServices();
  TFieldScene& scene = stage->GetScene();
  int32_t result = kNothingHappened;
  {
    const TMapScriptEngine engine(services);
    const TMapEventState* mapEvent = services.LoadMapScript(scene, scriptName);
    while (!RunEnds(services.RunScripts())) {
    }
    if (mapEvent) result = mapEvent->GetResult();
  }
  if (result != kScriptStarted) return result;
  services.StartConversation(scene, scriptName);
  return kScriptStarted;
}
