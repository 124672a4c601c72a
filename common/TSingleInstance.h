// Tells whether another copy of the game runs: by its window, else by a named mutex that this copy
// keeps for its lifetime.
#pragma once
#include <string>

#include "platform/core/Win32Types.h"

class TSingleInstance {
 public:
  TSingleInstance(const std::string& mutexName, const std::string& windowTitle, const std::string& windowClass);
  virtual ~TSingleInstance();
  TSingleInstance(const TSingleInstance&) = delete;
  TSingleInstance& operator=(const TSingleInstance&) = delete;

  // True when this copy is the only one.
  bool Check();

 private:
  plat::HANDLE mutex = nullptr;
  std::string mutexName, windowTitle, windowClass;
};
