// The utility library's shader assembly: a "vs.1.x" text becomes a buffer that the device's
// CreateVertexShader takes. The buffer carries its own token count, so the device can take the
// bare pointer as the original call does.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/D3D8Resource.h"

namespace plat {

class ID3DXBuffer : public D3DUnknown {
 public:
  void* GetBufferPointer() { return bytes_.data(); }
  DWORD GetBufferSize() { return static_cast<DWORD>(bytes_.size()); }
  static ID3DXBuffer* Create(const void* data, size_t size);

 private:
  std::vector<uint8_t> bytes_;
};

// D3D_OK with the compiled buffer; on a failed assembly D3DXERR_INVALIDDATA with the errors' text
// (NUL-terminated) in the error buffer. Flags are ignored; the constant table is never made.
HRESULT D3DXAssembleShader(const void* source, UINT length, DWORD flags, ID3DXBuffer** constants,
                           ID3DXBuffer** compiled, ID3DXBuffer** errors);

// The compiled buffer's layout: a tag, the token count, the tokens.
constexpr DWORD kShaderBufferTag = 0x53565744;  // "DWVS"
std::vector<DWORD> FrameShaderTokens(const std::vector<uint32_t>& tokens);
// False when the pointer does not start a framed buffer.
bool UnframeShaderTokens(const DWORD* function, std::vector<uint32_t>& tokens);

}  // namespace plat
