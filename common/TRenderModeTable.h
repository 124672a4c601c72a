// Deferred 3D drawing: every mesh part is queued under its render-mode code, and the table
// flushes the modes in ascending code order, each applying its recorded states and drawing its
// queue sorted by draw order and depth (neighbours that draw alike joined into one draw).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "common/TDrawBatch8.h"
#include "common/TDrawItem8.h"

// A mode object with its recorded device state block; the base ignores everything.
class TStateBlock8 {
 public:
  static constexpr uint32_t kNoBlock = 0xFFFFFFFFu;

  virtual void Add(const plat::D3DMATRIX& matrix, TView8* view, uint32_t part, TMesh8* mesh);
  virtual void Flush();
  virtual ~TStateBlock8() = 0;
  virtual void Begin();
  virtual void Clear();
  virtual void DrawQueue();
  virtual void SetStates();

  // Records the device defaults plus this mode's states into a new block.
  void Record();
  void ReleaseBlock();
  uint32_t GetBlock() const { return block; }

 protected:
  uint32_t block = kNoBlock;
};

// Code 0, "HIDE": parts in it are never drawn.
class THideMode8 : public TStateBlock8 {
 public:
  ~THideMode8() override;
};

class TRenderMode8 : public TStateBlock8 {
 public:
  struct States {
    uint32_t zEnable, zWriteEnable, alphaBlendEnable, cullMode, fogEnable, srcBlend, destBlend;
  };

  TRenderMode8(uint8_t sortFlag, const States& states);
  ~TRenderMode8() override;

  void Add(const plat::D3DMATRIX& matrix, TView8* view, uint32_t part, TMesh8* mesh) override;
  void Flush() override;
  void Begin() override;
  void Clear() override;
  void DrawQueue() override;
  void SetStates() override;

  const std::vector<TDrawItem8>& Queue() const { return queue; }

 private:
  uint8_t sortFlag;  // 1: opaque ordering (depth descending within an order key)
  States states;
  std::vector<TDrawItem8> queue;
  TDrawBatch8 batch;  // kept for its buffers' sake
};

class TRenderModeTable {
 public:
  static void Create();
  static void Destroy();
  static void ReleaseModes();
  static void Restore();
  // The mode of a code; a code outside the table draws as "HIDE" and enters nothing.
  static TStateBlock8* Find(uint16_t code);
  static void FlushAll();
  // The code of a name ("OPAQUE", "REND03", "DEFAULT"); false for an unknown name.
  static bool FindCode(const std::string& name, uint16_t& code);

  static bool Exists();
  static std::vector<uint16_t> Codes();
  static size_t NameCount();

 private:
  void CreateModes();
  void Register(uint16_t code, TStateBlock8* mode);
  void RegisterNames();

  std::map<uint16_t, TCountedPtr<TStateBlock8>> modes;
  std::map<std::string, uint16_t> names;
};
