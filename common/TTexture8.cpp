#include "common/TTexture8.h"

#include <cstdlib>
#include <cstring>
#include <list>

#include "common/TD3D8.h"
#include "common/TFile.h"
#include "common/TTexturePack.h"
#include "common/my_error.h"

namespace {

struct TextureCache {
  std::list<TTexture8> records;
  std::string folder;
};

TextureCache& TheCache() {
  static TextureCache cache;
  return cache;
}

// The last release of a record's texture, done by the cache so that holders that still share the
// reference never release it again.
void ReleaseShared(const TCountedPtr<plat::IDirect3DTexture8>& texture) {
  if (texture.Owns() && texture.Get()) texture->Release();
  texture.SetOwns(false);
}

void ClearStage0() {
  if (plat::IDirect3DDevice8* device = TD3D8::GetDevice()) device->SetTexture(0, nullptr);
}

// Fills level 0 from the picture; a texture that could not be made is never touched.
void Fill(plat::IDirect3DTexture8* texture, const TPackPicture& picture, uint32_t format) {
  if (!texture) return;
  plat::D3DLOCKED_RECT locked;
  if (texture->LockRect(0, &locked, nullptr, 0) != plat::D3D_OK) return;
  auto* bits = static_cast<uint8_t*>(locked.pBits);
  std::memset(bits, 0, size_t(locked.Pitch) * picture.height);
  TTexturePack::Convert(picture, format, bits, static_cast<uint32_t>(locked.Pitch));
  texture->UnlockRect(0);
}

}  // namespace

TTexture8::TTexture8() = default;

void TTexture8::SetFolder(const std::string& folder) { TheCache().folder = folder; }
const std::string& TTexture8::GetFolder() { return TheCache().folder; }

TTexture8& TTexture8::Cache(TTexture8 record) {
  TheCache().records.push_back(std::move(record));
  return TheCache().records.back();
}

TTexture8* TTexture8::Find(const std::string& name) {
  for (TTexture8& r : TheCache().records)
    if (r.name == name) return &r;
  return nullptr;
}

size_t TTexture8::CachedCount() { return TheCache().records.size(); }

uint32_t TTexture8::TagFromName(const std::string& name) {
  const size_t slash = name.find('/');
  if (slash == std::string::npos) return 1;
  const std::string entry = name.substr(slash + 1);
  if (entry.size() < 2) return 1;
  std::string head = entry.substr(0, 2);
  if (head[1] == '_') head.resize(1);
  const int n = std::atoi(head.c_str());
  return n == 4 || n == 8 || n == 16 ? static_cast<uint32_t>(n) : 1;
}

TTexture8 TTexture8::Load(const std::string& resource, uint32_t pool, uint32_t usage) {
  if (resource.empty()) return TTexture8();
  if (TTexture8* cached = Find(resource)) return *cached;

  const size_t slash = resource.find('/');
  const std::string packName = slash == std::string::npos ? "" : resource.substr(0, slash);
  const std::string entryName = slash == std::string::npos ? resource : resource.substr(slash + 1);
  const std::string packPath = GetFolder() + packName;
  TFile pack(packPath);
  if (!pack.Open(true, plat::GENERIC_READ)) throw my_error(packPath, __FILE__, 150);
  TPackPicture picture;
  if (!TTexturePack::ReadEntry(pack, packPath, entryName, picture)) return TTexture8();
  pack.Close();

  const uint32_t format = TD3D8::Instance()->GetTextureFormat(picture.kind);
  if (!TTexturePack::HasConversion(format))
    throw my_error(resource + ": no texel conversion into texture format " + std::to_string(format),
                   __FILE__, __LINE__);
  plat::IDirect3DTexture8* texture =
      TD3D8::Instance()->CreateTexture(picture.width, picture.height, format, pool, usage);
  Fill(texture, picture, format);
  return CacheNew(texture, resource, format, pool, false);
}

TTexture8 TTexture8::Create(const std::string& name, uint32_t width, uint32_t height,
                            uint32_t format, uint32_t pool, uint32_t usage) {
  if (TTexture8* cached = Find(name)) return *cached;
  plat::IDirect3DTexture8* texture = TD3D8::Instance()->CreateTexture(width, height, format, pool, usage);
  return CacheNew(texture, name, format, pool, true);
}

TTexture8& TTexture8::CacheNew(plat::IDirect3DTexture8* texture, const std::string& name, uint32_t format,
                               uint32_t pool, bool created) {
  if (texture) texture->SetName(name);
  TTexture8 record;
  record.texture = TCountedPtr<plat::IDirect3DTexture8>(texture);
  record.name = name;
  record.format = format;
  record.pool = pool;
  record.created = created ? 1 : 0;
  record.valid = 1;
  record.tag = TagFromName(name);
  return Cache(std::move(record));
}

void TTexture8::Purge(int mode) {
  ClearStage0();
  std::list<TTexture8>& records = TheCache().records;
  if (mode == 1) {
    for (TTexture8& r : records) ReleaseShared(r.texture);
    records.clear();
    return;
  }
  for (auto it = records.begin(); it != records.end();) {
    if (it->texture.GetCount() == 1) {
      ReleaseShared(it->texture);
      it = records.erase(it);
    } else {
      ++it;
    }
  }
}

void TTexture8::ReleaseDefaultPool() {
  std::list<TTexture8>& records = TheCache().records;
  for (auto it = records.begin(); it != records.end();) {
    if (it->pool == plat::D3DPOOL_DEFAULT) {
      ReleaseShared(it->texture);
      it = records.erase(it);
    } else {
      ++it;
    }
  }
}

TTexture8 TTexture8::Renamed(const std::string& newName) const {
  TTexture8 copy = *this;
  copy.name = newName;
  return copy;
}

void TTexture8::Apply(uint32_t stage) const {
  plat::IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device) return;
  const bool textured = Object() && valid;
  device->SetTexture(stage, textured ? Object() : nullptr);
  const plat::DWORD argument = textured ? plat::D3DTA_TEXTURE : plat::D3DTA_DIFFUSE;
  device->SetTextureStageState(stage, plat::D3DTSS_COLORARG1, argument);
  device->SetTextureStageState(stage, plat::D3DTSS_ALPHAARG1, argument);
}

bool TTexture8::GetLevelDesc(uint32_t level, plat::D3DSURFACE_DESC* desc) const {
  return Object() && Object()->GetLevelDesc(level, desc) == plat::D3D_OK;
}
