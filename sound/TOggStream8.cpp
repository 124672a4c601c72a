#define OV_EXCLUDE_STATIC_CALLBACKS
#include "sound/TOggStream8.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "common/TFile.h"
#include "platform/core/Path.h"
#include "platform/core/Sync.h"
#include "sound/TDSound8.h"

namespace {

constexpr plat::DWORD kStreamFlags = plat::DSBCAPS_GETCURRENTPOSITION2 | plat::DSBCAPS_GLOBALFOCUS |
                                     plat::DSBCAPS_CTRLPOSITIONNOTIFY | plat::DSBCAPS_CTRLVOLUME |
                                     plat::DSBCAPS_CTRLPAN | plat::DSBCAPS_LOCSOFTWARE;
// A hole in the data (lost or damaged pages) is skipped this many times in one decode before the
// part is taken as ended.
constexpr int kHoleRetries = 16;

}  // namespace

struct TOggStream8::Part {
  OggVorbis_File file{};
  bool open = false;
  uint32_t length = 0;  // bytes: frames x 2 x channels
  int channels = 0;
  long rate = 0;
};

TOggStream8::TOggStream8(const std::string& name, int32_t setId, TDSound8* owner)
    : TSound8(setId, owner), name(name), introPart(new Part), mainPart(new Part) {
  std::lock_guard<std::mutex> guard(lock);
  bool built = false;
  try {
    built = Build();
  } catch (...) {
    // nothing leaves the constructor: the stream simply is not ready
  }
  if (built)
    state = kStopped;
  else
    Shutdown();
}

TOggStream8::~TOggStream8() { Shutdown(); }

void TOggStream8::Close() { Shutdown(); }

bool TOggStream8::Build() {
  std::string mainPath = owner->GetBgmFolder();
  std::string introPath = mainPath + "_";
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && name.compare(dot, std::string::npos, ".ogg") == 0) {
    mainPath += name;
    introPath += name;
  }
  {
    TFile probe;
    intro = probe.Open(true, plat::GENERIC_READ, introPath);
  }

  if (!OpenPart(mainPath, *mainPart)) return false;
  mainLength = remaining = partLength = mainPart->length;
  if (intro) {
    if (!OpenPart(introPath, *introPart)) return false;
    // The intro is decoded into the main part's format; another layout would be noise.
    if (introPart->channels != mainPart->channels || introPart->rate != mainPart->rate) return false;
    introLength = remaining = partLength = introPart->length;
  }

  format.wFormatTag = plat::WAVE_FORMAT_PCM;
  format.nChannels = static_cast<plat::WORD>(mainPart->channels);
  format.nSamplesPerSec = static_cast<plat::DWORD>(mainPart->rate);
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<plat::WORD>(2 * mainPart->channels);
  format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
  if (!CreateBuffer() || !CreateEvents()) return false;

  plat::DSBPOSITIONNOTIFY positions[kSegments];
  for (plat::DWORD i = 0; i < kSegments; ++i) {
    positions[i] = {i * kSegmentSize, segmentEvents[i]};
    fillTable[i] = (i + 1) % kSegments * kSegmentSize;
  }
  if (plat::FAILED(notify->SetNotificationPositions(kSegments, positions))) return false;
  FillSegment(kSegments - 1);
  fresh = true;

  uint64_t total = uint64_t{introLength} + mainLength;
  length = LengthInMs(total, format.nAvgBytesPerSec);
  thread = plat::CreateThread([this] {
    try {
      return Run();
    } catch (...) {
      return plat::DWORD{0};
    }
  });
  return thread != nullptr;
}

bool TOggStream8::OpenPart(const std::string& path, Part& part) {
  FILE* f = std::fopen(plat::ResolvePath(path).c_str(), "rb");
  if (!f) return false;
  if (ov_open(f, &part.file, nullptr, 0) < 0) {
    std::fclose(f);  // a failed open leaves the file to us
    return false;
  }
  part.open = true;
  vorbis_info* info = ov_info(&part.file, -1);
  ogg_int64_t frames = ov_pcm_total(&part.file, -1);
  if (!info || info->channels < 1 || frames <= 0) return false;
  int64_t bytes = frames * 2 * info->channels;
  if (bytes > INT32_MAX) return false;
  part.length = static_cast<uint32_t>(bytes);
  part.channels = info->channels;
  part.rate = info->rate;
  return true;
}

bool TOggStream8::CreateBuffer() {
  plat::IDirectSound8* ds = owner->GetDirectSound();
  if (!ds) return false;
  plat::DSBUFFERDESC desc;
  desc.dwFlags = kStreamFlags;
  desc.dwBufferBytes = kBufferSize;
  desc.lpwfxFormat = &format;
  plat::IDirectSoundBuffer* created = nullptr;
  if (plat::FAILED(ds->CreateSoundBuffer(&desc, &created, nullptr))) return false;
  TCountedPtr<plat::IDirectSoundBuffer> base(created);
  void* b8 = nullptr;
  if (plat::FAILED(base->QueryInterface(plat::IID_IDirectSoundBuffer8, &b8))) return false;
  buffer.Reset(static_cast<plat::IDirectSoundBuffer8*>(b8));
  void* n = nullptr;
  if (plat::FAILED(buffer->QueryInterface(plat::IID_IDirectSoundNotify, &n))) return false;
  notify.Reset(static_cast<plat::IDirectSoundNotify*>(n));
  return true;
}

bool TOggStream8::CreateEvents() {
  quitEvent = plat::CreateEvent(true, false);
  runEvent = plat::CreateEvent(true, false);
  rewindEvent = plat::CreateEvent(false, false);
  for (plat::HANDLE& h : segmentEvents) h = plat::CreateEvent(false, false);
  return quitEvent && runEvent && rewindEvent &&
         std::all_of(segmentEvents, segmentEvents + kSegments, [](plat::HANDLE h) { return h; });
}

void TOggStream8::Shutdown() {
  if (buffer) buffer->Stop();
  if (thread) {
    plat::SetEvent(quitEvent);
    plat::SetEvent(runEvent);
    for (plat::HANDLE h : segmentEvents) plat::SetEvent(h);
    // The worker only ever waits on these events, so it ends; nothing it uses goes before it has.
    plat::WaitForSingleObject(thread, plat::INFINITE);
    plat::CloseHandle(thread);
    thread = nullptr;
  }
  state = kNotReady;
  notify.Reset();
  buffer.Reset();
  for (Part* part : {introPart.get(), mainPart.get()}) {
    if (part && part->open) {
      ov_clear(&part->file);
      part->open = false;
    }
  }
  for (plat::HANDLE* h : {&quitEvent, &runEvent, &rewindEvent, &segmentEvents[0], &segmentEvents[1],
                          &segmentEvents[2], &segmentEvents[3]}) {
    if (*h) plat::CloseHandle(*h);
    *h = nullptr;
  }
}

plat::DWORD TOggStream8::Run() {
  // The rewind event comes first, so a wait that began before a rewind always learns of it
  // before it takes up a refill; the quit event comes last.
  const plat::HANDLE waitList[kSegments + 2] = {rewindEvent,      segmentEvents[0], segmentEvents[1],
                                                segmentEvents[2], segmentEvents[3], quitEvent};
  for (;;) {
    if (plat::WaitForSingleObject(quitEvent, 0) != plat::WAIT_TIMEOUT) return 0;
    if (plat::WaitForSingleObject(runEvent, plat::INFINITE) != plat::WAIT_OBJECT_0) return 0;
    uint64_t seen;
    {
      std::lock_guard<std::mutex> guard(lock);
      seen = epoch;
    }
    plat::DWORD woken = plat::WaitForMultipleObjects(kSegments + 2, waitList, false, plat::INFINITE);
    if (woken > kSegments || plat::WaitForSingleObject(quitEvent, 0) == plat::WAIT_OBJECT_0) return 0;
    if (woken == 0) continue;
    plat::DWORD index = woken - 1;
    {
      std::lock_guard<std::mutex> guard(lock);
      if (epoch != seen) continue;  // taken up before a rewind, asked for before it
      if (index == endIndex) {
        endIndex = kNoEnd;
        StopLocked(true);
      } else {
        FillSegment(index);
      }
      ++handled;
    }
    handledChanged.notify_all();
  }
}

plat::HRESULT TOggStream8::Play() {
  std::lock_guard<std::mutex> guard(lock);
  if (!IsReady()) return plat::DSERR_INVALIDCALL;
  PlayLocked();
  return plat::DS_OK;
}

void TOggStream8::PlayLocked() {
  fresh = false;
  state = kPlaying;
  plat::SetEvent(runEvent);
  buffer->Play(0, 0, plat::DSBPLAY_LOOPING);
}

void TOggStream8::Stop(bool rewind) {
  std::lock_guard<std::mutex> guard(lock);
  if (IsReady()) StopLocked(rewind);
}

void TOggStream8::StopLocked(bool rewind) {
  state = kStopped;
  plat::ResetEvent(runEvent);
  buffer->Stop();
  if (!rewind) return;
  // Refills asked for before the rewind belong to the old position: drop them.
  ++epoch;
  for (plat::HANDLE h : segmentEvents) plat::ResetEvent(h);
  plat::SetEvent(rewindEvent);
  introDone = false;
  ended = false;
  endIndex = kNoEnd;
  remaining = partLength = intro ? introLength : mainLength;
  buffer->SetCurrentPosition(0);
  RewindCurrent();
  FillSegment(kSegments - 1);
  fresh = true;
}

void TOggStream8::SetLoop(bool loop) {
  std::lock_guard<std::mutex> guard(lock);
  bool changed = this->loop != loop;
  this->loop = loop;
  // A piece shorter than a segment met its end in the prefill, under the old flag: fill again,
  // or PlayLoop (rewind, then SetLoop, then Play) would play it only once.
  if (changed && fresh && IsReady()) StopLocked(true);
}

void TOggStream8::Rewind() {
  std::lock_guard<std::mutex> guard(lock);
  if (!IsReady()) return;
  bool playing = state == kPlaying;
  StopLocked(true);
  if (playing) PlayLocked();
}

int32_t TOggStream8::GetVolume() {
  plat::LONG v = 0;
  if (!IsReady() || plat::FAILED(buffer->GetVolume(&v))) return 0;
  return v;
}

int32_t TOggStream8::GetPan() {
  plat::LONG p = 0;
  if (!IsReady() || plat::FAILED(buffer->GetPan(&p))) return 0;
  return p;
}

void TOggStream8::SetPan(int32_t pan) {
  if (IsReady()) buffer->SetPan(pan);
}

void TOggStream8::ApplyVolume(int32_t v) { buffer->SetVolume(v); }

uint64_t TOggStream8::GetHandledCount() const {
  std::lock_guard<std::mutex> guard(lock);
  return handled;
}

bool TOggStream8::WaitHandled(uint64_t count, plat::DWORD timeoutMs) const {
  std::unique_lock<std::mutex> guard(lock);
  return handledChanged.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                 [&] { return handled >= count; });
}

void TOggStream8::FillSegment(plat::DWORD notification) {
  void *p1 = nullptr, *p2 = nullptr;
  plat::DWORD n1 = 0, n2 = 0;
  // A segment that cannot be locked keeps what it held; the next refill tries again.
  if (plat::FAILED(buffer->Lock(fillTable[notification], kSegmentSize, &p1, &n1, &p2, &n2, 0))) return;
  Produce(static_cast<uint8_t*>(p1), n1, notification);
  buffer->Unlock(p1, n1, p2, n2);
}

void TOggStream8::Produce(uint8_t* out, uint32_t bytes, plat::DWORD notification) {
  uint32_t produced = 0;
  while (bytes > 0 && !ended) {
    uint32_t take = std::min(bytes, remaining);
    uint32_t got = take > 0 ? Decode(out + produced, take) : 0;
    produced += got;
    bytes -= got;
    remaining -= got;
    if (got < take) {
      // The decoder ran dry before the counted length: the part ends here, in silence.
      remaining = 0;
      NextPart(notification, produced > 0);
      break;
    }
    if (bytes == 0) return;
    if (!NextPart(notification, produced > 0)) break;
  }
  std::memset(out + produced, 0, bytes);
}

bool TOggStream8::NextPart(plat::DWORD notification, bool dataInSegment) {
  if (intro && !introDone) {
    introDone = true;
    remaining = partLength = mainLength;
    RewindCurrent();
    return true;
  }
  RewindCurrent();
  remaining = partLength;
  if (loop) return true;
  // Stop once the cursor has played this segment (or on entering it, when it holds nothing).
  ended = true;
  endIndex = (notification + (dataInSegment ? 2 : 1)) % kSegments;
  return false;
}

TOggStream8::Part& TOggStream8::Current() { return intro && !introDone ? *introPart : *mainPart; }

void TOggStream8::RewindCurrent() {
  Part& part = Current();
  if (part.open) ov_pcm_seek(&part.file, 0);
}

uint32_t TOggStream8::Decode(uint8_t* out, uint32_t bytes) {
  Part& part = Current();
  if (!part.open) return 0;
  uint32_t done = 0;
  int holes = 0;
  int section = 0;
  while (done < bytes) {
    long got = ov_read(&part.file, reinterpret_cast<char*>(out + done), static_cast<int>(bytes - done), 0, 2, 1,
                       &section);
    if (got == OV_HOLE && ++holes <= kHoleRetries) continue;
    if (got <= 0) break;
    done += static_cast<uint32_t>(got);
  }
  return done;
}
