// Small meshes the mesh tests share: a strip of four triangles in two parts, and the same strip as
// a morphing mesh whose three morph frames lift it by 0, 1 and 2 along y.
#pragma once
#include <string>

#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/MeshWriter.h"

namespace testkit {

// Triangles 0, 1 and 3 in part 0 ("bodyORDER12"), triangle 2 in part 1 ("trim"): part 0 has the
// runs {0, 2} and {3, 1}.
inline datakit::MeshFile StripMesh() {
  datakit::MeshShape strip = datakit::QuadStripShape(2, 2.0f, 1.0f, 0xFF102030);
  strip.parts = {0, 0, 1, 0};
  return datakit::MeshFile::FromShape("strip", strip,
                                      {datakit::MeshMaterial::Colored("bodyORDER12", 1, 1, 1),
                                       datakit::MeshMaterial::Colored("trim", 1, 0, 0, 0.5f)});
}

// Clip 0 "walk" shows frames 0, 1, 2 at speed 1; clip 1 "hold" shows frame 2 and never moves.
inline datakit::MeshFile MorphingStripMesh() {
  datakit::MeshFile mesh = StripMesh();
  mesh.name = "walker";
  for (float lift : {1.0f, 2.0f}) {
    auto frame = mesh.frames[0];
    for (auto& v : frame) v.y += lift;
    mesh.frames.push_back(frame);
  }
  mesh.clips = {{"walk", {0, 1, 2}, {1, 1, 1}}, {"hold", {2}, {0}}};
  return mesh;
}

}  // namespace testkit
