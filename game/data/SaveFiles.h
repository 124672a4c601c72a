// Save files: names and folders, chapter ranges of save points, result codes and the one-line
// summary of a slot. Saving and loading themselves are `TGameData::Save` and `TGameData::Load`.
#pragma once
#include <cstdint>
#include <string>

class TText8;

namespace save_code {
constexpr int32_t kDone = 0;
constexpr int32_t kCannotOpen = 1;
constexpr int32_t kCannotCreate = 2;
constexpr int32_t kReadFailed = 3;
constexpr int32_t kWriteFailed = 4;
constexpr int32_t kBadCrc = 5;
constexpr int32_t kBadSize = 6;
constexpr int32_t kNotCarriable = 7;
constexpr int32_t kOtherChapter = 8;
}  // namespace save_code

// The payload is built in a buffer of this size; a file holds 5 bytes more.
constexpr uint32_t kSavePayloadLimit = 102400;
constexpr uint32_t kSaveMinFileSize = 1024;
// Stored save point id = id + this, modulo 2^32.
constexpr uint32_t kSavePointDisguise = 0x03B4E1A7u;
// 99 hours: the most play time a save holds.
constexpr uint32_t kMaxSavedPlayTime = 356400000u;

// -1: this program's save folder; 1-6: the save folder of that chapter's program beside this one.
// Anything that is not an existing folder gives this program's.
std::string ChapterSaveFolder(int32_t chapter);
std::string SaveFileName(int32_t slot, int32_t chapter);
int32_t ChapterOfSavePoint(uint32_t savePointId);  // 1-6, or -1
bool IsSavePointInChapter(uint32_t savePointId, int32_t chapter);  // chapter 0-6
bool CheckChapterSavePoint(int32_t chapter, uint32_t savePointId);  // false outside 1-6
// The chapter of the save point of this program's save in the slot; -1 when it cannot be read.
int32_t GetSaveSlotChapter(int32_t slot);
// The summary of a slot and its result code: "Empty", an error text, or the member, level, place
// and play time of the save.
int32_t SaveSlotSummaryLine(int32_t slot, bool saving, int32_t chapter, std::string& line);
// Draws "slot: summary" into the text texture and returns a result code.
int32_t SaveSlotSummary(int32_t slot, TText8& text, bool saving, int32_t chapter);
std::string SaveErrorText(int32_t code);
