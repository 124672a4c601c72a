#include "tools/datakit/MapDataWriter.h"

namespace datakit {

namespace {

ByteWriter& Put(ByteWriter& out, Vec3 v) { return out.F32(v.x).F32(v.y).F32(v.z); }

void PutExit(ByteWriter& out, const ExitRow& exit) {
  Put(out, exit.startPosition);
  Put(out, exit.startFacing);
  Put(out, exit.startCamera);
  out.U32(exit.transitionKind).LString(exit.destination);
}

}  // namespace

ByteWriter& MapEntryWriter::Chunk(uint32_t id) { return bytes_.U32(id); }

MapEntryWriter& MapEntryWriter::Header(const MapHeaderRow& h) {
  Chunk(0).U32(h.headerWord).U32(h.kind).LString(h.baseName).LString(h.areaTitle).LString(h.musicName);
  bytes_.U32(h.collisionA).U32(h.collisionB).F32(h.cellWidth).F32(h.cellDepth);
  return *this;
}

MapEntryWriter& MapEntryWriter::View(float nearClip, float farClip, float fieldOfView) {
  Chunk(1).F32(nearClip).F32(farClip).F32(fieldOfView);
  return *this;
}

MapEntryWriter& MapEntryWriter::Fog(float start, float end, uint32_t color) {
  Chunk(2).F32(start).F32(end).U32(color);
  return *this;
}

MapEntryWriter& MapEntryWriter::Sky(const std::string& name, const std::array<float, 7>& values) {
  Chunk(3).LString(name);
  for (float v : values) bytes_.F32(v);
  return *this;
}

MapEntryWriter& MapEntryWriter::PlayerStart(Vec3 position, Vec3 facing, Vec3 camera) {
  Put(Put(Put(Chunk(4), position), facing), camera);
  return *this;
}

MapEntryWriter& MapEntryWriter::CameraMode1(Vec3 v) {
  Put(Chunk(5), v);
  return *this;
}

MapEntryWriter& MapEntryWriter::CameraMode2(float value, Vec3 a, Vec3 b) {
  Put(Put(Chunk(6).F32(value), a), b);
  return *this;
}

MapEntryWriter& MapEntryWriter::CameraMode4(float value, Vec3 v, const std::string& name) {
  Put(Chunk(7).F32(value), v).LString(name);
  return *this;
}

MapEntryWriter& MapEntryWriter::CameraMode8(float value, Vec3 v) {
  Put(Chunk(8).F32(value), v);
  return *this;
}

MapEntryWriter& MapEntryWriter::ChaseCamera(float value, float distance, float height, const std::string& name) {
  Chunk(9).F32(value).F32(distance).F32(height).LString(name);
  return *this;
}

MapEntryWriter& MapEntryWriter::RailCamera(uint32_t value) {
  Chunk(10).U32(value);
  return *this;
}

MapEntryWriter& MapEntryWriter::CameraPoint(Vec3 position, float r1, float r2, float r3, float r4, float r5) {
  Put(Chunk(11), position).F32(r1).F32(r2).F32(r3).F32(r4).F32(r5);
  return *this;
}

MapEntryWriter& MapEntryWriter::FixedCameraPoint(Vec3 position, Vec3 cameraPosition, float value) {
  Put(Put(Chunk(12), position), cameraPosition).F32(value);
  return *this;
}

MapEntryWriter& MapEntryWriter::MeshPiece(const MeshPieceRow& p) {
  Put(Put(Put(Put(Chunk(13), p.position), p.forward), p.up), p.scale);
  bytes_.U32(p.mirrorAxis).U32(p.renderFlag).U32(p.shaderKind).LString(p.meshName).LString(p.collisionName);
  return *this;
}

MapEntryWriter& MapEntryWriter::EnemyLimits(uint32_t maximum, float spawnRange) {
  Chunk(14).U32(maximum).F32(spawnRange);
  return *this;
}

MapEntryWriter& MapEntryWriter::EnemyPlacement(uint32_t enemyId, Vec3 position, Vec3 direction) {
  Put(Put(Chunk(15).U32(enemyId), position), direction);
  return *this;
}

MapEntryWriter& MapEntryWriter::EnemySpawn(uint32_t enemyId, Vec3 position, Vec3 direction,
                                           uint32_t respawnInterval, float homeRadius) {
  Put(Put(Chunk(16).U32(enemyId), position), direction).U32(respawnInterval).F32(homeRadius);
  return *this;
}

MapEntryWriter& MapEntryWriter::MapItem(uint32_t itemId, uint32_t pickupFlagIndex, uint32_t goldAmount,
                                        Vec3 position, Vec3 unusedA, Vec3 unusedB) {
  Put(Put(Put(Chunk(17).U32(itemId).U32(pickupFlagIndex).U32(goldAmount), position), unusedA), unusedB);
  return *this;
}

MapEntryWriter& MapEntryWriter::SavePoint(uint32_t number, Vec3 position) {
  Put(Chunk(18).U32(number), position);
  return *this;
}

MapEntryWriter& MapEntryWriter::BoxTrigger(Vec3 corner1, Vec3 corner2, Vec3 direction, const std::string& script) {
  Put(Put(Put(Chunk(19), corner1), corner2), direction).LString(script);
  return *this;
}

MapEntryWriter& MapEntryWriter::ExamineTrigger(Vec3 position, float radius, const std::string& script) {
  Put(Chunk(20), position).F32(radius).LString(script);
  return *this;
}

MapEntryWriter& MapEntryWriter::CountCondition(uint32_t defeatedCount, const std::string& script) {
  Chunk(21).U32(defeatedCount).LString(script);
  return *this;
}

MapEntryWriter& MapEntryWriter::EnemyCondition(uint32_t enemyNumber, const std::string& script) {
  Chunk(22).U32(enemyNumber).LString(script);
  return *this;
}

MapEntryWriter& MapEntryWriter::BoxExit(Vec3 corner1, Vec3 corner2, Vec3 direction, const ExitRow& exit) {
  Put(Put(Put(Chunk(23), corner1), corner2), direction);
  PutExit(bytes_, exit);
  return *this;
}

MapEntryWriter& MapEntryWriter::CircleExit(Vec3 centre, float radius, const ExitRow& exit) {
  Put(Chunk(24), centre).F32(radius);
  PutExit(bytes_, exit);
  return *this;
}

MapEntryWriter& MapEntryWriter::Name(const std::string& name) {
  Chunk(25).LString(name);
  return *this;
}

MapEntryWriter& MapEntryWriter::MiniMap(const std::string& name) {
  Chunk(26).LString(name);
  return *this;
}

MapEntryWriter& MapEntryWriter::DeathScript(const std::string& script) {
  Chunk(27).LString(script);
  return *this;
}

MapEntryWriter& MapEntryWriter::ExtraName(const std::string& name) {
  Chunk(28).LString(name);
  return *this;
}

MapEntryWriter& MapEntryWriter::BoxTestTrigger(Vec3 corner1, Vec3 corner2, const std::string& script) {
  Put(Put(Chunk(29), corner1), corner2).LString(script);
  return *this;
}

MapEntryWriter& MapEntryWriter::Id(uint32_t word) {
  Chunk(word);
  return *this;
}

MapEntryWriter& MapEntryWriter::Raw(const ByteWriter& bytes) {
  bytes_.Raw(bytes.data());
  return *this;
}

MapEntryWriter& MapEntryWriter::End(uint32_t word) {
  Chunk(word);
  ended_ = true;
  return *this;
}

ByteWriter MapEntryWriter::Bytes() const {
  ByteWriter out = bytes_;
  if (!ended_) out.U32(0xFFFF);
  return out;
}

MapDataWriter& MapDataWriter::Entry(const std::string& name, const MapEntryWriter& entry) {
  entries_.emplace_back(name, entry.Bytes());
  return *this;
}

std::vector<uint8_t> MapDataWriter::Build() const {
  size_t offset = 4;
  for (const auto& [name, body] : entries_) offset += 4 + name.size() + 4;
  ByteWriter out;
  out.U32(static_cast<uint32_t>(entries_.size()));
  for (const auto& [name, body] : entries_) {
    out.LString(name).U32(static_cast<uint32_t>(offset));
    offset += body.size();
  }
  for (const auto& [name, body] : entries_) out.Raw(body.data());
  return out.data();
}

}  // namespace datakit
