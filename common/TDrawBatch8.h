// Joins the queued parts that a render mode draws one after another into as few draws as it can:
// consecutive small parts drawn by a program of the shader set with the same view and texture
// become one draw of world-space vertices (each part's vertices blended, moved by its own matrix
// and coloured as its program would do it), in queue order, so blending sees the triangles in the
// same order. Where the order cannot show (each draw only adds to the picture and none writes
// depth) the parts that batch alike are gathered wherever they stand. A part that cannot join is
// drawn on its own, and a batch of one is drawn as it always was.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "common/TDrawItem8.h"

namespace plat {
class IDirect3DTexture8;
}

class TDrawBatch8 {
 public:
  // Parts whose indices span more vertices than this are drawn on their own: moving them on the
  // CPU costs more than the draw it saves.
  static constexpr uint32_t kMaxPartVertices = 64, kMaxPartTriangles = 128;

  // Draws the items in turn; with orderFree every group of items that batch alike is drawn where
  // its first item stands.
  void DrawAll(const std::vector<TDrawItem8>& items, bool orderFree);
  // Draws the item, or keeps it for the batch it joins; what is kept is drawn before any item
  // that cannot join it.
  void Draw(const TDrawItem8& item);
  // Draws what is kept.
  void Flush();

 private:
  struct Key {
    TView8* view = nullptr;
    plat::IDirect3DTexture8* texture = nullptr;
    bool operator==(const Key&) const = default;
  };
  // The vertices a part's indices reach, and the morph frames they are blended from.
  struct Span {
    uint32_t first = 0, count = 0;
    uint32_t frameA = 0, frameB = 0;
    float weight = 0.0f;
  };
  // Whether the item can be batched, under which key and with which vertices.
  static bool Batchable(const TDrawItem8& item, Key& key, Span& span);
  void Place(const TDrawItem8& item, bool batchable, const Key& key, const Span& span);
  void Append(const TDrawItem8& item, const Span& span);
  void Submit();

  Key key_;
  std::vector<const TDrawItem8*> items_;
  struct Sorted {
    uint32_t group, item;
    bool batchable;
    Key key;
    Span span;
  };
  std::vector<std::pair<Key, uint32_t>> groupKeys_;
  std::vector<Sorted> grouped_;
  std::vector<float> vertices_;
  std::vector<uint16_t> indices_;
};
