#include "common/TSingleInstance.h"

#include "platform/core/KernelObject.h"
#include "platform/core/LastError.h"
#include "platform/core/Sync.h"
#include "platform/core/WindowLookup.h"

TSingleInstance::TSingleInstance(const std::string& name, const std::string& title, const std::string& cls)
    : mutexName(name), windowTitle(title), windowClass(cls) {}

TSingleInstance::~TSingleInstance() {
  if (mutex) plat::CloseHandle(mutex);
}

bool TSingleInstance::Check() {
  if (plat::FindWindow(windowClass, windowTitle)) return false;
  if (mutex) plat::CloseHandle(mutex);
  mutex = plat::CreateMutex(mutexName);
  return plat::GetLastError() != plat::ERROR_ALREADY_EXISTS;
}
