// The scenes of the game: the front runs, entries behind it are queued successors. The stack owns
// its scenes; every scene it destroys is followed by a purge of what nothing holds any more.
#pragma once
#include <cstddef>
#include <deque>
#include <functional>

#include "common/TCountedPtr.h"
#include "game/shell/TScene.h"

class TSceneStack {
 public:
  explicit TSceneStack(std::function<void()> purge) : purge(std::move(purge)) {}
  ~TSceneStack();
  TSceneStack(const TSceneStack&) = delete;
  TSceneStack& operator=(const TSceneStack&) = delete;

  // An overlay: the current scene is suspended and the new one runs at once.
  void Set(TScene* scene);
  // A successor: queued behind all others (runs at once when the stack is empty).
  void Push(TScene* scene);
  // Drops scenes from the back until at most n remain; never the running one.
  size_t Trim(size_t n);
  void Pop();
  void PopBack();
  void Clear();

  TScene* Current() const { return current; }
  size_t Count() const { return entries.size(); }

 private:
  static void Destroy(TCountedPtr<TScene>& entry);

  std::deque<TCountedPtr<TScene>> entries;
  TScene* current = nullptr;
  std::function<void()> purge;
};
