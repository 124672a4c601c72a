// The files of an update patch: "update.ini" and the "data" folder the updater copies from.
#pragma once
#include <string>

#include "tools/datakit/IniWriter.h"

namespace datakit {

// "update.ini": section ApplicationInfo with the application's name (Shift-JIS), the base file
// that identifies its folder, and the versions.
IniWriter UpdateIni(const std::string& name, const std::string& basename, const std::string& newVersion,
                    const std::string& oldVersion);

// A patch for the sample game folder: "update.ini" in dir and the new files under dir/data.
void WriteSamplePatch(const std::string& dir);

}  // namespace datakit
