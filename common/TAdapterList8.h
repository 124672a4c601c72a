// The enumeration of what the Direct3D object offers, made once before the device exists: per
// adapter its identifier, and per adapter, device type (HAL, REF) and windowed flag the display
// modes (ranked by score), multisample types and depth formats per format pair, and the resource
// formats per display format. It can be written as the "DeviceLog.txt" report.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/D3D8Object.h"

class TDisplayMode8 {
 public:
  TDisplayMode8(uint32_t width, uint32_t height, uint32_t refreshRate, plat::D3DFORMAT displayFormat,
                plat::D3DFORMAT backBufferFormat);
  virtual ~TDisplayMode8() = default;
  TDisplayMode8(const TDisplayMode8&) = default;
  TDisplayMode8& operator=(const TDisplayMode8&) = default;

  // Width, height, refresh rate, display format, back-buffer format.
  const uint32_t* GetDesc() const { return desc; }
  int32_t GetScore() const { return score; }
  bool operator<(const TDisplayMode8& other) const { return score < other.score; }

  // The rank of a format in the score; lower ranks sort first.
  static int32_t FormatWeight(plat::D3DFORMAT format);

 private:
  uint32_t desc[5];
  int32_t score;
};

class TAdapterInfo8 {
 public:
  using FormatPair = std::pair<plat::D3DFORMAT, plat::D3DFORMAT>;
  // The seven resource lists, in report order.
  enum ResourceList { RenderTarget, Texture, CubeTexture, VolumeTexture, RenderTargetTexture,
                      RenderTargetCubeTexture, RenderTargetVolumeTexture, ResourceListCount };

  TAdapterInfo8(uint32_t adapter, plat::D3DDEVTYPE deviceType,
                bool windowed, plat::IDirect3D8* direct3D);
  virtual ~TAdapterInfo8() = default;
  TAdapterInfo8(const TAdapterInfo8&) = default;
  TAdapterInfo8& operator=(const TAdapterInfo8&) = default;

  uint32_t GetAdapterOrdinal() const { return adapter; }
  plat::D3DDEVTYPE GetDeviceType() const { return deviceType; }
  uint32_t GetVariant() const { return windowed; }
  uint32_t GetModeCount() const { return static_cast<uint32_t>(modes.size()); }
  // index below GetModeCount().
  const TDisplayMode8& GetMode(uint32_t index) const { return modes[index]; }
  // Null when the pair (or display format) was never enumerated.
  const std::vector<plat::D3DMULTISAMPLE_TYPE>* FindMultiSampleTypes(plat::D3DFORMAT display,
                                                                      plat::D3DFORMAT backBuffer) const;
  const std::vector<plat::D3DFORMAT>* FindDepthFormats(plat::D3DFORMAT display, plat::D3DFORMAT backBuffer) const;
  const std::vector<plat::D3DFORMAT>* FindTextureFormats(plat::D3DFORMAT display) const;

  // Appends this record's section of the report.
  void WriteSection(std::string& out) const;

 private:
  void EnumerateModes(plat::IDirect3D8* d3d);
  void EnumeratePair(plat::IDirect3D8* d3d, const FormatPair& pair);
  void EnumerateResources(plat::IDirect3D8* d3d, plat::D3DFORMAT display);

  uint32_t adapter;
  plat::D3DDEVTYPE deviceType;
  uint32_t windowed;
  std::vector<TDisplayMode8> modes;
  std::map<FormatPair, std::vector<plat::D3DMULTISAMPLE_TYPE>> multiSampleTypes;
  std::map<FormatPair, std::vector<plat::D3DFORMAT>> depthFormats;
  std::map<plat::D3DFORMAT, std::vector<plat::D3DFORMAT>> resourceFormats[ResourceListCount];
};

class TAdapterList8 {
 public:
  explicit TAdapterList8(plat::IDirect3D8* direct3D);
  virtual ~TAdapterList8() = default;

  uint32_t GetCount() const { return static_cast<uint32_t>(records.size()); }
  // index below GetCount().
  const TAdapterInfo8& GetAdapter(uint32_t index) const { return records[index]; }
  // The report as text (CR LF line ends).
  std::string Report() const;
  // Writes the report over the file; a file that cannot be opened gets nothing.
  void WriteReport(const std::string& fileName) const;

 private:
  std::vector<plat::D3DADAPTER_IDENTIFIER8> identifiers;
  std::vector<TAdapterInfo8> records;
};
