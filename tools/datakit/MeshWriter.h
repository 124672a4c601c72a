// Writes mesh files: ".msh" (one pose), ".tob" (morph frames and motion clips) and the mesh body
// that frame files embed. Vertices are 24 bytes (position, ARGB colour, u, v).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/datakit/ByteWriter.h"

namespace datakit {

struct MeshVertex {
  float x = 0, y = 0, z = 0;
  uint32_t color = 0xFFFFFFFF;
  float u = 0, v = 0;
};

struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};

// A material record: name, texture name and the 17 floats of a Direct3D material.
struct MeshMaterial {
  std::string name;
  std::string texture;
  Rgba diffuse{1, 1, 1, 1};
  Rgba ambient;
  Rgba specular;
  Rgba emissive{1, 1, 1, 1};  // the part's colour; alpha 0 hides the part
  float power = 0;

  // An opaque part of colour (r, g, b); specularRed picks another render mode by its band.
  static MeshMaterial Colored(const std::string& name, float r, float g, float b, float a = 1.0f,
                              float specularRed = 0.0f);
};

struct MeshClip {
  std::string name;
  std::vector<uint32_t> frameMap;  // the morph frame shown at each clip frame
  std::vector<float> speeds;       // time advance per step at each clip frame
};

// Geometry: vertices, three indices per triangle and a part (material) number per triangle.
struct MeshShape {
  std::vector<MeshVertex> vertices;
  std::vector<uint16_t> indices;
  std::vector<uint32_t> parts;

  uint32_t TriangleCount() const { return static_cast<uint32_t>(indices.size() / 3); }
  // Appends another shape, its parts moved up by partOffset.
  MeshShape& Append(const MeshShape& other, uint32_t partOffset = 0);
  // Every vertex colour.
  MeshShape& Paint(uint32_t color);
  MeshShape& Move(float dx, float dy, float dz);
};

struct MeshFile {
  static constexpr uint32_t kStaticTag = 0x0068736D;  // "msh\0"
  uint32_t vertexFormat = 0x142;
  std::string name;
  std::vector<MeshMaterial> materials;
  // One vertex set per morph frame (".msh" writes the first only); every set has the same count.
  std::vector<std::vector<MeshVertex>> frames;
  std::vector<uint16_t> indices;
  std::vector<uint32_t> parts;
  std::vector<MeshClip> clips;
  // The vertex count written, when it is not the first frame's (damaged files).
  std::optional<uint16_t> vertexCount;

  // A one-frame mesh of a shape with one material per part.
  static MeshFile FromShape(const std::string& name, const MeshShape& shape, std::vector<MeshMaterial> materials);

  // The embedded body (no tag, no vertex format).
  ByteWriter Body() const;
  ByteWriter Msh() const;
  // tag: any first u32 but the ".msh" one selects the morphing layout.
  ByteWriter Tob(uint32_t tag = 0x00626F74) const;
};

// Writes the material record alone (frame files and tests use it).
void WriteMaterial(ByteWriter& out, const MeshMaterial& material);

}  // namespace datakit
