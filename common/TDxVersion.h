// The installed DirectX version, found by trying its components from the oldest to the newest.
#pragma once
#include <cstdint>
#include <string>

class TDxVersion {
 public:
  TDxVersion();
  virtual ~TDxVersion() = default;

  uint32_t GetVersion() const { return version; }
  const std::string& GetText() const { return text; }
  static uint32_t Probe();
  static std::string TextFor(uint32_t version);

 private:
  uint32_t version;
  std::string text;
};
