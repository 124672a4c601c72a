#include "game/field/TStageHolder.h"

#include "common/my_error.h"
#include "game/data/TGameData.h"
#include "game/data/TSvpTable.h"
#include "game/field/FieldServices.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldScene.h"
#include "game/field/TMapData.h"
#include "game/field/TStageA.h"
#include "game/field/TStageB.h"

using plat::D3DXVECTOR3;

namespace {

constexpr uint32_t kTown = 0;
constexpr uint32_t kBattle = 1;

void MakePlayer(TFieldScene& scene) {
  const TGameData* data = TGameData::Instance();
  const uint32_t member = data ? data->GetCurrentMember() : 0;
  scene.SetPlayer(GetFieldServices().CreatePlayerChar(scene, member));
}

}  // namespace

void TStageHolder::CheckKind(const TMapData& map) {
  const uint32_t kind = map.GetKind();
  if (kind != kTown && kind != kBattle)
    throw my_error("map \"" + map.GetMapName() + "\": stage kind " + std::to_string(kind) +
                       " is neither a town nor a battle map",
                   __FILE__, __LINE__);
}

std::unique_ptr<TStage> TStageHolder::CreateFromMapData(const TMapData& map, TFieldScene& scene) {
  CheckKind(map);
  MakePlayer(scene);
  if (map.GetKind() == kBattle) return std::make_unique<TStageA>(map, scene);
  return std::make_unique<TStageB>(map, scene);
}

std::unique_ptr<TStage> TStageHolder::CreateFromName(const std::string& mapName, TFieldScene& scene,
                                                     const D3DXVECTOR3* start, const D3DXVECTOR3* facing,
                                                     const D3DXVECTOR3* camera) {
  const TMapData map(mapName, start, facing, camera);
  return CreateFromMapData(map, scene);
}

std::unique_ptr<TStage> TStageHolder::CreateFromSavePoint(const TSvpRecord& savePoint, TFieldScene& scene) {
  const D3DXVECTOR3 position(savePoint.position[0], savePoint.position[1], savePoint.position[2]);
  const D3DXVECTOR3 facing(0, 0, -1);
  const TMapData map(savePoint.mapName, &position, &facing, &position);
  if (TGameData* data = TGameData::Instance()) data->SetSkillRingCursor(0);
  return CreateFromMapData(map, scene);
}
