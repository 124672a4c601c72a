#include "tools/datakit/SampleSettings.h"

namespace datakit {

IniWriter SampleSettingIni() {
  IniWriter ini;
  ini.Section("CurrentSetting")
      .Key("ScreenWidth", 640)
      .Key("ScreenHeight", 480)
      .Key("BitDepth", 32)
      .Key("ScreenMode", "window")
      .Key("MultiSample", "no")
      .Key("MinFilter", "D3DTEXF_LINEAR")
      .Key("MagFilter", "D3DTEXF_LINEAR")
      .Key("MipFilter", "D3DTEXF_NONE")
      .Key("View", 100)
      .Key("BackBufferCount", 1)
      .Key("BackBufferCountLower", 1)
      .Key("BackBufferLockEnable", "no");
  ini.Section("DeviceBehavior")
      .Key("VertexProcessingMode", "D3DCREATE_HARDWARE_VERTEXPROCESSING")
      .Key("FpuPreserve", "no")
      .Key("MultiThreaded", "no")
      .Key("PureDevice", "no");
  ini.Section("MultiSampleType").Key("Type00", "D3DMULTISAMPLE_2_SAMPLES");
  ini.Section("DepthStencilFormat").Key("Format00", "D3DFMT_D16").Key("Format01", "D3DFMT_D24S8");
  return ini;
}

IniWriter SampleInputIni() {
  static const char* const kButtons[16] = {"UP", "DOWN", "LEFT", "RIGHT", "A", "B", "C", "D",
                                           "E",  "F",    "G",    "H",     "I", "J", "K", "L"};
  static const char* const kKeys[16] = {"UP", "DOWN", "LEFT", "RIGHT", "Z", "X", "C", "V",
                                        "B",  "A",    "S",    "Q",     "W", "E", "R", "T"};
  static const int kPad[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 10, 13, 14, 15, 16};
  IniWriter ini;
  ini.Section("Keyboard");
  for (int i = 0; i < 16; ++i) ini.Key(kButtons[i], kKeys[i]);
  ini.Section("GamePad");
  for (int i = 0; i < 16; ++i) ini.Key(kButtons[i], "PAD_INPUT_" + std::to_string(kPad[i]));
  return ini;
}

}  // namespace datakit
