// The texture record: a named, counted reference to a device texture. Every texture comes from a
// ".ptx" pack ("pack.ptx/entry") or is made empty by name, and lives in one global cache so that
// a name loaded twice shares its texture; a purge drops what nothing else holds.
#pragma once
#include <cstdint>
#include <string>

#include "common/TCountedPtr.h"
#include "platform/gfx/D3D8Resource.h"

class TTexture8 {
 public:
  // An empty record: no texture, tag 1, valid.
  TTexture8();

  static void SetFolder(const std::string& folder);
  static const std::string& GetFolder();

  // The cached record of the name, or the pack's picture made into a texture and cached. An empty
  // name or an entry the pack lacks gives an empty record that is not cached. A pack that cannot
  // be opened throws my_error with its path (line 150); a damaged pack, or a picture whose format
  // slot has no texel conversion, throws my_error naming it.
  static TTexture8 Load(const std::string& name, uint32_t pool, uint32_t usage);
  // The cached record of the name, or a new empty texture of that size (none when the device
  // refuses it), marked as created, cached.
  static TTexture8 Create(const std::string& name, uint32_t width, uint32_t height, uint32_t format,
                          uint32_t pool, uint32_t usage);
  static TTexture8* Find(const std::string& name);
  // Mode 1 releases every texture and empties the cache; any other mode drops the records that
  // only the cache holds.
  static void Purge(int mode);
  // Releases and uncaches every texture of the default pool (render targets), which a device reset
  // cannot keep; the next Create of such a name makes it again.
  static void ReleaseDefaultPool();
  static size_t CachedCount();

  // Binds the texture (or, without one, the diffuse colour) as the stage's colour and alpha.
  void Apply(uint32_t stage) const;
  uint32_t GetFormat() const { return format; }
  uint32_t GetPool() const { return pool; }
  uint32_t GetTag() const { return tag; }
  bool IsCreated() const { return created != 0; }
  bool IsValid() const { return valid != 0; }
  const std::string& GetName() const { return name; }
  bool GetLevelDesc(uint32_t level, plat::D3DSURFACE_DESC* desc) const;
  const TCountedPtr<plat::IDirect3DTexture8>& GetTexture() const { return texture; }
  // The texture while this record still has it: null for an empty record and for one whose
  // texture the cache has released (a purge at cleanup or a device reset), which then draws as a
  // record without texture instead of reaching a released object.
  plat::IDirect3DTexture8* Object() const { return texture.Owns() ? texture.Get() : nullptr; }
  // A copy under another name, sharing the texture; it is not the cache's record of either name.
  TTexture8 Renamed(const std::string& newName) const;

  // 4, 8 or 16 from the first two characters of the entry name ("16...", "4_..."), else 1.
  static uint32_t TagFromName(const std::string& name);

 private:
  // Puts a new texture's record into the cache under its name.
  static TTexture8& CacheNew(plat::IDirect3DTexture8* texture, const std::string& name, uint32_t format,
                             uint32_t pool, bool created);
  static TTexture8& Cache(TTexture8 record);

  TCountedPtr<plat::IDirect3DTexture8> texture;
  TCountedPtr<plat::D3DUnknown> second;
  std::string name;
  uint32_t format = 0;
  uint32_t pool = 0;
  uint32_t tag = 1;
  uint8_t created = 0;
  uint8_t valid = 1;
};
