#include "tools/datakit/SampleEffects.h"

#include <array>
#include <cmath>
#include <utility>

#include "tools/datakit/FrameWriter.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/SampleFrames.h"
#include "tools/datakit/SampleShotAssets.h"

namespace datakit {

namespace {

// What a sample effect model looks like.
enum class Look { kFlat, kRing, kBall, kSpike, kBlade, kDisc };

struct FrameLook {
  const char* name;
  Look look;
  Rgba colour;
  uint32_t lastKey;
};

// Last keys: the latest end among the kinds that use the file.
constexpr FrameLook kFrames[] = {
    {"attack01_anim.frm", Look::kBlade, {1.0f, 0.9f, 0.6f, 1}, 20},
    {"impact01_anim.frm", Look::kRing, {1.0f, 0.8f, 0.4f, 1}, 20},
    {"impact02_anim.frm", Look::kRing, {1.0f, 0.6f, 0.3f, 1}, 20},
    {"flash01_2.frm", Look::kFlat, {1.0f, 1.0f, 0.8f, 1}, 20},
    {"flash00.frm", Look::kFlat, {0.9f, 0.9f, 1.0f, 1}, 8},
    {"bomb00.frm", Look::kBall, {1.0f, 0.5f, 0.2f, 1}, 12},
    {"bomb01.frm", Look::kBall, {0.8f, 0.3f, 0.9f, 1}, 5},
    {"shiningring.frm", Look::kRing, {1.0f, 1.0f, 0.6f, 1}, 4},
    {"tornado00.frm", Look::kSpike, {0.6f, 1.0f, 0.7f, 1}, 4},
    {"impact03_anim.frm", Look::kRing, {1.0f, 0.7f, 0.7f, 1}, 30},
    {"impact04_anim.frm", Look::kRing, {0.7f, 0.7f, 1.0f, 1}, 30},
    {"edge01_anim.frm", Look::kBlade, {0.8f, 0.9f, 1.0f, 1}, 29},
    {"edge02_anim.frm", Look::kBlade, {0.7f, 1.0f, 0.9f, 1}, 29},
    {"earthfang.frm", Look::kSpike, {0.6f, 0.45f, 0.3f, 1}, 11},
    {"icefield00_f.frm", Look::kDisc, {0.6f, 0.85f, 1.0f, 1}, 2},
    {"icefield01_f.frm", Look::kDisc, {0.5f, 0.75f, 1.0f, 1}, 2},
};

// The file name without its extension.
std::string Stem(const std::string& file) { return file.substr(0, file.find('.')); }

uint32_t Argb(const Rgba& c) {
  const auto byte = [](float v) { return static_cast<uint32_t>(std::lround(v * 255.0f)); };
  return 0xFF000000u | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

MeshShape ShapeOf(Look look, uint32_t colour) {
  switch (look) {
    case Look::kFlat: return PlaneShape(2, 2, colour);
    case Look::kRing: return RingShape(0.8f, 1.0f, 16, colour);
    case Look::kBall: return BipyramidShape(0.6f, 1.2f, 8, colour);
    case Look::kSpike: return BipyramidShape(0.3f, 1.5f, 6, colour).Move(0, 0.75f, 0);
    case Look::kBlade: return QuadStripShape(8, 1.6f, 0.2f, colour);
    case Look::kDisc: return DiscShape(1.0f, 12, colour);
  }
  return PlaneShape(1, 1, colour);
}

// A quarter turn about y per key, stored as the inverse rotation as frame files hold it.
std::array<float, 4> TurnY(float angle) { return {0, -std::sin(angle / 2), 0, std::cos(angle / 2)}; }

// The model grows and turns a quarter over its animation, from key 0 to its last key.
void SaveModel(const std::string& path, const FrameLook& frame) {
  const std::string stem = Stem(frame.name);
  FrameNode body(stem);
  body.meshes.push_back(MeshFile::FromShape(stem, ShapeOf(frame.look, Argb(frame.colour)),
                                            {MeshMaterial::Colored(stem, frame.colour.r, frame.colour.g,
                                                                   frame.colour.b)}));
  body.animations.push_back({{ScaleTrack({0, frame.lastKey}, {{{0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}}}),
                              RotationTrack({0, frame.lastKey}, {TurnY(0), TurnY(1.5707963f)})}});
  FrameNode root(stem + "Root");
  root.Child(body);
  SaveFrameFile(path, root);
}

// A 2 x 2 board upright in the x-y plane, cut into 4 x 4 squares.
MeshShape BoardShape() {
  MeshShape board;
  for (int row = 0; row < 4; ++row) board.Append(QuadStripShape(4, 2.0f, 0.5f).Move(0, 0, -0.75f + 0.5f * row));
  for (MeshVertex& v : board.vertices) std::swap(v.y, v.z);
  return board;
}

struct DebrisLook {
  const char* file;
  MeshShape (*shape)();
  Rgba colour;
};

constexpr DebrisLook kDebris[] = {
    {"edge01_mesh.msh", [] { return QuadStripShape(12, 1.6f, 0.2f); }, {0.8f, 0.9f, 1.0f, 1}},
    {"edge02_mesh.msh", [] { return QuadStripShape(12, 2.0f, 0.3f); }, {0.7f, 1.0f, 0.9f, 1}},
    {"earthfang.msh", [] { return BipyramidShape(0.3f, 1.5f, 12).Move(0, 0.75f, 0); }, {0.6f, 0.45f, 0.3f, 1}},
    {"icefield00_m.msh", [] { return BipyramidShape(0.4f, 0.8f, 12); }, {0.6f, 0.85f, 1.0f, 1}},
    {"icefield01_m.msh", [] { return BipyramidShape(0.6f, 1.0f, 14); }, {0.5f, 0.75f, 1.0f, 1}},
    {"icefield02_m.msh", [] { return BipyramidShape(0.5f, 1.2f, 16); }, {0.55f, 0.8f, 1.0f, 1}},
    {"ring02_mesh.msh", [] { return RingShape(0.8f, 1.0f, 16); }, {1.0f, 0.9f, 0.6f, 1}},
    {"board01.msh", &BoardShape, {1.0f, 1.0f, 1.0f, 1}},
};

void SaveDebris(const std::string& path, const DebrisLook& debris) {
  const std::string stem = Stem(debris.file);
  MeshFile::FromShape(stem, SeparateTriangles(debris.shape()),
                      {MeshMaterial::Colored(stem, debris.colour.r, debris.colour.g, debris.colour.b)})
      .Msh()
      .Save(path);
}

}  // namespace

void WriteSampleEffects(const std::string& gameFolder) {
  const std::string meshes = gameFolder + "data/msh03/", frames = gameFolder + "data/frm03/";
  for (const DebrisLook& debris : kDebris) SaveDebris(meshes + "effect/" + debris.file, debris);
  WriteSampleShotMeshes(meshes);
  WriteSampleFrames(frames);
  for (const FrameLook& frame : kFrames) SaveModel(frames + "effect/" + frame.name, frame);
  SampleEffectPack().Save(gameFolder + "data/ptx03/effect.ptx");
}

}  // namespace datakit
