#include "game/effect/TimeStopState.h"
#include "common/TMesh8.h"

namespace {

constexpr float kBoardScale = 1.6f;
constexpr int32_t kFacingView = 12;

}  // namespace

TimeStopState& TimeStopState::Get() {
  static TimeStopState state;
  return state;
}

void TimeStopState::BuildBoard() {
  if (board) return;
  plat::D3DXMATRIX identity;
  plat::D3DXMatrixIdentity(&identity);
  TMesh8 mesh = TMesh8::Load(kBoardMesh);
  mesh.SetColor(1, 1, 1, 1, TMesh8::kAllParts);
  mesh.SetRenderMode(kBoardRenderMode, TMesh8::kAllParts);
  mesh.Scale(kBoardScale, kBoardScale, kBoardScale);
  TCountedPtr<TFrame8> frame = CreateNamedFrame("TimeStop", identity);
  frame->AddMesh(mesh);
  board = frame;
}

void TimeStopState::ReleaseBoard() {
  Set(false, nullptr, nullptr);
  board.Reset();
}

void TimeStopState::Set(bool on, TFrame8* parent, const TFrame8* actor) {
  if (on == (stopped != 0)) return;
  stopped = on ? 1 : 0;
  if (!on) {
    if (board) board->Detach();
    return;
  }
  if (board && parent) {
    parent->AddChild(board);
    board->SetPositionXYZ(0, 0, 1.0f);
    board->Aim(parent, parent, kFacingView);
  }
  if (actor) actor->GetPosition(&position);
  // Set with or without a board, so that the finishing attack always comes.
  timer = kStopFrames;
}

void TimeStopState::Apply(TFrame8& object) const {
  if (stopped) object.SetPosition(position);
}

bool TimeStopState::CountDown() {
  timer = static_cast<int32_t>(static_cast<uint32_t>(timer) - 1);
  return timer == 0;
}

bool GetTimeStop() { return TimeStopState::Get().IsStopped(); }

void SetTimeStop(bool on, TFrame8* parent, const TFrame8* actor) { TimeStopState::Get().Set(on, parent, actor); }

void ApplyTimeStop(TFrame8& object) { TimeStopState::Get().Apply(object); }
