// Music streamed from an Ogg Vorbis file through a 256 KiB ring buffer of four segments. A
// worker thread refills the segment after the one the play cursor has just entered. A piece may
// have an intro, the same name with "_" in front: it plays once, then the main part plays and,
// with the loop flag, repeats from its start without a gap.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "common/TCountedPtr.h"
#include "platform/core/KernelObject.h"
#include "sound/TSound8.h"

class TOggStream8 : public TSound8 {
 public:
  static constexpr plat::DWORD kBufferSize = 0x40000;
  static constexpr plat::DWORD kSegmentSize = 0x10000;
  static constexpr plat::DWORD kSegments = 4;
  static constexpr plat::DWORD kNoEnd = 0xFFFF;

  // name is the file inside the owner's music folder. A file that is missing or no Ogg Vorbis
  // stream, or any device, event or thread failure, leaves the stream not ready.
  TOggStream8(const std::string& name, int32_t setId, TDSound8* owner);
  ~TOggStream8() override;

  plat::HRESULT Play() override;
  void Stop(bool rewind) override;
  void SetLoop(bool loop) override;
  void Rewind() override;
  int32_t GetVolume() override;
  int32_t GetPan() override;
  void SetPan(int32_t pan) override;
  void Close() override;

  bool HasIntro() const { return intro; }
  uint32_t GetMainLength() const { return mainLength; }
  uint32_t GetIntroLength() const { return introLength; }

  // Notifications the worker has acted on so far (those raised before a rewind are dropped and
  // not counted), and a bounded wait until it has acted on at least count of them (false on
  // time-out). Lets a caller that drives the mix keep in step with the worker.
  uint64_t GetHandledCount() const;
  bool WaitHandled(uint64_t count, plat::DWORD timeoutMs) const;

 protected:
  void ApplyVolume(int32_t v) override;

 private:
  struct Part;

  bool Build();
  bool OpenPart(const std::string& path, Part& part);
  bool CreateBuffer();
  bool CreateEvents();
  void Shutdown();

  plat::DWORD Run();
  void PlayLocked();
  void StopLocked(bool rewind);
  void FillSegment(plat::DWORD notification);
  void Produce(uint8_t* out, uint32_t bytes, plat::DWORD notification);
  bool NextPart(plat::DWORD notification, bool dataInSegment);
  uint32_t Decode(uint8_t* out, uint32_t bytes);
  Part& Current();
  void RewindCurrent();

  std::string name;
  bool intro = false;
  bool introDone = false;
  bool ended = false;  // the piece is over; later segments are silence until the stop
  bool fresh = false;  // rewound and not played since: the prefill may still be redone
  plat::HANDLE quitEvent = nullptr;
  plat::HANDLE runEvent = nullptr;
  plat::HANDLE thread = nullptr;
  plat::HANDLE segmentEvents[kSegments] = {};
  plat::HANDLE rewindEvent = nullptr;  // wakes the worker to forget what it was waiting for
  uint32_t mainLength = 0;
  uint32_t introLength = 0;
  uint32_t remaining = 0;
  uint32_t partLength = 0;
  plat::DWORD endIndex = kNoEnd;
  plat::DWORD fillTable[kSegments] = {};
  plat::WAVEFORMATEX format;
  TCountedPtr<plat::IDirectSoundBuffer8> buffer;
  TCountedPtr<plat::IDirectSoundNotify> notify;
  std::unique_ptr<Part> introPart;
  std::unique_ptr<Part> mainPart;

  // Serialises the worker's refills and end-of-piece stop with Play, Stop, SetLoop and Rewind.
  mutable std::mutex lock;
  mutable std::condition_variable handledChanged;
  uint64_t handled = 0;
  uint64_t epoch = 0;  // moves on at every rewind, so a refill asked for before it is dropped
};
