#include "game/script/TPBFlag.h"

#include <algorithm>

#include "common/my_error.h"
#include "game/data/TGameData.h"
#include "game/script/TScriptEngine.h"

namespace {

constexpr int32_t kGetErrorLine = 100;
constexpr int32_t kPutErrorLine = 159;

uint32_t U(int32_t n) { return static_cast<uint32_t>(n); }

int32_t Owned(TGameData& d, int32_t id) {
  const TItemEntry* entry = d.FindItem(U(id));
  return entry ? entry->count : 0;
}

void SetResult(int32_t value) {
  if (TScriptEngine* engine = TScriptEngine::Get()) engine->Globals().SetInt("$_", value);
}

// A script's count is taken whole: a stack holds at most 99, and a count beyond a byte is never
// owned, rather than either being cut to its low byte.
void AddItem(TGameData& d, int32_t id, int32_t count) {
  if (count > 0) d.AddItem(U(id), U(std::min(count, 99)));
}

void UseItem(TGameData& d, int32_t id, int32_t count) {
  SetResult(count >= 0 && count <= 255 && d.UseItem(U(id), static_cast<uint8_t>(count)) ? 1 : 0);
}

}  // namespace

// A reads the value of a selector (a: the second argument).
struct TPBFlag::Getter {
  int32_t selector;
  int32_t (*read)(TGameData& d, int32_t a);
};

// A writes it (a, b: the second and third arguments).
struct TPBFlag::Putter {
  int32_t selector;
  void (*write)(TGameData& d, int32_t a, int32_t b);
};

const TPBFlag::Getter TPBFlag::kGetters[] = {
    {0, [](TGameData& d, int32_t) { return static_cast<int32_t>(d.GetPlayTimeBefore()); }},
    {1, [](TGameData& d, int32_t) { return d.GetVolume2(); }},
    {2, [](TGameData& d, int32_t) { return d.GetVolume0(); }},
    {3, [](TGameData& d, int32_t) { return d.GetVolume1(); }},
    {4, [](TGameData& d, int32_t) { return static_cast<int32_t>(d.GetMiniMapMode()); }},
    {5, [](TGameData& d, int32_t) { return static_cast<int32_t>(d.GetCurrentMember()); }},
    {6, [](TGameData& d, int32_t) { return static_cast<int32_t>(d.GetSavePointId()); }},
    {7, [](TGameData& d, int32_t) { return static_cast<int32_t>(d.GetGold()); }},
    {8, [](TGameData& d, int32_t a) { return static_cast<int32_t>(d.GetFlag(U(a))); }},
    {9, [](TGameData& d, int32_t a) { return static_cast<int32_t>(d.GetPickupFlag(U(a))); }},
    {10, [](TGameData& d, int32_t) { return d.GetItemKindCount(); }},
    {11, [](TGameData& d, int32_t a) { return d.FindItem(U(a)) ? 1 : 0; }},
    {12, [](TGameData& d, int32_t a) { return Owned(d, a); }},
};

const TPBFlag::Putter TPBFlag::kPutters[] = {
    {0, [](TGameData&, int32_t, int32_t) {}},
    {1, [](TGameData& d, int32_t a, int32_t) { d.SetVolume2(a); }},
    {2, [](TGameData& d, int32_t a, int32_t) { d.SetVolume0(a); }},
    {3, [](TGameData& d, int32_t a, int32_t) { d.SetVolume1(a); }},
    {4, [](TGameData& d, int32_t a, int32_t) { d.SetMiniMapMode(a != 0 ? 1 : 0); }},
    {5, [](TGameData& d, int32_t a, int32_t) { d.SetCurrentMember(U(a)); }},
    {6, [](TGameData& d, int32_t a, int32_t) { d.SetSavePointId(U(a)); }},
    {7, [](TGameData& d, int32_t a, int32_t) { d.SetGold(U(a)); }},
    {8, [](TGameData& d, int32_t a, int32_t b) { d.SetFlag(U(a), static_cast<uint8_t>(b)); }},
    {9, [](TGameData& d, int32_t a, int32_t b) { d.SetPickupFlag(U(a), b != 0 ? 1 : 0); }},
    {13, AddItem},
    {14, UseItem},
};

TPBFlag::TPBFlag(TGameWnd* application) : TScriptObject("Flag"), app(application) {}

uint32_t TPBFlag::Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes& argTypes) {
  if (op == kGetValue) GetValue(args, argTypes);
  else if (op == kPutValue) PutValue(args, argTypes);
  return kDone;
}

void TPBFlag::GetValue(const TScriptArgs& args, const TScriptArgTypes&) {
  const int32_t selector = ArgInt(args, 0);
  for (const Getter& g : kGetters) {
    if (g.selector != selector) continue;
    // Without a record (no game running) there is nothing to read.
    TGameData* data = TGameData::Instance();
    SetResult(data ? g.read(*data, ArgInt(args, 1)) : 0);
    return;
  }
  throw my_error("TPBFlag::GetValue Unknown Arg", __FILE__, kGetErrorLine);
}

void TPBFlag::PutValue(const TScriptArgs& args, const TScriptArgTypes&) {
  const int32_t selector = ArgInt(args, 0);
  for (const Putter& p : kPutters) {
    if (p.selector != selector) continue;
    if (TGameData* data = TGameData::Instance()) p.write(*data, ArgInt(args, 1), ArgInt(args, 2));
    return;
  }
  throw my_error("TPBFlag::PutValue Unknown Arg", __FILE__, kPutErrorLine);
}
