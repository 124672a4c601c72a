// The small map window of the field: a frame, a 204 x 140 cut-out of the map's minimap picture
// centred on the player, and an arrow that turns with the player's facing. A picture shows the
// world square from -256 to 256 on x and on z, +z at the top.
#pragma once
#include <string>

#include "common/TSprite8.h"

class TFrameObject;

class TMiniMap {
 public:
  // The frame "sprite.ptx/window21", the arrow "sprite.ptx/cursor05" and no picture.
  TMiniMap();
  virtual ~TMiniMap();

  // The picture "minimap.ptx/" + name; an empty name shows none.
  void Load(const std::string& name);
  // Turns the arrow to the player's facing and centres the cut-out on its position.
  void Update(const TFrameObject& player);
  // Frame at (x, y), picture from (x + 10, y + 10), arrow centred at (x + 112, y + 80); nothing
  // while the game's minimap mode is 0 (or there is no game).
  void Draw(float x, float y);

  // Radians: 0 facing +z, toward -x negative, -pi facing -z.
  float GetAngle() const { return angle; }
  const TSprite8& GetPicture() const { return map; }

 private:
  TSprite8 map;
  TSprite8 window;
  TSprite8 cursor;
  float angle = 0;
};
