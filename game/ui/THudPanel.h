// The base of the animated HUD read-outs drawn over the field in glyph letters: shown at an anchor,
// stepped once per tick and drawn while active.
#pragma once
#include <cstdint>

class TGlyphTable;

class THudPanel {
 public:
  static constexpr float kGlyphSize = 16;

  explicit THudPanel(TGlyphTable* glyphs) : glyphs(glyphs) {}
  virtual ~THudPanel() = default;
  THudPanel(const THudPanel&) = delete;
  THudPanel& operator=(const THudPanel&) = delete;

  virtual void Show(float atX, float atY) {
    active = 1;
    x = atX;
    y = atY;
  }
  virtual void Hide() { active = 0; }
  virtual bool IsActive() const { return active != 0; }
  virtual void Update() = 0;
  virtual void Draw() = 0;

  float GetX() const { return x; }
  float GetY() const { return y; }

 protected:
  uint8_t active = 0;
  TGlyphTable* glyphs;  // the field scene's
  float x = 0, y = 0;
};
