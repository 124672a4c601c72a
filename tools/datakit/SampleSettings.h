// The settings files of a playable game folder, shared by the sample game and the tests.
#pragma once
#include "tools/datakit/IniWriter.h"

namespace datakit {

// A windowed 640x480 "setting.ini" that the device builder accepts.
IniWriter SampleSettingIni();
// ".\input.ini" with every virtual button bound to its usual key and pad input.
IniWriter SampleInputIni();

}  // namespace datakit
