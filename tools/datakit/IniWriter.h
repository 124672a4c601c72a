// Writes INI files in the order given (duplicates allowed, for damaged files), CRLF line ends.
#pragma once
#include <string>

namespace datakit {

class IniWriter {
 public:
  IniWriter& Section(const std::string& name);
  IniWriter& Key(const std::string& key, const std::string& value);
  IniWriter& Key(const std::string& key, long value) { return Key(key, std::to_string(value)); }
  IniWriter& Line(const std::string& raw);

  const std::string& Text() const { return text_; }
  void Save(const std::string& path) const;

 private:
  std::string text_;
};

}  // namespace datakit
