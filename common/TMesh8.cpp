#include "common/TMesh8.h"

#include <atomic>
#include <cstring>

#include "common/ReadErrors.h"
#include "common/TD3D8.h"
#include "common/TFile.h"
#include "common/TVertexShader8.h"
#include "common/my_error.h"

using namespace plat;

namespace {

constexpr uint32_t kStaticTag = 0x0068736D;  // "msh\0"
constexpr uint32_t kVertexSize = 24;          // bounds, copies and shader streams assume it
constexpr uint32_t kMaterialRecordMin = 4 + 4 + sizeof(D3DMATERIAL8);
constexpr uint32_t kClipRecordMin = 4 + 4;

std::string g_folder;
std::atomic<uint64_t> g_nextInstance{1};

uint64_t NextInstanceId() { return g_nextInstance++; }

// Reads a mesh body, refusing anything that breaks the geometry's invariants before it is used.
// Bytes that run out throw TCutShortError at once; a value that cannot be used is noted and the
// body is read to its end before TBadRecordError, so that a file holding it can go on after it.
class BodyReader {
 public:
  BodyReader(TFile& file, uint32_t vertexFormat) : file_(file), format_(vertexFormat) {}

  TMesh8 Read(bool morphing) {
    if (D3DXGetFVFVertexSize(format_) != kVertexSize)
      throw my_error(file_.GetName() + ": damaged mesh (vertex format is not 24 bytes a vertex)", __FILE__, __LINE__);
    std::string name;
    if (!file_.ReadString(name, 255)) CutShort("mesh name cut short");
    const uint32_t materialCount = Get<uint32_t>("material count");
    if (materialCount == 0) Refuse("no materials");
    Need(uint64_t(materialCount) * kMaterialRecordMin, "materials");
    std::vector<TMaterial8> materials;
    materials.reserve(materialCount);
    for (uint32_t i = 0; i < materialCount; ++i) materials.push_back(TMaterial8::Read(file_));

    const uint32_t vertexCount = Get<uint16_t>("vertex count");
    if (vertexCount == 0) Refuse("no vertices");
    const uint32_t frameCount = morphing ? Get<uint32_t>("morph frame count") : 1;
    if (frameCount == 0) Refuse("no morph frames");
    Need(uint64_t(frameCount) * vertexCount * kVertexSize, "vertices");
    auto frames = MakeCounted<TMesh8Data::FrameArray>();
    if (vertexCount != 0) {  // the check above bounds the frame count only then
      frames->reserve(frameCount);
      for (uint32_t f = 0; f < frameCount; ++f) frames->push_back(ReadFrame(vertexCount));
    }

    const uint32_t triangleCount = Get<uint16_t>("triangle count");
    if (triangleCount == 0) Refuse("no triangles");
    Need(uint64_t(triangleCount) * (6 + 4), "triangles");
    std::vector<uint16_t> indices(3 * triangleCount);
    ReadBytes(indices.data(), 6 * triangleCount, "indices");
    for (uint16_t index : indices)
      if (index >= vertexCount) {
        Refuse("vertex index out of range");
        break;
      }
    std::vector<uint32_t> parts(triangleCount);
    ReadBytes(parts.data(), 4 * triangleCount, "part indices");
    for (uint32_t part : parts)
      if (part >= materialCount) {
        Refuse("part index out of range");
        break;
      }

    auto clips = MakeCounted<TMesh8Data::ClipArray>();
    const uint32_t clipCount = morphing ? Get<uint32_t>("clip count") : 0;
    Need(uint64_t(clipCount) * kClipRecordMin, "clips");
    clips->reserve(clipCount);
    for (uint32_t c = 0; c < clipCount; ++c) clips->push_back(ReadClip(frameCount));

    if (!refused_.empty())
      throw TBadRecordError(file_.GetName() + ": damaged mesh (" + refused_ + ")", __FILE__, __LINE__);
    return TMesh8(name, frames, vertexCount, frameCount, MakeIndexBuffer(indices), parts.data(), triangleCount,
                  materials, materialCount, clips, clipCount);
  }

 private:
  [[noreturn]] void CutShort(const std::string& what) {
    throw TCutShortError(file_.GetName() + ": damaged mesh (" + what + ")", __FILE__, __LINE__);
  }
  // The first unusable value is the one reported.
  void Refuse(const char* what) {
    if (refused_.empty()) refused_ = what;
  }
  [[noreturn]] void DeviceRefused(const char* what) {
    throw my_error(file_.GetName() + ": the device refused its " + what, __FILE__, __LINE__);
  }
  void Need(uint64_t bytes, const char* what) {
    if (bytes > file_.Remaining()) CutShort(std::string(what) + " run past the end");
  }
  void ReadBytes(void* out, uint32_t count, const char* what) {
    if (!file_.Read(out, count)) CutShort(std::string(what) + " cut short");
  }
  template <class T>
  T Get(const char* what) {
    T value{};
    ReadBytes(&value, sizeof value, what);
    return value;
  }

  TMesh8Data::VertexBuffer ReadFrame(uint32_t vertexCount) {
    TMesh8Data::VertexBuffer buffer(TD3D8::Instance()->CreateVertexBuffer(vertexCount, format_,
                                                                          TD3D8::kDefaultPool, 0));
    BYTE* bytes = nullptr;
    if (!buffer || buffer->Lock(0, 0, &bytes, 0) != D3D_OK) DeviceRefused("vertex buffer");
    const bool read = file_.Read(bytes, vertexCount * kVertexSize);
    buffer->Unlock();
    if (!read) CutShort("vertices cut short");
    return buffer;
  }

  TCountedPtr<IDirect3DIndexBuffer8> MakeIndexBuffer(const std::vector<uint16_t>& indices) {
    const uint32_t triangleCount = static_cast<uint32_t>(indices.size() / 3);
    TCountedPtr<IDirect3DIndexBuffer8> buffer(
        TD3D8::Instance()->CreateIndexBuffer(triangleCount, D3DFMT_INDEX16, TD3D8::kDefaultPool, 0));
    BYTE* bytes = nullptr;
    if (!buffer || buffer->Lock(0, 0, &bytes, 0) != D3D_OK) DeviceRefused("index buffer");
    std::memcpy(bytes, indices.data(), 2 * indices.size());
    buffer->Unlock();
    return buffer;
  }

  TMotionClip8 ReadClip(uint32_t morphFrames) {
    std::string clipName;  // clips go by index; the name is not kept
    if (!file_.ReadString(clipName, 255)) CutShort("clip name cut short");
    TMotionClip8 clip;
    clip.frameCount = Get<uint32_t>("clip frame count");
    if (clip.frameCount == 0) Refuse("clip without frames");
    Need(uint64_t(clip.frameCount) * 8, "clip frames");
    clip.frameMap.resize(clip.frameCount);
    clip.speeds.resize(clip.frameCount);
    ReadBytes(clip.frameMap.data(), 4 * clip.frameCount, "clip frame map");
    ReadBytes(clip.speeds.data(), 4 * clip.frameCount, "clip speeds");
    for (uint32_t frame : clip.frameMap)
      if (frame >= morphFrames) {
        Refuse("clip frame beyond the morph frames");
        break;
      }
    return clip;
  }

  TFile& file_;
  uint32_t format_;
  std::string refused_;
};

// A clip frame number for a time: truncated, and kept inside the clip whatever the time holds.
uint32_t ClipFrameAt(float t, uint32_t frameCount) {
  if (!(t > 0.0f)) return 0;
  if (t >= static_cast<float>(frameCount - 1)) return frameCount - 1;
  return static_cast<uint32_t>(t);
}

}  // namespace

TMesh8::TMesh8(const std::string& newName, const TCountedPtr<TMesh8Data::FrameArray>& frames, uint32_t vertexCount,
               uint32_t frameCount, const TCountedPtr<IDirect3DIndexBuffer8>& indexBuffer,
               const uint32_t* partIndices, uint32_t triangleCount, const std::vector<TMaterial8>& newMaterials,
               uint32_t materialCount, const TCountedPtr<TMesh8Data::ClipArray>& clips, uint32_t clipCount)
    : name(newName),
      materials(newMaterials.begin(), newMaterials.begin() + std::min<size_t>(materialCount, newMaterials.size())),
      partCount(static_cast<uint32_t>(materials.size())),
      instanceId(NextInstanceId()) {
  data = new TMesh8Data(frames, vertexCount, frameCount, indexBuffer, partIndices, triangleCount, partCount, clips,
                        clipCount);
  UpdateBounds();
  shader = MakeDefaultShader(*this);
}

TMesh8::TMesh8(const TMesh8& other)
    : name(other.name),
      materials(other.materials),
      partCount(other.partCount),
      clip(other.clip),
      time(other.time),
      blendedClip(other.blendedClip),
      blendedTime(other.blendedTime),
      shader(other.shader),
      data(other.data),
      instanceId(NextInstanceId()) {
  if (data) data->AddRef();
}

TMesh8& TMesh8::operator=(const TMesh8& other) {
  if (this == &other) return *this;
  if (other.data) other.data->AddRef();
  if (data) data->Release();
  data = other.data;
  name = other.name;
  materials = other.materials;
  partCount = other.partCount;
  clip = other.clip;
  time = other.time;
  blendedClip = other.blendedClip;
  blendedTime = other.blendedTime;
  shader = other.shader;
  instanceId = NextInstanceId();  // what the scratch buffer holds of the old self is not ours
  return *this;
}

TMesh8::~TMesh8() { Release(); }

void TMesh8::Release() {
  if (data) data->Release();
  data = nullptr;
  shader.Reset();
  materials.clear();
  partCount = 0;
  name.clear();
}

void TMesh8::SetFolder(const std::string& folder) { g_folder = folder; }
const std::string& TMesh8::GetFolder() { return g_folder; }

TMesh8 TMesh8::Load(const std::string& meshName) {
  const std::string path = g_folder + meshName;
  TFile file;
  if (!file.Open(true, GENERIC_READ, path)) throw my_error(path, __FILE__, 40);
  uint32_t head[2];
  if (!file.Read(head, sizeof head)) throw my_error(path + ": damaged mesh (header cut short)", __FILE__, __LINE__);
  TMesh8 mesh = head[0] == kStaticTag ? ReadBody(file, head[1]) : ReadBodyAlt(file, head[1]);
  file.Close();
  return mesh;
}

TMesh8 TMesh8::ReadBody(TFile& file, uint32_t vertexFormat) { return BodyReader(file, vertexFormat).Read(false); }

TMesh8 TMesh8::ReadBodyAlt(TFile& file, uint32_t vertexFormat) { return BodyReader(file, vertexFormat).Read(true); }

TMesh8& TMesh8::Clone(TMesh8& out, uint32_t mirrorAxis) const {
  out = *this;
  TMesh8Data* copy = TMesh8Data::Copy(*out.data);
  out.data->Release();
  out.data = copy;
  if (mirrorAxis >= 1 && mirrorAxis <= 3) out.Mirror(mirrorAxis);
  return out;
}

uint32_t TMesh8::GetVertexFormat() const {
  D3DVERTEXBUFFER_DESC desc{};
  IDirect3DVertexBuffer8* frame = data->GetVertexBuffer(0);
  return frame && frame->GetDesc(&desc) == D3D_OK ? desc.FVF : 0;
}

TMaterial8& TMesh8::GetMaterialForUpdate(uint32_t part) {
  TMaterial8& material = materials.at(part);
  data->MarkDirty(part);
  return material;
}

const TMaterial8* TMesh8::GetMaterialOfFace(uint32_t n) const {
  const int32_t part = data->GetPartTable().FindPartOfTriangle(n & 0xFFFF);
  return part >= 0 && static_cast<size_t>(part) < materials.size() ? &materials[part] : nullptr;
}

void TMesh8::GetBoundingSphere(TMeshBounds& out, const D3DMATRIX& matrix) const {
  out = data->Bounds();
  const D3DXMATRIX m(matrix);
  if (D3DXMatrixIsIdentity(&m)) return;
  D3DXVECTOR3 centre(out.x, out.y, out.z), moved;
  D3DXVec3TransformCoord(&moved, &centre, &m);
  out.x = moved.x;
  out.y = moved.y;
  out.z = moved.z;
}

template <class F>
void TMesh8::ForParts(uint32_t part, bool markDirty, F apply) {
  if (part == 0xFFFFFFFFu) {
    for (TMaterial8& m : materials) apply(m);
  } else if (part < materials.size()) {
    apply(materials[part]);
  } else {
    return;
  }
  if (markDirty) data->MarkDirty(part);
}

void TMesh8::SetColor(float r, float g, float b, float a, uint32_t part) {
  ForParts(part, true, [&](TMaterial8& m) { m.SetColor(r, g, b, a); });
}

void TMesh8::SetColorRGB(float r, float g, float b, uint32_t part) {
  ForParts(part, true, [&](TMaterial8& m) { m.SetColorRGB(r, g, b); });
}

void TMesh8::SetAlpha(float a, uint32_t part) {
  ForParts(part, true, [&](TMaterial8& m) { m.SetAlpha(a); });
}

void TMesh8::SetRenderMode(uint32_t code, uint32_t part) {
  ForParts(part, false, [&](TMaterial8& m) { m.SetRenderMode(code); });
}

void TMesh8::SetDrawOrder(uint32_t order, uint32_t part) {
  ForParts(part, false, [&](TMaterial8& m) { m.SetDrawOrder(order); });
}

void TMesh8::SetShader(const TCountedPtr<TShaderBase8>& newShader) {
  shader = newShader;
  data->MarkDirty(0xFFFFFFFFu);
}

void TMesh8::SetMotion(uint32_t clipIndex) {
  clip = clipIndex;
  time = 0.0f;
}

void TMesh8::SetMotionTime(float t) {
  const TMotionClip8* c = data->GetClip(clip);
  if (!c) return;
  const float last = static_cast<float>(c->frameCount - 1);
  time = t > last ? last : (t > 0.0f ? t : 0.0f);
}

bool TMesh8::AdvanceMotion(bool loop, float step) {
  const TMotionClip8* c = data->GetClip(clip);
  if (!c) return false;
  time += c->speeds[ClipFrameAt(time, c->frameCount)] * step;
  const float last = static_cast<float>(c->frameCount - 1);
  if (time <= last) return true;
  time = loop ? 0.0f : last;
  return false;
}

bool TMesh8::RewindMotion(float step) {
  time -= step;
  if (time >= 0.0f) return true;
  time = 0.0f;
  return false;
}

bool TMesh8::MotionChanged() {
  const bool same = blendedClip == static_cast<int32_t>(clip) && blendedTime == time;
  blendedClip = static_cast<int32_t>(clip);
  blendedTime = time;
  return data->GetClipCount() != 0 && !same;
}

void TMesh8::GetBlendFrames(uint32_t& frameA, uint32_t& frameB, float& weight) const {
  frameA = frameB = 0;
  weight = 0.0f;
  const TMotionClip8* c = data->GetClip(clip);
  if (!c || !(time > 0.0f)) {
    if (c) frameA = frameB = c->frameMap[0];
    return;
  }
  const uint32_t i = ClipFrameAt(time, c->frameCount);
  const uint32_t j = i + 1 == c->frameCount ? i : i + 1;
  frameA = c->frameMap[i];
  frameB = c->frameMap[j];
  weight = time - static_cast<float>(i);
}
