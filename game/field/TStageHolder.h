// The one way the field scene gets a stage: a new player character for the scene first, then the
// stage kind that the map names (0 a town, 1 a battle map). A map of any other kind is refused with
// my_error naming it, before anything is made.
#pragma once
#include <memory>
#include <string>

#include "platform/gfx/D3DXMath.h"

class TFieldScene;
class TMapData;
class TStage;
struct TSvpRecord;

class TStageHolder {
 public:
  // The refusal of a map that is neither a town nor a battle map, made before anything is built.
  static void CheckKind(const TMapData& map);
  std::unique_ptr<TStage> CreateFromMapData(const TMapData& map, TFieldScene& scene);
  // The map read for the call only; the three vectors count only when all are given.
  std::unique_ptr<TStage> CreateFromName(const std::string& mapName, TFieldScene& scene,
                                         const plat::D3DXVECTOR3* start, const plat::D3DXVECTOR3* facing,
                                         const plat::D3DXVECTOR3* camera);
  // At the record's position facing -z, the skill ring's cursor back at its first entry.
  std::unique_ptr<TStage> CreateFromSavePoint(const TSvpRecord& savePoint, TFieldScene& scene);
};
