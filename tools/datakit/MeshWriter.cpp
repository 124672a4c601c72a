#include "tools/datakit/MeshWriter.h"

namespace datakit {

namespace {

void WriteRgba(ByteWriter& out, const Rgba& c) { out.F32(c.r).F32(c.g).F32(c.b).F32(c.a); }

void WriteVertices(ByteWriter& out, const std::vector<MeshVertex>& vertices) {
  for (const MeshVertex& v : vertices) out.F32(v.x).F32(v.y).F32(v.z).U32(v.color).F32(v.u).F32(v.v);
}

// Name, materials and the vertex count: the common start of both layouts.
void WriteHead(ByteWriter& out, const MeshFile& mesh) {
  out.LString(mesh.name).U32(static_cast<uint32_t>(mesh.materials.size()));
  for (const MeshMaterial& m : mesh.materials) WriteMaterial(out, m);
  out.U16(mesh.vertexCount.value_or(static_cast<uint16_t>(mesh.frames.empty() ? 0 : mesh.frames[0].size())));
}

void WriteTriangles(ByteWriter& out, const MeshFile& mesh) {
  out.U16(static_cast<uint16_t>(mesh.indices.size() / 3));
  for (uint16_t i : mesh.indices) out.U16(i);
  for (uint32_t p : mesh.parts) out.U32(p);
}

}  // namespace

MeshMaterial MeshMaterial::Colored(const std::string& name, float r, float g, float b, float a, float specularRed) {
  MeshMaterial m;
  m.name = name;
  m.diffuse = {r, g, b, a};
  m.emissive = {r, g, b, a};
  m.specular.r = specularRed;
  return m;
}

void WriteMaterial(ByteWriter& out, const MeshMaterial& m) {
  out.LString(m.name).LString(m.texture);
  WriteRgba(out, m.diffuse);
  WriteRgba(out, m.ambient);
  WriteRgba(out, m.specular);
  WriteRgba(out, m.emissive);
  out.F32(m.power);
}

MeshShape& MeshShape::Append(const MeshShape& other, uint32_t partOffset) {
  const auto base = static_cast<uint16_t>(vertices.size());
  vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
  for (uint16_t i : other.indices) indices.push_back(static_cast<uint16_t>(base + i));
  for (uint32_t p : other.parts) parts.push_back(p + partOffset);
  return *this;
}

MeshShape& MeshShape::Paint(uint32_t color) {
  for (MeshVertex& v : vertices) v.color = color;
  return *this;
}

MeshShape& MeshShape::Move(float dx, float dy, float dz) {
  for (MeshVertex& v : vertices) {
    v.x += dx;
    v.y += dy;
    v.z += dz;
  }
  return *this;
}

MeshFile MeshFile::FromShape(const std::string& name, const MeshShape& shape, std::vector<MeshMaterial> materials) {
  MeshFile mesh;
  mesh.name = name;
  mesh.materials = std::move(materials);
  mesh.frames.push_back(shape.vertices);
  mesh.indices = shape.indices;
  mesh.parts = shape.parts;
  return mesh;
}

ByteWriter MeshFile::Body() const {
  ByteWriter out;
  WriteHead(out, *this);
  if (!frames.empty()) WriteVertices(out, frames[0]);
  WriteTriangles(out, *this);
  return out;
}

ByteWriter MeshFile::Msh() const {
  ByteWriter out;
  out.U32(kStaticTag).U32(vertexFormat);
  return out.Raw(Body().data());
}

ByteWriter MeshFile::Tob(uint32_t tag) const {
  ByteWriter out;
  out.U32(tag).U32(vertexFormat);
  WriteHead(out, *this);
  out.U32(static_cast<uint32_t>(frames.size()));
  for (const auto& frame : frames) WriteVertices(out, frame);
  WriteTriangles(out, *this);
  out.U32(static_cast<uint32_t>(clips.size()));
  for (const MeshClip& clip : clips) {
    out.LString(clip.name).U32(static_cast<uint32_t>(clip.frameMap.size()));
    for (uint32_t f : clip.frameMap) out.U32(f);
    for (float s : clip.speeds) out.F32(s);
  }
  return out;
}

}  // namespace datakit
