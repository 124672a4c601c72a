// The utility library's shader assembly: a "vs.1.x" text becomes a buffer of the assembler's
// tokens, which the device's CreateVertexShader takes by its bare pointer.
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

}  // namespace plat
