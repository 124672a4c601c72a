// What the save targets share: the bytes made into a save that the CRC check lets through, the
// slot's summaries as the save and load screens draw them, and the round trip every loaded save
// must survive.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class TGameData;

namespace fuzz {

// The CRC made right where the placement flag puts it; a flag the writer never makes leaves the
// bytes as they are.
std::vector<uint8_t> WithSaveCrc(const uint8_t* data, size_t size);
// Slot 1's summary for the load and the save screen of that chapter (-1 this program's).
void DrawSaveSummaries(int32_t chapter);
// Saves the record into slot 3 and loads it back; a save the game wrote that does not load again
// (its save point in this chapter) aborts.
void SaveAndLoadBack(TGameData& data);

}  // namespace fuzz
