#include "common/TRenderModeTable.h"

#include <algorithm>
#include <cstdio>

#include "common/TD3D8.h"

namespace {

struct ModeRow {
  uint16_t code;
  const char* name;
  uint8_t sortFlag;
  TRenderMode8::States states;
};

using plat::D3DBLEND_INVDESTCOLOR, plat::D3DBLEND_INVSRCALPHA, plat::D3DBLEND_ONE,
    plat::D3DBLEND_SRCALPHA, plat::D3DBLEND_SRCCOLOR, plat::D3DBLEND_ZERO, plat::D3DCULL_CCW,
    plat::D3DCULL_NONE;

// Code, name, sort flag; ZENABLE, ZWRITEENABLE, ALPHABLENDENABLE, CULLMODE, FOGENABLE, SRCBLEND,
// DESTBLEND. The codes double as the pass order.
const ModeRow kModes[] = {
    {1100, "ZDISOPAQUE", 1, {0, 0, 0, D3DCULL_CCW, 1, D3DBLEND_ONE, D3DBLEND_ZERO}},
    {1200, "OPAQUE", 1, {1, 1, 0, D3DCULL_CCW, 1, D3DBLEND_ONE, D3DBLEND_ZERO}},
    {1300, "OPAQUENOTCULL", 1, {1, 1, 0, D3DCULL_NONE, 1, D3DBLEND_ONE, D3DBLEND_ZERO}},
    {2000, "ALPHA", 0, {1, 1, 1, D3DCULL_CCW, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}},
    {2100, "ALPHANOTCULL", 0, {1, 1, 1, D3DCULL_NONE, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}},
    {2200, "ZWNALPHA", 0, {1, 0, 1, D3DCULL_CCW, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}},
    {2300, "ZWNALPHANOTCULL", 0,
     {1, 0, 1, D3DCULL_NONE, 0, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}},
    {3000, "MUL", 0, {1, 0, 1, D3DCULL_NONE, 0, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR}},
    {4000, "ADD", 0, {1, 0, 1, D3DCULL_NONE, 0, D3DBLEND_ONE, D3DBLEND_ONE}},
    {4100, "ZDISADD", 0, {0, 0, 1, D3DCULL_NONE, 0, D3DBLEND_ONE, D3DBLEND_ONE}},
    {5000, "REND_DESTINVERSE", 0, {1, 0, 1, D3DCULL_NONE, 0, D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO}},
};
constexpr uint16_t kHideCode = 0;
constexpr uint16_t kDefaultCode = 2000;

TCountedPtr<TRenderModeTable>& Table() {
  static TCountedPtr<TRenderModeTable> table;
  return table;
}

// What a code outside the table (or any code before the table exists) draws as.
THideMode8& Hidden() {
  static THideMode8 hide;
  return hide;
}

}  // namespace

// ---- TStateBlock8 -------------------------------------------------------------------------------

void TStateBlock8::Add(const plat::D3DMATRIX&, TView8*, uint32_t, TMesh8*) {}
void TStateBlock8::Flush() {}
TStateBlock8::~TStateBlock8() = default;
void TStateBlock8::Begin() {}
void TStateBlock8::Clear() {}
void TStateBlock8::DrawQueue() {}
void TStateBlock8::SetStates() {}

void TStateBlock8::Record() {
  ReleaseBlock();
  plat::IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device) return;
  device->BeginStateBlock();
  TD3D8::Instance()->SetDefaultStates(true);
  SetStates();
  plat::DWORD token = 0;
  if (device->EndStateBlock(&token) == plat::D3D_OK) block = token;
}

void TStateBlock8::ReleaseBlock() {
  if (block == kNoBlock) return;
  if (plat::IDirect3DDevice8* device = TD3D8::GetDevice()) device->DeleteStateBlock(block);
  block = kNoBlock;
}

THideMode8::~THideMode8() = default;

// ---- TRenderMode8 -------------------------------------------------------------------------------

TRenderMode8::TRenderMode8(uint8_t flag, const States& values) : sortFlag(flag), states(values) {}
TRenderMode8::~TRenderMode8() = default;

void TRenderMode8::Add(const plat::D3DMATRIX& matrix, TView8* view, uint32_t part, TMesh8* mesh) {
  queue.emplace_back(matrix, view, part, mesh);
}

void TRenderMode8::Flush() {
  if (queue.empty()) return;
  Begin();
  DrawQueue();
  Clear();
}

void TRenderMode8::Begin() {
  if (plat::IDirect3DDevice8* device = TD3D8::GetDevice())
    if (block != kNoBlock) device->ApplyStateBlock(block);
  TD3D8::Instance()->ApplyFog(states.fogEnable != 0);
}

void TRenderMode8::Clear() { queue.clear(); }

void TRenderMode8::DrawQueue() {
  if (sortFlag == 0) {
    std::sort(queue.begin(), queue.end(), [](const TDrawItem8& a, const TDrawItem8& b) {
      return a.order != b.order ? a.order < b.order : a.depth < b.depth;
    });
  } else {
    std::sort(queue.begin(), queue.end(), [](const TDrawItem8& a, const TDrawItem8& b) {
      return a.order != b.order ? a.order < b.order : a.depth > b.depth;
    });
  }
  // Added light with no depth written looks the same in any order.
  const bool orderFree = states.alphaBlendEnable && states.srcBlend == plat::D3DBLEND_ONE &&
                         states.destBlend == plat::D3DBLEND_ONE && !states.zWriteEnable;
  batch.DrawAll(queue, orderFree);
}

void TRenderMode8::SetStates() {
  plat::IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device) return;
  device->SetRenderState(plat::D3DRS_ZENABLE, states.zEnable);
  device->SetRenderState(plat::D3DRS_ZWRITEENABLE, states.zWriteEnable);
  device->SetRenderState(plat::D3DRS_ALPHABLENDENABLE, states.alphaBlendEnable);
  device->SetRenderState(plat::D3DRS_CULLMODE, states.cullMode);
  device->SetRenderState(plat::D3DRS_FOGENABLE, states.fogEnable);
  device->SetRenderState(plat::D3DRS_SRCBLEND, states.srcBlend);
  device->SetRenderState(plat::D3DRS_DESTBLEND, states.destBlend);
}

// ---- TRenderModeTable ---------------------------------------------------------------------------

void TRenderModeTable::Create() {
  Destroy();
  TCountedPtr<TRenderModeTable> table(new TRenderModeTable);
  Table() = table;
  table->CreateModes();
  table->RegisterNames();
}

void TRenderModeTable::Destroy() {
  TCountedPtr<TRenderModeTable>& table = Table();
  if (!table) return;
  ReleaseModes();
  table->names.clear();
  table.Reset();
}

void TRenderModeTable::ReleaseModes() {
  TCountedPtr<TRenderModeTable>& table = Table();
  if (!table) return;
  for (auto& [code, mode] : table->modes) mode->ReleaseBlock();
  table->modes.clear();
}

void TRenderModeTable::Restore() {
  TCountedPtr<TRenderModeTable>& table = Table();
  if (!table) return;
  table->CreateModes();
  table->RegisterNames();
}

void TRenderModeTable::CreateModes() {
  for (const ModeRow& row : kModes) Register(row.code, new TRenderMode8(row.sortFlag, row.states));
  Register(kHideCode, new THideMode8);
}

void TRenderModeTable::Register(uint16_t code, TStateBlock8* mode) {
  TCountedPtr<TStateBlock8> owned(mode);
  modes[code] = owned;
  owned->Record();
}

void TRenderModeTable::RegisterNames() {
  names["HIDE"] = kHideCode;
  names["REND00"] = kHideCode;
  int index = 1;
  for (const ModeRow& row : kModes) {
    names[row.name] = row.code;
    char alias[8];
    std::snprintf(alias, sizeof alias, "REND%02d", index++);
    names[alias] = row.code;
  }
  names["DEFAULT"] = kDefaultCode;
}

TStateBlock8* TRenderModeTable::Find(uint16_t code) {
  TCountedPtr<TRenderModeTable>& table = Table();
  if (table) {
    auto found = table->modes.find(code);
    if (found != table->modes.end() && found->second) return found->second.Get();
  }
  return &Hidden();
}

void TRenderModeTable::FlushAll() {
  TCountedPtr<TRenderModeTable>& table = Table();
  if (!table) return;
  for (auto& [code, mode] : table->modes) mode->Flush();
}

bool TRenderModeTable::FindCode(const std::string& name, uint16_t& code) {
  TCountedPtr<TRenderModeTable>& table = Table();
  if (!table) return false;
  auto found = table->names.find(name);
  if (found == table->names.end()) return false;
  code = found->second;
  return true;
}

bool TRenderModeTable::Exists() { return static_cast<bool>(Table()); }

std::vector<uint16_t> TRenderModeTable::Codes() {
  std::vector<uint16_t> codes;
  if (Table())
    for (const auto& [code, mode] : Table()->modes) codes.push_back(code);
  return codes;
}

size_t TRenderModeTable::NameCount() { return Table() ? Table()->names.size() : 0; }
