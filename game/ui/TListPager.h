// The cursor of the list screens: seven rows over a list of n entries. Up and down move one row
// and scroll by one at the ends without wrapping; left and right page by seven. Arrows show that
// more lies above or below when the list holds seven or more; the cursor bobs sideways.
#pragma once
#include <cstdint>

#include "common/TMoveValue.h"
#include "common/TSprite8.h"
#include "game/ui/TScreenWindow.h"

class TScreenInput;

// Where the pager draws, from its list window's corner: the cursor at cursor + (bob, pitch · row),
// the arrows at their places, moved by the bob up and down.
struct TPagerLayout {
  TPlace cursor;
  int32_t rowPitch;
  TPlace upArrow, downArrow;
};

struct TPagerMove {
  bool taken = false;  // a direction was taken: the rows are rebuilt
  bool moved = false;  // the entry under the cursor changed
};

class TListPager {
 public:
  static constexpr int32_t kRows = 7;

  // The cursor "sprite.ptx/cursor02" and the arrows "sprite.ptx/cursor03" and "cursor04".
  explicit TListPager(const TPagerLayout& layout);

  // A new list: top and row 0.
  void Reset(int32_t count);

  // Up, Down, Left, Right by press or repeat word, the first that applies.
  TPagerMove Move(const TScreenInput& keys);
  void Up();
  void Down();
  void PageUp();
  void PageDown();
  // The entry under the cursor has left the list: the cursor stays on its row where the rows
  // below move up, else it keeps to the last row and the list scrolls back by one.
  void RemoveAtCursor();

  void StepBob() { bob.Step(); }
  int32_t Bob() const { return static_cast<int32_t>(bob.Value()); }

  int32_t GetTop() const { return top; }
  int32_t GetRow() const { return row; }
  int32_t GetIndex() const { return top + row; }
  int32_t GetCount() const { return count; }
  bool ShowsUpArrow() const { return count >= kRows && top > 0; }
  bool ShowsDownArrow() const { return count >= kRows && top < count - kRows; }

  // The cursor's and the arrows' colour, as a screen dims its list.
  void SetColor(uint32_t colour);
  // The arrows that show and, over a list that is not empty, the cursor.
  void Draw(const TScreenWindow& list);

 private:
  TPagerLayout layout;
  int32_t count = 0;
  int32_t top = 0;
  int32_t row = 0;
  TLoopValue bob;
  TSprite8 cursor, upArrow, downArrow;
};
