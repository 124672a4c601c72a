// The sound device the game was written against: a device object, secondary buffers in memory
// with play and write cursors, and position notifications. Everything is mixed in software into
// 44.1 kHz stereo 16-bit by one mixer per device; the output behind it is chosen with
// SetSoundOutput (SoundOutput.h). Flags, formats and result codes keep the values the game logs.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/core/Win32Types.h"

namespace plat {

using HRESULT = int32_t;
using ULONG = uint32_t;
using WORD = uint16_t;

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DSERR_PRIOLEVELNEEDED = static_cast<HRESULT>(0x88780046u);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
constexpr HRESULT DSERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DSERR_NOINTERFACE = static_cast<HRESULT>(0x80004002u);

// Cooperative levels.
constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSCL_EXCLUSIVE = 3;
constexpr DWORD DSSCL_WRITEPRIMARY = 4;

// Buffer capabilities.
constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr DWORD DSBCAPS_STATIC = 0x00000002;
constexpr DWORD DSBCAPS_LOCHARDWARE = 0x00000004;
constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x00000008;
constexpr DWORD DSBCAPS_CTRL3D = 0x00000010;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr DWORD DSBCAPS_CTRLPOSITIONNOTIFY = 0x00000100;
constexpr DWORD DSBCAPS_CTRLFX = 0x00000200;
constexpr DWORD DSBCAPS_STICKYFOCUS = 0x00004000;
constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x00008000;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;
constexpr DWORD DSBCAPS_MUTE3DATMAXDISTANCE = 0x00020000;
constexpr DWORD DSBCAPS_LOCDEFER = 0x00040000;

constexpr DWORD DSBPLAY_LOOPING = 0x00000001;

constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x00000001;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002;

constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002;
constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;
constexpr DWORD DSBSTATUS_LOCSOFTWARE = 0x00000010;

constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_CENTER = 0;
constexpr LONG DSBPAN_RIGHT = 10000;
constexpr DWORD DSBFREQUENCY_ORIGINAL = 0;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;
constexpr DWORD DSBPN_OFFSETSTOP = 0xFFFFFFFFu;

constexpr WORD WAVE_FORMAT_PCM = 1;

// The wave format: 18 bytes in files (the struct has 2 bytes of padding behind cbSize).
struct WAVEFORMATEX {
  WORD wFormatTag = 0;
  WORD nChannels = 0;
  DWORD nSamplesPerSec = 0;
  DWORD nAvgBytesPerSec = 0;
  WORD nBlockAlign = 0;
  WORD wBitsPerSample = 0;
  WORD cbSize = 0;
};
constexpr DWORD kWaveFormatExBytes = 18;
static_assert(offsetof(WAVEFORMATEX, cbSize) == 16);

struct DSBUFFERDESC {
  DWORD dwSize = sizeof(DSBUFFERDESC);
  DWORD dwFlags = 0;
  DWORD dwBufferBytes = 0;
  DWORD dwReserved = 0;
  WAVEFORMATEX* lpwfxFormat = nullptr;
};

// 96 bytes: the size the caller must put in dwSize.
struct DSCAPS {
  DWORD dwSize = 0;
  DWORD dwFlags = 0;
  DWORD dwMinSecondarySampleRate = 0;
  DWORD dwMaxSecondarySampleRate = 0;
  DWORD dwPrimaryBuffers = 0;
  DWORD dwMaxHwMixingAllBuffers = 0;
  DWORD dwMaxHwMixingStaticBuffers = 0;
  DWORD dwMaxHwMixingStreamingBuffers = 0;
  DWORD dwFreeHwMixingAllBuffers = 0;
  DWORD dwFreeHwMixingStaticBuffers = 0;
  DWORD dwFreeHwMixingStreamingBuffers = 0;
  DWORD dwMaxHw3DAllBuffers = 0;
  DWORD dwMaxHw3DStaticBuffers = 0;
  DWORD dwMaxHw3DStreamingBuffers = 0;
  DWORD dwFreeHw3DAllBuffers = 0;
  DWORD dwFreeHw3DStaticBuffers = 0;
  DWORD dwFreeHw3DStreamingBuffers = 0;
  DWORD dwTotalHwMemBytes = 0;
  DWORD dwFreeHwMemBytes = 0;
  DWORD dwMaxContigFreeHwMemBytes = 0;
  DWORD dwUnlockTransferRateHwBuffers = 0;
  DWORD dwPlayCpuOverheadSwBuffers = 0;
  DWORD dwReserved1 = 0;
  DWORD dwReserved2 = 0;
};
static_assert(sizeof(DSCAPS) == 96);

// Capability bits of DSCAPS::dwFlags that a software mixer has.
constexpr DWORD DSCAPS_PRIMARYMONO = 0x00000001;
constexpr DWORD DSCAPS_PRIMARYSTEREO = 0x00000002;
constexpr DWORD DSCAPS_PRIMARY8BIT = 0x00000004;
constexpr DWORD DSCAPS_PRIMARY16BIT = 0x00000008;
constexpr DWORD DSCAPS_CONTINUOUSRATE = 0x00000010;
constexpr DWORD DSCAPS_SECONDARYMONO = 0x00000100;
constexpr DWORD DSCAPS_SECONDARYSTEREO = 0x00000200;
constexpr DWORD DSCAPS_SECONDARY8BIT = 0x00000400;
constexpr DWORD DSCAPS_SECONDARY16BIT = 0x00000800;

struct DSBPOSITIONNOTIFY {
  DWORD dwOffset = 0;
  HANDLE hEventNotify = nullptr;
};

// Interfaces a buffer answers to in QueryInterface.
enum class REFIID { IDirectSoundBuffer, IDirectSoundBuffer8, IDirectSoundNotify };
constexpr REFIID IID_IDirectSoundBuffer = REFIID::IDirectSoundBuffer;
constexpr REFIID IID_IDirectSoundBuffer8 = REFIID::IDirectSoundBuffer8;
constexpr REFIID IID_IDirectSoundNotify = REFIID::IDirectSoundNotify;

class IUnknownLike {
 public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknownLike() = default;
};

class IDirectSoundBuffer8 : public IUnknownLike {
 public:
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  // Two regions when [offset, offset + bytes) runs past the end; the second starts at 0.
  virtual HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                       DWORD* bytes2, DWORD flags) = 0;
  // The byte counts are what was written; the pointers must be the ones Lock gave.
  virtual HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) = 0;
  virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
  virtual HRESULT Stop() = 0;
  virtual HRESULT GetCurrentPosition(DWORD* play, DWORD* write) = 0;
  virtual HRESULT SetCurrentPosition(DWORD position) = 0;
  virtual HRESULT GetVolume(LONG* volume) = 0;
  virtual HRESULT SetVolume(LONG volume) = 0;
  virtual HRESULT GetPan(LONG* pan) = 0;
  virtual HRESULT SetPan(LONG pan) = 0;
  virtual HRESULT GetFrequency(DWORD* frequency) = 0;
  virtual HRESULT SetFrequency(DWORD frequency) = 0;
  virtual HRESULT GetStatus(DWORD* status) = 0;
  // Primary buffer only (DSERR_INVALIDCALL on secondary buffers for SetFormat).
  virtual HRESULT GetFormat(WAVEFORMATEX* format, DWORD bytesAllocated, DWORD* bytesWritten) = 0;
  virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
};
using IDirectSoundBuffer = IDirectSoundBuffer8;

class IDirectSoundNotify : public IUnknownLike {
 public:
  // Only while the buffer is stopped; each event is set when the play cursor reaches its offset
  // (DSBPN_OFFSETSTOP: when the buffer stops).
  virtual HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) = 0;
};

class IDirectSound8 : public IUnknownLike {
 public:
  virtual HRESULT GetCaps(DSCAPS* caps) = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
  virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                    void* outer) = 0;
};

// device must be null (the default device); outer must be null.
HRESULT DirectSoundCreate8(const void* device, IDirectSound8** object, void* outer);

}  // namespace plat
