#include "tools/datakit/IniWriter.h"

#include "tools/datakit/ByteWriter.h"

namespace datakit {

IniWriter& IniWriter::Section(const std::string& name) { return Line("[" + name + "]"); }
IniWriter& IniWriter::Key(const std::string& key, const std::string& value) { return Line(key + "=" + value); }

IniWriter& IniWriter::Line(const std::string& raw) {
  text_ += raw;
  text_ += "\r\n";
  return *this;
}

void IniWriter::Save(const std::string& path) const { SaveFile(path, text_); }

}  // namespace datakit
