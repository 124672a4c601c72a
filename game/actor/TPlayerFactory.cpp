#include "game/actor/TPlayerFactory.h"

#include <cstring>
#include <vector>

#include "game/actor/PlayerHud.h"
#include "game/actor/TPlayerChar.h"
#include "game/data/HeroTextures.h"
#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/data/TWeaponTable.h"
#include "game/field/TFieldScene.h"
#include "game/field/TGameObject.h"

namespace {

// The player models' vertices: the texture coordinates at bytes 16 and 20.
constexpr uint32_t kUOffset = 16, kVOffset = 20, kVertexBytes = 24;
constexpr float kWindowULow = 0.25f, kWindowUHigh = 0.3125f;
constexpr float kWindowVLow = 0.75f, kWindowVHigh = 0.875f;

TPlayerStyleMaker& Maker() {
  static TPlayerStyleMaker maker = nullptr;
  return maker;
}

uint32_t CurrentMember() {
  const TGameData* data = TGameData::Instance();
  return data ? data->GetCurrentMember() : 0;
}

bool InWindow(const uint8_t* vertex) {
  float u = 0, v = 0;
  std::memcpy(&u, vertex + kUOffset, 4);
  std::memcpy(&v, vertex + kVOffset, 4);
  return u > kWindowULow && u < kWindowUHigh && v > kWindowVLow && v < kWindowVHigh;
}

// The new triangle order, or nothing when the buffers cannot be read.
bool WindowLastOrder(TMesh8& mesh, std::vector<uint16_t>& order) {
  const uint32_t triangles = mesh.GetTriangleCount();
  const uint32_t vertices = mesh.GetVertexCount();
  const uint32_t stride = plat::D3DXGetFVFVertexSize(mesh.GetVertexFormat());
  const uint16_t* indices = mesh.LockIndicesReadOnly();
  const auto* bytes = static_cast<const uint8_t*>(mesh.LockVerticesReadOnly(0));
  const bool readable = indices && bytes && stride >= kVertexBytes;
  if (readable) {
    order.assign(3 * size_t{triangles}, 0);
    size_t front = 0, back = triangles;
    for (uint32_t t = 0; t < triangles; ++t) {
      const uint16_t* corner = indices + 3 * size_t{t};
      bool marked = false;
      // An index past the vertices marks nothing.
      for (int k = 0; k < 3; ++k)
        marked = marked || (corner[k] < vertices && InWindow(bytes + size_t{stride} * corner[k]));
      const size_t slot = marked ? --back : front++;
      std::memcpy(&order[3 * slot], corner, 3 * sizeof(uint16_t));
    }
  }
  if (bytes) mesh.UnlockVertices(0, false);
  if (indices) mesh.UnlockIndices();
  return readable;
}

}  // namespace

const std::array<TPlayerStyleRow, kWeaponTypes>& PlayerStyles() {
  static const std::array<TPlayerStyleRow, kWeaponTypes> rows = {{
      {0, "hero01", "heroine01"},
      {1, "hero01", "heroine01"},
      {2, "hero02", "heroine02"},
      {3, nullptr, "heroine03"},
      {4, nullptr, "heroine03"},
      {5, "hero04", nullptr},
      {6, "hero04", nullptr},
      {7, "hero04", nullptr},
      {8, "hero05", nullptr},
      {9, nullptr, "heroine06"},
      {10, "hero07", nullptr},
      {11, nullptr, "heroine08"},
  }};
  return rows;
}

std::string StyleModelOf(uint32_t member, uint32_t weaponType) {
  if (weaponType >= kWeaponTypes || member > TPlayerChar::kHeroine) return {};
  const TPlayerStyleRow& row = PlayerStyles()[weaponType];
  const char* model = member == TPlayerChar::kHero ? row.heroModel : row.heroineModel;
  return model ? model : "";
}

void SetPlayerStyleMaker(TPlayerStyleMaker maker) { Maker() = maker; }

TCountedPtr<TPlayerChar> CreatePlayerChar(TFieldScene& scene, uint32_t member) {
  TGameData* data = TGameData::Instance();
  if (!data) return TCountedPtr<TPlayerChar>();
  if (TStagePlayer* old = scene.GetPlayer()) {
    if (auto* character = dynamic_cast<TPlayerChar*>(old))
      data->SetSkillRingCursor(character->GetHud().GetSkillRingCursor());
    data->StorePlayerState(old->GetState());
  }
  const TCharBlock& block = data->GetCharBlock(member);
  const uint32_t type = TWeaponTable::Find(block.weaponId)->type;
  const std::string model = StyleModelOf(member, type);
  if (model.empty() || !Maker()) return TCountedPtr<TPlayerChar>();
  TCountedPtr<TPlayerChar> player(Maker()(scene, member, block, type, model));
  if (!player) return player;
  data->UpdateBonusRates(member);
  MoveWindowFacesLast(*player->GetModel());
  return player;
}

void MoveWindowFacesLast(TMesh8& mesh) {
  std::vector<uint16_t> order;
  if (WindowLastOrder(mesh, order) && !order.empty()) {
    if (uint16_t* indices = mesh.LockIndices()) {
      std::memcpy(indices, order.data(), order.size() * sizeof(uint16_t));
      mesh.UnlockIndices();
      mesh.RebuildPartTable();
    }
  }
  SelectHeroTextures(mesh);
}

TMesh8 LoadPartyMemberModel() {
  TMesh8 mesh = TMesh8::Load(TGameObject::GetFolder() + THrdefTable::Find(CurrentMember())->modelName + ".tob");
  MoveWindowFacesLast(mesh);
  mesh.SetRenderMode(kModelRenderMode, TMesh8::kAllParts);
  return mesh;
}

std::string MakeCharTablePath(const std::string& suffix) {
  return TCharSoundLists::ListPath(THrdefTable::Find(CurrentMember())->tableName, suffix);
}
