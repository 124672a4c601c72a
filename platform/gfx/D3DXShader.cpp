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

std::vector<DWORD> FrameShaderTokens(const std::vector<uint32_t>& tokens) {
  std::vector<DWORD> framed{kShaderBufferTag, static_cast<DWORD>(tokens.size())};
  framed.insert(framed.end(), tokens.begin(), tokens.end());
  return framed;
}

bool UnframeShaderTokens(const DWORD* function, std::vector<uint32_t>& tokens) {
  if (!function || function[0] != kShaderBufferTag || function[1] > (1u << 20)) return false;
  tokens.assign(function + 2, function + 2 + function[1]);
  return true;
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
  std::vector<DWORD> framed = FrameShaderTokens(tokens);
  *compiled = ID3DXBuffer::Create(framed.data(), framed.size() * sizeof(DWORD));
  return D3D_OK;
}

}  // namespace plat
