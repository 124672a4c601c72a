#include "platform/gfx/D3DXShader.h"

#include <cstring>
#include <string_view>

#include "platform/gfx/VertexShaderCode.h"

namespace plat {

ID3DXBuffer* ID3DXBuffer::Create(const void* data, size_t size) {
  auto* buffer = new ID3DXBuffer;
  buffer->bytes_.resize(size);
  if (size) std::memcpy(buffer->bytes_.data(), data, size);
  return buffer;
}

HRESULT D3DXAssembleShader(const void* source, UINT length, DWORD, ID3DXBuffer** constants,
                           ID3DXBuffer** compiled, ID3DXBuffer** errors) {
  if (constants) *constants = nullptr;
  if (compiled) *compiled = nullptr;
  if (errors) *errors = nullptr;
  if (!source || !compiled) return D3DERR_INVALIDCALL;
  std::vector<uint32_t> tokens;
  std::string text;
  if (!AssembleVertexShader(std::string_view(static_cast<const char*>(source), length), tokens, text)) {
    if (errors) *errors = ID3DXBuffer::Create(text.c_str(), text.size() + 1);
    return D3DXERR_INVALIDDATA;
  }
  *compiled = ID3DXBuffer::Create(tokens.data(), tokens.size() * sizeof(uint32_t));
  return D3D_OK;
}

}  // namespace plat
