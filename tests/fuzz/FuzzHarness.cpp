#include "tests/fuzz/FuzzHarness.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TFrame8.h"
#include "common/TRenderModeTable.h"
#include "common/TSprite8.h"
#include "common/TView8.h"
#include "game/shell/TBasicD3DDeviceBuilder.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Path.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/window/WindowBackend.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundHandle8.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/SampleSettings.h"

namespace fuzz {

namespace {

std::map<std::string, Target>& Registry() {
  static std::map<std::string, Target> targets;
  return targets;
}

// Everything here lives until the process ends and is never destroyed: the game's own singletons
// hold on to it, and their teardown order at exit is not ours to know.
struct Platform {
  testkit::TempDir* dir = new testkit::TempDir;
  plat::VirtualClock clock;
  plat::ScriptedMessageBoxes boxes;
  plat::HeadlessBackend window;
  plat::HeadlessSoundOutput sound;
  std::shared_ptr<plat::RecordingRenderer> renderer = std::make_shared<plat::RecordingRenderer>();
  bool deviceUp = false;
  bool soundUp = false;
};

Platform& P() {
  static Platform* platform = [] {
    auto* p = new Platform;
    if (::chdir(p->dir->path().c_str()) != 0) std::abort();
    ::setenv("XDG_RUNTIME_DIR", p->dir->path().c_str(), 1);
    plat::SetClock(&p->clock);
    plat::SetMessageBoxHandler(&p->boxes);
    plat::SetModuleFileNameOverride(p->dir->path() + "/duskwheel");
    plat::SetWindowBackend(&p->window);
    plat::SetSoundOutput(&p->sound);
    plat::SetRendererFactory([r = p->renderer] { return r; });
    TDeviceHooks::Get() = TDeviceHooks::Real();
    my_error::SetLogOptions("", 4096, "ErrorLog.txt", 0);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::current_path("/", ec);
      std::filesystem::remove_all(P().dir->path(), ec);
    });
    return p;
  }();
  return *platform;
}

}  // namespace

bool Register(const char* name, Target target) {
  Registry()[name] = target;
  return true;
}

Target Find(const std::string& name) {
  auto found = Registry().find(name);
  return found == Registry().end() ? nullptr : found->second;
}

std::vector<std::string> TargetNames() {
  std::vector<std::string> names;
  for (const auto& [name, target] : Registry()) names.push_back(name);
  return names;
}

const std::string& Folder() { return P().dir->path(); }

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  Folder();
  const std::filesystem::path full(path);
  if (full.has_parent_path()) std::filesystem::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteFile(path, bytes.data(), bytes.size());
}

std::vector<std::string> PackNames(const uint8_t* data, size_t size, size_t limit) {
  std::vector<std::string> names;
  auto u32 = [&](size_t at, uint32_t& v) {
    if (at + 4 > size) return false;
    std::memcpy(&v, data + at, 4);
    return true;
  };
  uint32_t count = 0;
  size_t at = 0;
  if (!u32(at, count)) return names;
  at += 4;
  for (uint32_t i = 0; i < count && names.size() < limit; ++i) {
    uint32_t length = 0;
    if (!u32(at, length) || length > size - at - 4) break;
    std::string name(reinterpret_cast<const char*>(data + at + 4), length);
    names.push_back(name.substr(0, name.find('\0')));
    at += 4 + length + 4;
  }
  return names;
}

plat::VirtualClock& Clock() { return P().clock; }
plat::RecordingRenderer& Renderer() { return *P().renderer; }
plat::HeadlessSoundOutput& SoundOutput() { return P().sound; }

bool StartDevice(const std::string& settingsPath) {
  Platform& p = P();
  TCountedPtr<TD3DDeviceBuilder8> builder(new TBasicD3DDeviceBuilder(nullptr, settingsPath));
  p.deviceUp = TD3D8::Instance()->Init(builder, 220, "DeviceLog.txt", "InitLog.txt");
  if (p.deviceUp)
    TSprite8::SetScreenSize(640, 480, static_cast<int>(TD3D8::Instance()->GetWidth()),
                            static_cast<int>(TD3D8::Instance()->GetHeight()));
  return p.deviceUp;
}

void StopDevice() {
  TD3D8::Instance()->Cleanup();
  P().deviceUp = false;
}

void EnsureDevice(bool vertexShaders) {
  if (P().deviceUp) return;
  plat::AdapterTable table = plat::DefaultAdapterTable();
  if (!vertexShaders) table.adapters[0].vertexShaderVersion = 0;
  plat::SetAdapterTable(table);
  datakit::SampleSettingIni().Save(Folder() + "/setting.ini");
  if (!StartDevice("./setting.ini")) std::abort();
}

void DrawScene(TFrame8& subject) {
  TCountedPtr<TFrame8> root = CreateNamedFrame("Root", IdentityMatrix());
  TCountedPtr<TFrame8> camera = CreateNamedFrame("Camera", IdentityMatrix());
  root->AddChild(camera);
  camera->SetPositionXYZ(0, 2, -8);
  camera->AimAtPoint(root.Get(), plat::D3DXVECTOR3(0, 0, 0), 12);
  TView8 view;
  view.SetProjection(0.1f, 200.0f, 45.0f, 640, 480);
  view.SetViewFromFrame(*camera);
  TD3D8::Clear(0xFF000000, plat::D3DCLEAR_TARGET | plat::D3DCLEAR_ZBUFFER, 1.0f, 0, 0, nullptr);
  if (TD3D8::BeginScene() >= 0) {
    subject.Draw(view, IdentityMatrix());
    TRenderModeTable::FlushAll();
    TD3D8::EndScene();
  }
  TD3D8::Instance()->Present();
}

void EnsureSound() {
  Platform& p = P();
  if (p.soundUp) return;
  TDSound8::Get().Init(nullptr);
  p.soundUp = true;
}

void Mix(size_t frames) {
  for (size_t done = 0; done < frames; done += 4096) P().sound.Render(std::min<size_t>(4096, frames - done));
}

void PlayThrough(const TCountedPtr<TSound8>& sound, size_t framesPerStep) {
  if (!sound || !sound->IsReady()) return;
  sound->Play();
  Mix(framesPerStep);
  TSoundHandle8 fade(sound, false, 1.0f, 4);
  while (!fade.IsDone() && fade.Fade()) Mix(framesPerStep / 4);
  sound->Stop(true);
  sound->SetLoop(true);
  sound->SetVolume(-2000);
  sound->SetPan(-3000);
  sound->Play();
  Mix(framesPerStep);
  sound->GetLength();
  sound->Stop(false);
  sound->Rewind();
}

void ForgetRecords() {
  P().renderer->ClearLog();
  P().boxes.calls.clear();
}

}  // namespace fuzz
