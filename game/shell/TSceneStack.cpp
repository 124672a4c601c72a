#include "game/shell/TSceneStack.h"

TSceneStack::~TSceneStack() {
  entries.clear();
  current = nullptr;
}

void TSceneStack::Destroy(TCountedPtr<TScene>& entry) {
  // Other shares of the entry must not destroy the scene a second time.
  if (!entry.Owns()) return;
  entry.SetOwns(false);
  delete entry.Get();
}

void TSceneStack::Set(TScene* scene) {
  if (current) current->Suspend();
  entries.emplace_front(scene);
  current = scene;
  if (current) current->Resume();
}

void TSceneStack::Push(TScene* scene) {
  if (entries.empty()) return Set(scene);
  entries.emplace_back(scene);
}

void TSceneStack::Pop() {
  if (entries.empty()) return;
  current = nullptr;
  Destroy(entries.front());
  purge();
  entries.pop_front();
  if (!entries.empty()) {
    current = entries.front().Get();
    if (current) current->Resume();
  }
}

void TSceneStack::PopBack() {
  if (entries.empty()) return;
  if (entries.size() == 1) current = nullptr;  // the running scene goes too: nothing may point at it
  Destroy(entries.back());
  purge();
  entries.pop_back();
}

size_t TSceneStack::Trim(size_t n) {
  if (n < 1) n = 1;  // trimming away the running scene would destroy it under its own Run
  while (entries.size() > n) PopBack();
  return entries.size();
}

void TSceneStack::Clear() {
  current = nullptr;
  while (!entries.empty()) entries.pop_front();
  purge();
}
