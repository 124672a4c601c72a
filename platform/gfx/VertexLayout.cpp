#include "platform/gfx/VertexLayout.h"

#include <cstring>

namespace plat {

FvfLayout LayoutOfFvf(DWORD fvf) {
  FvfLayout l;
  uint32_t offset = 0;
  switch (fvf & D3DFVF_POSITION_MASK) {
    case D3DFVF_XYZ: offset = 12; break;
    case D3DFVF_XYZRHW:
      offset = 16;
      l.pretransformed = true;
      break;
    case 0: return l;
    default:  // XYZB1 .. XYZB5
      l.blendWeights = ((fvf & D3DFVF_POSITION_MASK) - D3DFVF_XYZ) / 2;
      offset = 12 + 4 * l.blendWeights;
      break;
  }
  auto take = [&](int32_t& at, uint32_t bytes) {
    at = static_cast<int32_t>(offset);
    offset += bytes;
  };
  if (fvf & D3DFVF_NORMAL) take(l.normal, 12);
  if (fvf & D3DFVF_PSIZE) take(l.pointSize, 4);
  if (fvf & D3DFVF_DIFFUSE) take(l.diffuse, 4);
  if (fvf & D3DFVF_SPECULAR) take(l.specular, 4);
  l.texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
  if (l.texCount > 8) return FvfLayout{};
  static const uint32_t kFloats[4] = {2, 3, 4, 1};
  for (uint32_t i = 0; i < l.texCount; ++i) {
    l.texFloats[i] = kFloats[D3DFVF_TEXCOORDSIZE_CODE(fvf, i)];
    take(l.texOffset[i], 4 * l.texFloats[i]);
  }
  l.stride = offset;
  l.valid = true;
  return l;
}

uint32_t ElementSize(DWORD type) {
  static const uint32_t kSizes[8] = {4, 8, 12, 16, 4, 4, 4, 8};
  return type < 8 ? kSizes[type] : 0;
}

ShaderFloat4 ColorToFloat4(D3DCOLOR c) {
  return {float((c >> 16) & 0xFF) / 255.0f, float((c >> 8) & 0xFF) / 255.0f, float(c & 0xFF) / 255.0f,
          float(c >> 24) / 255.0f};
}

ShaderFloat4 FetchElement(DWORD type, const uint8_t* p) {
  ShaderFloat4 v{0, 0, 0, 1};
  switch (type) {
    case D3DVSDT_FLOAT4: v.w = ReadUnaligned<float>(p + 12); [[fallthrough]];
    case D3DVSDT_FLOAT3: v.z = ReadUnaligned<float>(p + 8); [[fallthrough]];
    case D3DVSDT_FLOAT2: v.y = ReadUnaligned<float>(p + 4); [[fallthrough]];
    case D3DVSDT_FLOAT1: v.x = ReadUnaligned<float>(p); break;
    case D3DVSDT_D3DCOLOR: {
      D3DCOLOR c;
      std::memcpy(&c, p, 4);
      v = ColorToFloat4(c);
      break;
    }
    case D3DVSDT_UBYTE4: v = {float(p[0]), float(p[1]), float(p[2]), float(p[3])}; break;
    case D3DVSDT_SHORT4: v.z = ReadUnaligned<int16_t>(p + 4), v.w = ReadUnaligned<int16_t>(p + 6); [[fallthrough]];
    case D3DVSDT_SHORT2: v.x = ReadUnaligned<int16_t>(p), v.y = ReadUnaligned<int16_t>(p + 2); break;
    default: break;
  }
  return v;
}

bool ParseVertexDeclaration(const DWORD* tokens, VertexDeclaration& out) {
  out = VertexDeclaration{};
  if (!tokens) return false;
  DWORD stream = 0;
  bool haveStream = false;
  for (size_t i = 0; i < 4096; ++i) {
    DWORD t = tokens[i];
    out.tokens.push_back(t);
    if (t == D3DVSD_END()) return true;
    switch (t >> 29) {
      case D3DVSD_TOKEN_NOP: break;
      case D3DVSD_TOKEN_STREAM:
        if (t & 0x10000000u) return false;  // tessellator stream
        stream = t & 0xF;
        haveStream = true;
        break;
      case D3DVSD_TOKEN_STREAMDATA: {
        if (!haveStream) return false;
        if (t & 0x10000000u) {
          out.streamBytes[stream] += 4 * ((t >> 16) & 0xF);
          break;
        }
        DWORD type = (t >> 16) & 0xF, reg = t & 0x1F;
        if (type > D3DVSDT_SHORT4 || reg >= 16) return false;
        out.elements.push_back({stream, reg, type, out.streamBytes[stream]});
        out.streamBytes[stream] += ElementSize(type);
        out.streamMask |= uint16_t(1u << stream);
        break;
      }
      case D3DVSD_TOKEN_CONSTMEM: {
        DWORD count = (t >> 25) & 0xF, reg = t & 0x7F;
        if (reg + count > 96) return false;
        for (DWORD c = 0; c < count; ++c) {
          ShaderFloat4 value;
          float* f = &value.x;
          for (int k = 0; k < 4; ++k) {
            DWORD bits = tokens[++i];
            out.tokens.push_back(bits);
            std::memcpy(&f[k], &bits, 4);
          }
          out.constants.emplace_back(reg + c, value);
        }
        break;
      }
      default: return false;
    }
  }
  return false;
}

}  // namespace plat
