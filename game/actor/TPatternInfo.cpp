#include "game/actor/TPatternInfo.h"

#include <cstring>

#include "game/actor/CharFileReader.h"

namespace {

constexpr uint32_t kFrameRecordSize = 28;

std::string& Folder() {
  static std::string folder;
  return folder;
}

template <class T>
void Take(T& field, const uint8_t*& p) {
  std::memcpy(&field, p, sizeof field);
  p += sizeof field;
}

// Fields follow each other without gaps: 2, 1, 2, 4, 4, 1, 12, 1, 1 bytes.
TAttackInfo DecodeFrame(const uint8_t* p) {
  TAttackInfo info;
  Take(info.hitId, p);
  Take(info.paramA, p);
  Take(info.attackKind, p);
  Take(info.seId, p);
  Take(info.voiceId, p);
  Take(info.shakeLevel, p);
  Take(info.displacement, p);
  Take(info.blink, p);
  Take(info.paramB, p);
  return info;
}

}  // namespace

TPatternInfo::TPatternInfo(const std::string& fileName) {
  TCharFileReader reader(Folder(), fileName, __FILE__, 28);
  reader.GetU32("header");
  const uint32_t motionCount = reader.GetU32("motion count");
  reader.Need(uint64_t(motionCount) * 4, "motion blocks");
  auto* motions = new MotionTable(motionCount);
  motions_.Reset(motions);
  for (std::vector<TAttackInfo>& frames : *motions) {
    const uint32_t frameCount = reader.GetU32("frame count");
    const std::vector<uint8_t> block = reader.GetBlock(frameCount, kFrameRecordSize, "frame records");
    frames.reserve(frameCount);
    for (uint32_t i = 0; i < frameCount; ++i) frames.push_back(DecodeFrame(block.data() + i * kFrameRecordSize));
  }
  reader.Close();
}

const TAttackInfo* TPatternInfo::GetInfo(uint32_t motion, float time) const {
  static const TAttackInfo kNothing;
  if (motion >= motions_->size()) return &kNothing;
  const std::vector<TAttackInfo>& frames = (*motions_)[motion];
  // Also refuses NaN and negative times before the conversion.
  if (!(time >= 0.0f) || time >= static_cast<float>(frames.size())) return &kNothing;
  const auto frame = static_cast<size_t>(time);
  return frame < frames.size() ? &frames[frame] : &kNothing;
}

void TPatternInfo::SetFolder(const std::string& folder) { Folder() = folder; }

const std::string& TPatternInfo::GetFolder() { return Folder(); }
