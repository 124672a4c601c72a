#include "game/script/TEventScene.h"

#include <cmath>
#include <numbers>

#include "common/TD3D8.h"
#include "common/TMesh8.h"
#include "common/TRenderModeTable.h"
#include "common/TVertexShader8.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/GameGlobals.h"
#include "game/field/TCamera.h"
#include "game/field/TFieldScene.h"
#include "game/script/TChange.h"
#include "game/script/TMessageWindow.h"
#include "game/script/TPBFlag.h"
#include "game/script/TScriptEngine.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kEffectSet = 0, kMusicSet = 2;
constexpr uint32_t kSetRenderMode = 2000, kFigureRenderMode = 2100;
constexpr uint32_t kMorphKind = 0x80000003u;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kTargetAndDepth = 3;
constexpr int32_t kAimCamera = 12, kAimFigure = 4;
constexpr float kNear = 0.1f, kFieldOfView = 45.0f;
constexpr float kScreenWidth = 640.0f, kScreenHeight = 480.0f;
// The flight: 70 per cent of the way from start to end over 1000 ticks, and its sky.
constexpr float kFlightShare = 0.7f;
constexpr int32_t kFlightFrames = 1000;
constexpr int32_t kPictureFadeFrames = 100;
constexpr int32_t kFromColour = 0x0F00;
constexpr uint32_t kSkyCameraType = 0;
// Each tick of a pan, in the frames' own space.
constexpr float kPanCameraRise = 0.009f, kPanTargetRise = 0.01f;
// The narration holds each wait for 31 ticks a pass; the shake of the first set.
constexpr int32_t kNarrationTicks = 30;
constexpr float kShakeHigh = 0.1f, kShakeLow = -0.1f;
constexpr int32_t kShakeFrames = 2, kShakeRepeats = 8;
constexpr int32_t kShakeSettleTicks = 50;
constexpr int32_t kClosingTicks = 200;

D3DXVECTOR3 Vector(const EventPoint& p) { return D3DXVECTOR3(p.x, p.y, p.z); }

TScriptEngine* Engine() { return TScriptEngine::Get(); }

}  // namespace

const TEventScene::StepKind TEventScene::kStepKinds[] = {
    {EventStep::FlightFadeIn, &TEventScene::FlightFadeIn, false},
    {EventStep::FlightWait, &TEventScene::FlightWait, false},
    {EventStep::FlightHold, &TEventScene::FlightHold, false},
    {EventStep::Narration, &TEventScene::Narration, false},
    {EventStep::NarrationPass, &TEventScene::NarrationPass, false},
    {EventStep::ShakeFadeIn, &TEventScene::ShakeFadeIn, true},
    {EventStep::SetSwap, &TEventScene::SetSwap, true},
    {EventStep::BlackPause, &TEventScene::BlackPause, true},
    {EventStep::FadeIn, &TEventScene::FadeIn, true},
    {EventStep::Release, &TEventScene::Release, false},
    {EventStep::Clips, &TEventScene::Clips, false},
    {EventStep::ClosingWait, &TEventScene::ClosingWait, false},
    {EventStep::Pause, &TEventScene::Pause, false},
    {EventStep::WaitedPause, &TEventScene::WaitedPause, false},
    {EventStep::LastClip, &TEventScene::LastClip, false},
    {EventStep::Pan, &TEventScene::Pan, false},
    {EventStep::ScriptEnd, &TEventScene::ScriptEnd, false},
    {EventStep::FadeOut, &TEventScene::FadeOut, true},
    {EventStep::Leave, &TEventScene::Leave, true},
    {EventStep::Skip, &TEventScene::Skip, true},
};

const TEventScene::StepKind& TEventScene::KindOf(EventStep kind) {
  for (const StepKind& k : kStepKinds)
    if (k.kind == kind) return k;
  return KindOf(EventStep::Leave);
}

TEventScene::TEventScene(TGameWnd& app, const EventRow& eventRow)
    : TStateScene(app),
      row(eventRow),
      current(row.steps.empty() ? EventStepRow{EventStep::Leave} : row.steps.front()),
      frames{{"Scene", CreateNamedFrame("Scene", IdentityMatrix())}},
      scene(frames.front().second.Get()),
      effects(TDSound8::Get().Find(kEffectSet), GetDataFolder() + "subset/event_se.tbl"),
      musics(TDSound8::Get().Find(kMusicSet), GetDataFolder() + "subset/event_bgm.tbl"),
      overlay(LoadSprite("", plat::D3DPOOL_MANAGED, 0)) {
  for (const EventFrameRow& f : row.frames) frames.emplace_back(f.name, CreateNamedFrame(f.name, IdentityMatrix()));
  alpha.Set(1.0f, 0.0f, kOverlayFrames, 0);
  shake.Set(kShakeHigh, kShakeLow, kShakeFrames, kShakeRepeats, true);
  path.Set(0.0f, kFlightShare, kFlightFrames, 0);
  if (row.colourFade) fade.emplace(kPictureFadeFrames, TColorFade::kBlack, kFromColour);
  overlay.SetColor(kBlack, -1);

  if (d3d) d3d->SetFog(row.fog.on, row.fog.start, row.fog.end, row.fog.colour);
  // The back buffer's aspect; a device not made yet counts as 640x480.
  const int32_t width = d3d && d3d->GetWidth() ? static_cast<int32_t>(d3d->GetWidth()) : 640;
  const int32_t height = d3d && d3d->GetHeight() ? static_cast<int32_t>(d3d->GetHeight()) : 480;
  view.SetProjection(kNear, row.farDistance, kFieldOfView, width, height);

  BuildFrames();
  LoadSetMeshes();
  LoadActors();
  if (row.flight) StartFlight();
  StartScript();
  FindActorMeshes();
  if (TSoundSet8* set = musics.GetSoundSet()) set->Play(row.music);
  if (row.flight) Paint();
  SetUpdate(&TEventScene::Update);
  SetDraw(&TEventScene::Paint);
}

TEventScene::~TEventScene() = default;

TCountedPtr<TFrame8> TEventScene::SharedFrame(const std::string& name) const {
  for (const auto& [frameName, frame] : frames)
    if (frameName == name) return frame;
  for (const Actor& actor : actors)
    if (actor.frame->GetName() == name) return actor.frame;
  return TCountedPtr<TFrame8>();
}

TFrame8* TEventScene::FindFrame(const std::string& name) const { return SharedFrame(name).Get(); }

TMesh8* TEventScene::FindActor(const std::string& name) const {
  for (size_t i = 0; i < actors.size(); ++i)
    if (row.actors[i].name == name) return actors[i].mesh;
  return nullptr;
}

uint32_t TEventScene::GetOverlayColour() const { return overlay.vertices[0].diffuse; }

// A map camera, when the row has one, is built first and its frame is the camera frame.
void TEventScene::BuildFrames() {
  if (row.skyCamera) camera = MakeSkyCamera(FindFrame("CameraTarget"));
  for (const EventFrameRow& f : row.frames) {
    TCountedPtr<TFrame8> frame = SharedFrame(f.name);
    frame->SetPositionXYZ(f.at.x, f.at.y, f.at.z);
    if (f.parent)
      if (TFrame8* parent = FindFrame(f.parent)) parent->AddChild(frame);
  }
  if (!camera) camera = FindFrame("Camera");
  cameraTarget = FindFrame("CameraTarget");
  if (!row.skyCamera) return;
  camera->SetPosition(Vector(*row.skyCamera));
  Aim();
}

TFrame8* TEventScene::MakeSkyCamera(TFrame8* target) {
  skyCamera = std::make_unique<TCamera>(kSkyCameraType, scene, target, &view);
  // Off the view axis and fogged as a map's sky, white, slowly scrolling, in the dome's own colours.
  skyCamera->CreateSky(30.0f, 0.0f, 30.0f, 0.0f, 0xFFFFFFFFu, 0.02f, 0.02f, 0.0002f, 0.0002f, "");
  return skyCamera->GetFrame();
}

void TEventScene::LoadSetMeshes() {
  for (const EventMeshRow& m : row.meshes) {
    TMesh8 mesh = TMesh8::Load(m.file);
    if (m.windowFacesLast) MoveWindowFacesLast(mesh);
    if (m.look == EventLook::Set) {
      mesh.SetRenderMode(kSetRenderMode, TMesh8::kAllParts);
      mesh.SetShader(TCountedPtr<TShaderBase8>(new TVertexColorShader8));
    } else {
      mesh.SetRenderMode(kFigureRenderMode, TMesh8::kAllParts);
      mesh.SetShader(TCountedPtr<TShaderBase8>(new TConstColorShader8));
    }
    if (TFrame8* frame = FindFrame(m.frame)) frame->AddMesh(mesh);
  }
}

void TEventScene::LoadActors() {
  for (const EventActorRow& a : row.actors) {
    TMesh8 mesh = TMesh8::Load(a.model);
    if (a.windowFacesLast) MoveWindowFacesLast(mesh);
    mesh.SetName(a.name);
    mesh.SetRenderMode(kFigureRenderMode, TMesh8::kAllParts);
    mesh.SetShader(TCountedPtr<TShaderBase8>(new TConstColorMorphShader8(kMorphKind)));
    mesh.SetMotion(0);
    TCountedPtr<TFrame8> frame = CreateNamedFrame(a.frame, IdentityMatrix());
    frame->AddMesh(mesh);
    if (TFrame8* parent = FindFrame(a.parent)) parent->AddChild(frame);
    frame->SetPositionXYZ(a.at.x, a.at.y, a.at.z);
    if (a.turn != 0) frame->RotateAxis(D3DXVECTOR3(0, 1, 0), a.turn, true);
    if (a.move.x != 0 || a.move.y != 0 || a.move.z != 0) frame->Translate(a.move.x, a.move.y, a.move.z, true);
    actors.push_back({frame, nullptr});
  }
  // Turned once all stand where they stand, as two of them face each other.
  for (size_t i = 0; i < actors.size(); ++i) {
    const EventActorRow& a = row.actors[i];
    if (!a.facing) continue;
    actors[i].frame->Aim(scene, FindFrame(a.facing), kAimFigure);
    actors[i].frame->RotateAxis(D3DXVECTOR3(0, 1, 0), std::numbers::pi_v<float>, true);
  }
}

// Each actor's instance, its start in its clip, and the order the motions step in, the lead last.
void TEventScene::FindActorMeshes() {
  for (size_t i = 0; i < actors.size(); ++i) {
    const EventActorRow& a = row.actors[i];
    TMesh8* mesh = actors[i].mesh = actors[i].frame->FindMesh(a.name, false);
    if (mesh && a.motionTime != 0) mesh->SetMotionTime(a.motionTime);
    if (row.lead && std::string(row.lead) == a.name) lead = mesh;
    if (row.stepping.empty() && mesh) stepped.push_back(mesh);
  }
  for (const char* name : row.stepping)
    if (TMesh8* mesh = FindActor(name)) stepped.push_back(mesh);
}

void TEventScene::StartFlight() {
  MakeSkyCamera(FindFrame("Target"))->SetPosition(Vector(row.flight->start));
  skyCamera->Update();
}

void TEventScene::StartScript() {
  TScriptEngine::Create();
  TScriptEngine& engine = *Engine();
  engine.AddObject(new TMessageWindow(input));
  engine.AddObject(new TPBFlag(&app));
  engine.LoadScript(row.script);
}

// ---- The tick and the picture -------------------------------------------------------------------

// B starts the skip in any step but the skip and the leaving, so that a B held to the end cannot
// keep the event from leaving.
SceneResult TEventScene::Update() {
  const bool skippable = current.kind != EventStep::Skip && current.kind != EventStep::Leave;
  if (skippable && input && (input->GetButtons(0) & kButtonB)) BeginSkip();
  switch ((this->*KindOf(current.kind).run)(current.value)) {
    case StepEnd::kNext:
      if (at + 1 < row.steps.size()) current = row.steps[++at];
      break;
    case StepEnd::kBack:
      if (at > 0) current = row.steps[--at];
      break;
    case StepEnd::kFinished: return kSceneFinished;
    case StepEnd::kStay: break;
  }
  return kSceneRunning;
}

void TEventScene::BeginSkip() {
  music.Reset();
  if (TSoundSet8* set = musics.GetSoundSet())
    music = TDSound8::Get().CreateHandle(set->GetSound(row.music), false, 1.0f, kSkipMusicFrames);
  if (!fade) alpha.Set(1.0f, 0.0f, kSkipOverlayFrames, 0);
  current = {EventStep::Skip};
}

void TEventScene::Paint() {
  if (!d3d || !d3d->CheckDevice()) return;
  if (skyCamera) skyCamera->UpdateSky();
  TD3D8::Clear(row.clearColour, kTargetAndDepth, 1.0f, 0, 0, nullptr);
  if (TD3D8::BeginScene() < 0) return;
  scene->Draw(view, IdentityMatrix());
  TRenderModeTable::FlushAll();
  if (TScriptEngine* engine = Engine()) engine->DrawObjects();
  const bool overlaid = KindOf(current.kind).overlay;
  if (fade && (row.flight || overlaid)) {
    TSprite8::SetBlendMode(1);
    fade->Draw(0, 0, kScreenWidth, kScreenHeight);
  } else if (!fade && overlaid) {
    TSprite8::SetBlendMode(1);
    overlay.DrawRect(0, 0, kScreenWidth, kScreenHeight, false);
  }
  TD3D8::EndScene();
  d3d->Present();
}

// ---- Shared pieces ------------------------------------------------------------------------------

// The message window animates only while the script waits.
void TEventScene::RunScript() {
  TScriptEngine* engine = Engine();
  if (engine && (engine->Run() & 1)) engine->UpdateObjects();
}

bool TEventScene::Waiting() const { return Engine() && Engine()->IsWaiting(); }

void TEventScene::ReleaseWait() {
  if (TScriptEngine* engine = Engine()) engine->SetWaiting(false);
}

void TEventScene::Aim() {
  if (!camera || !cameraTarget) return;
  camera->Aim(scene, cameraTarget, kAimCamera);
  view.SetViewFromFrame(*camera);
}

void TEventScene::PaintOverlay() {
  overlay.SetColor(static_cast<uint32_t>(static_cast<int32_t>(alpha.value * 255.0f)) << 24, -1);
}

bool TEventScene::PictureForward() {
  if (fade) return fade->Step();
  if (row.paintsBeforeStep) {
    PaintOverlay();
    return alpha.Forward();
  }
  alpha.Forward();
  PaintOverlay();
  return alpha.step < alpha.frames;
}

bool TEventScene::PictureBack() {
  if (fade) return fade->StepBack();
  if (row.paintsBeforeStep) {
    PaintOverlay();
    return alpha.Backward();
  }
  alpha.Backward();
  PaintOverlay();
  return alpha.step > 0;
}

bool TEventScene::AdvanceActors(bool loop) {
  bool ended = false;
  for (TMesh8* mesh : stepped) {
    const bool running = mesh->StepMotion(loop);
    if (mesh == lead) ended = !running;
  }
  leadEnded = ended;
  return ended;
}

void TEventScene::StartClip(uint32_t index) {
  for (const Actor& actor : actors)
    if (actor.mesh) actor.mesh->SetMotion(index);
}

// The camera one tick along its way, looking at the point above "Target".
void TEventScene::Fly() {
  const D3DXVECTOR3 start = Vector(row.flight->start), end = Vector(row.flight->end);
  const float t = path.value;
  skyCamera->GetFrame()->SetPosition(
      D3DXVECTOR3(start.x + (end.x - start.x) * t, start.y + (end.y - start.y) * t, start.z + (end.z - start.z) * t));
  skyCamera->Update();
  path.Forward();
}

// ---- The steps ----------------------------------------------------------------------------------

TEventScene::StepEnd TEventScene::FlightFadeIn(int32_t value) {
  Fly();
  fade->Step();
  return path.step >= value ? StepEnd::kNext : StepEnd::kStay;
}

TEventScene::StepEnd TEventScene::FlightWait(int32_t value) {
  Fly();
  RunScript();
  if (!Waiting() || path.step < value) return StepEnd::kStay;
  ReleaseWait();
  return StepEnd::kNext;
}

TEventScene::StepEnd TEventScene::FlightHold(int32_t value) {
  Fly();
  RunScript();
  return Waiting() && path.step >= value ? StepEnd::kNext : StepEnd::kStay;
}

TEventScene::StepEnd TEventScene::Narration(int32_t) {
  RunScript();
  if (!Waiting() || ++counter <= kNarrationTicks) return StepEnd::kStay;
  counter = 0;
  ReleaseWait();
  return StepEnd::kNext;
}

// Each pass holds the wait reached in it for 31 ticks more and lets Narration release it.
TEventScene::StepEnd TEventScene::NarrationPass(int32_t value) {
  RunScript();
  if (!Waiting() || ++counter <= kNarrationTicks) return StepEnd::kStay;
  counter = 0;
  if (++passes < value) return StepEnd::kBack;
  passes = 0;
  ReleaseWait();
  Aim();
  if (TCountedPtr<TFrame8> before = SharedFrame("BeforeScene")) scene->AddChild(before);
  return StepEnd::kNext;
}

// The first set shakes in: the target's height follows the shake while the overlay clears.
TEventScene::StepEnd TEventScene::ShakeFadeIn(int32_t) {
  shake.Step();
  D3DXVECTOR3 target;
  cameraTarget->GetPosition(&target);
  cameraTarget->SetPositionXYZ(target.x, shake.Value(), target.z);
  Aim();
  RunScript();
  alpha.Forward();
  PaintOverlay();
  const bool settled = alpha.step >= alpha.frames && shake.repeatsDone >= shake.repeatCount;
  if (!Waiting() || !settled) return StepEnd::kStay;
  if (counter == 0)
    if (TSoundSet8* set = effects.GetSoundSet()) set->Play(kNarrationSound);
  if (++counter <= kShakeSettleTicks) return StepEnd::kStay;
  ReleaseWait();
  return StepEnd::kNext;
}

// Back to black; there the second set replaces the first and the camera moves. The wait stays for
// the steps after the black pause.
TEventScene::StepEnd TEventScene::SetSwap(int32_t) {
  Aim();
  RunScript();
  alpha.Backward();
  PaintOverlay();
  if (alpha.step != 0 || !Waiting()) return StepEnd::kStay;
  counter = 0;
  alpha.Set(1.0f, 0.0f, kSkipOverlayFrames, 0);
  if (TFrame8* before = FindFrame("BeforeScene")) before->Detach();
  if (TCountedPtr<TFrame8> after = SharedFrame("AfterScene")) scene->AddChild(after);
  camera->SetPosition(Vector(row.swapCamera));
  cameraTarget->SetPosition(Vector(row.swapTarget));
  return StepEnd::kNext;
}

TEventScene::StepEnd TEventScene::BlackPause(int32_t value) {
  return ++counter > value ? StepEnd::kNext : StepEnd::kStay;
}

// The script does not run while the overlay clears.
TEventScene::StepEnd TEventScene::FadeIn(int32_t value) {
  Aim();
  if (PictureForward()) return StepEnd::kStay;
  if (value) StartClip(0);
  return StepEnd::kNext;
}

TEventScene::StepEnd TEventScene::Release(int32_t) {
  Aim();
  RunScript();
  if (!Waiting()) return StepEnd::kStay;
  ReleaseWait();
  return StepEnd::kNext;
}

// Clip step k: once the lead's clip has ended and the script waits, every actor starts clip k. The
// other actors' clips are not waited for.
TEventScene::StepEnd TEventScene::Clips(int32_t value) {
  Aim();
  RunScript();
  AdvanceActors(false);
  if (!leadEnded || !Waiting()) return StepEnd::kStay;
  StartClip(static_cast<uint32_t>(clip));
  ReleaseWait();
  return ++clip > value ? StepEnd::kNext : StepEnd::kStay;
}

// Goes on with the count where a pause before left it.
TEventScene::StepEnd TEventScene::ClosingWait(int32_t) {
  Aim();
  RunScript();
  AdvanceActors(false);
  if (!leadEnded || !Waiting() || ++counter <= kClosingTicks) return StepEnd::kStay;
  ReleaseWait();
  return StepEnd::kNext;
}

// The count goes on whether the script waits or not, so a wait reached late is released at once.
TEventScene::StepEnd TEventScene::Pause(int32_t value) {
  Aim();
  RunScript();
  AdvanceActors(true);
  ++counter;
  if (counter <= value || !Waiting()) return StepEnd::kStay;
  counter = 0;
  ReleaseWait();
  return StepEnd::kNext;
}

TEventScene::StepEnd TEventScene::WaitedPause(int32_t value) {
  Aim();
  RunScript();
  AdvanceActors(true);
  if (!Waiting() || ++counter <= value) return StepEnd::kStay;
  counter = 0;
  ReleaseWait();
  return StepEnd::kNext;
}

TEventScene::StepEnd TEventScene::LastClip(int32_t) {
  Aim();
  RunScript();
  AdvanceActors(false);
  if (!leadEnded || !Waiting()) return StepEnd::kStay;
  counter = 0;
  ReleaseWait();
  return StepEnd::kNext;
}

// The camera rises more slowly than its target, so it looks up and away. Both move in their own
// space.
void TEventScene::PanCamera() {
  if (camera && cameraTarget) {
    camera->Translate(0.0f, kPanCameraRise, 0.0f, true);
    cameraTarget->Translate(0.0f, kPanTargetRise, 0.0f, true);
  }
  Aim();
}

TEventScene::StepEnd TEventScene::Pan(int32_t value) {
  PanCamera();
  const uint8_t flags = current.flags;
  if (flags & EventStepRow::kRunsScript) RunScript();
  if (!(flags & EventStepRow::kCountsWaiting) || Waiting()) ++counter;
  if (counter <= value) return StepEnd::kStay;
  counter = 0;
  if (flags & EventStepRow::kReleases) ReleaseWait();
  return StepEnd::kNext;
}

TEventScene::StepEnd TEventScene::ScriptEnd(int32_t) {
  TScriptEngine* engine = Engine();
  if (!engine || !(engine->Run() & 1)) return StepEnd::kNext;
  engine->UpdateObjects();
  return StepEnd::kStay;
}

TEventScene::StepEnd TEventScene::FadeOut(int32_t value) {
  if (current.flags & EventStepRow::kPanning) PanCamera();
  const bool musicFading = value == EventStepRow::kWithMusic && MusicFading();
  const bool pictureFading = PictureBack();
  return musicFading || pictureFading ? StepEnd::kStay : StepEnd::kNext;
}

// A change to another event keeps the music (one more reference, which the change drops); the field
// comes after the engine has gone, as the field starts engines of its own.
TEventScene::StepEnd TEventScene::Leave(int32_t) {
  const EventSuccessor& next = row.next;
  if (next.change) {
    const EventSuccessor::Change& c = *next.change;
    if (TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(kMusicSet)) set->Load(c.keptMusic);
    app.PushScene(TChange::CreateEvent(app, c.fadeKind, c.direction, c.eventId, c.keptMusic));
    TScriptEngine::Destroy();
    return StepEnd::kFinished;
  }
  TScriptEngine::Destroy();
  if (next.field) {
    std::vector<D3DXVECTOR3> v;
    if (next.field->vectors)
      for (const EventPoint& p : *next.field->vectors) v.push_back(Vector(p));
    const bool given = v.size() == 3;
    app.PushScene(TFieldScene::CreateForMap(app, next.field->map, given ? &v[0] : nullptr, given ? &v[1] : nullptr,
                                            given ? &v[2] : nullptr));
  }
  return StepEnd::kFinished;
}

bool TEventScene::MusicFading() { return music && music->Fade(); }

TEventScene::StepEnd TEventScene::Skip(int32_t) {
  const bool musicFading = MusicFading();
  const bool pictureFading = PictureBack();
  if (musicFading || pictureFading) return StepEnd::kStay;
  if (music) music->Stop(true);
  music.Reset();
  current = {EventStep::Leave};
  return StepEnd::kStay;
}
