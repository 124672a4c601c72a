#include "game/field/TMiniMap.h"

#include <algorithm>
#include <cmath>

#include "game/data/TGameData.h"
#include "game/field/TFrameObject.h"

using plat::D3DXVECTOR3;

namespace {

constexpr float kWorldHalf = 256.0f, kWorldSize = 512.0f;
// Half the cut-out, as shares of the picture: 204 and 140 of its 512 world units.
constexpr float kHalfU = 102.0f / kWorldSize, kHalfV = 70.0f / kWorldSize;
constexpr float kPictureX = 10, kPictureY = 10, kPictureW = 204, kPictureH = 140;
constexpr float kCursorX = 104, kCursorY = 72, kCursorSize = 16;
constexpr int kAlphaBlend = 1, kAddBlend = 3;

TSprite8 Sprite(const std::string& name) { return LoadSprite(name, plat::D3DPOOL_MANAGED, 0); }

}  // namespace

TMiniMap::TMiniMap()
    : map(Sprite("")), window(Sprite("sprite.ptx/window21")), cursor(Sprite("sprite.ptx/cursor05")) {}

TMiniMap::~TMiniMap() = default;

void TMiniMap::Load(const std::string& name) { map = Sprite(name.empty() ? "" : "minimap.ptx/" + name); }

void TMiniMap::Update(const TFrameObject& player) {
  const D3DXVECTOR3 front = player.GetFront();
  angle = std::acos(std::clamp(front.z, -1.0f, 1.0f));
  if (front.x <= 0) angle = -angle;

  const D3DXVECTOR3 p = player.GetPosition();
  const float u = (p.x + kWorldHalf) / kWorldSize, v = (kWorldHalf - p.z) / kWorldSize;
  const float corners[4][2] = {{u - kHalfU, v - kHalfV}, {u + kHalfU, v - kHalfV}, {u - kHalfU, v + kHalfV},
                               {u + kHalfU, v + kHalfV}};
  for (int i = 0; i < 4; ++i) {
    map.vertices[i].u = corners[i][0];
    map.vertices[i].v = corners[i][1];
  }
}

void TMiniMap::Draw(float x, float y) {
  const TGameData* game = TGameData::Instance();
  if (!game || game->GetMiniMapMode() == 0) return;
  TSprite8::SetBlendMode(kAlphaBlend);
  window.DrawAt(x, y, false);
  TSprite8::SetBlendMode(kAddBlend);
  map.Draw(x + kPictureX, y + kPictureY, kPictureW, kPictureH, false);
  TSprite8::SetBlendMode(kAlphaBlend);
  plat::D3DXMATRIX turn;
  plat::D3DXMatrixRotationZ(&turn, angle);
  cursor.DrawTransformed(x + kCursorX, y + kCursorY, kCursorSize, kCursorSize, turn, false);
}
