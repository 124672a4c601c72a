// A device on the recording renderer, the mesh and frame folders of a game folder in a temporary
// directory with the sample effect meshes and frames, and the effect folder "effect/" as start-up
// sets it. ProbeEffect is an effect class that writes what is done to it into a shared journal.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/TFrame8.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/TEffect.h"
#include "tests/common/MeshFixture.h"
#include "tools/datakit/SampleFrames.h"
#include "tools/datakit/SampleMeshes.h"

namespace effecttest {

using Journal = std::vector<std::string>;

class ProbeEffect : public TEffect {
 public:
  // Finished after `lifetime` updates (never for -1), or once killed.
  ProbeEffect(std::shared_ptr<Journal> journal, std::string name, int lifetime = -1)
      : TEffect(TCountedPtr<TFrame8>()), journal_(std::move(journal)), name_(std::move(name)), lifetime_(lifetime) {}
  ~ProbeEffect() override { Note("destroyed"); }

  bool Update() override {
    ++updates_;
    Note("update");
    if (onUpdate) onUpdate(*this);
    return alive && (lifetime_ < 0 || updates_ < lifetime_);
  }
  void Init(int32_t newId, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& c) override {
    TEffect::Init(newId, position, lookAt, parent, stage, c);
    Note("init");
  }
  void Detach() override {
    Note("detach");
    TEffect::Detach();
  }
  void SetScale(const plat::D3DXVECTOR3&) override { Note("scale"); }
  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new ProbeEffect(*this)); }

  // Called inside every Update.
  std::function<void(ProbeEffect&)> onUpdate;

 private:
  ProbeEffect(const ProbeEffect& other) = default;
  void Note(const std::string& what) {
    journal_->push_back(name_ + (id >= 0 ? "#" + std::to_string(id) : "") + " " + what);
  }

  std::shared_ptr<Journal> journal_;
  std::string name_;
  int lifetime_;
  int updates_ = 0;
};

class EffectFixture : public testkit::MeshFixture {
 protected:
  void SetUp() override {
    MeshFixture::SetUp();
    TMesh8::SetFolder(dir.path() + "/data/msh03/");
    TFrame8::SetFolder(dir.path() + "/data/frm03/");
    SetEffectFolder("effect/");
    datakit::WriteSampleEffectMeshes(dir.path() + "/data/msh03/");
    datakit::WriteSampleFrames(dir.path() + "/data/frm03/");
  }
  void TearDown() override {
    SetEffectFolder("");
    TFrame8::SetFolder("");
    MeshFixture::TearDown();
  }

  static plat::D3DXMATRIX IdentityMatrix() {
    plat::D3DXMATRIX m;
    return *plat::D3DXMatrixIdentity(&m);
  }
};

}  // namespace effecttest
