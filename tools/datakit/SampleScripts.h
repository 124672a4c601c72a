// The script pack of a playable game folder ("data/scr03/03.pbsc"), shared by the sample game and
// the tests.
#pragma once
#include "tools/datakit/ScriptPackWriter.h"

namespace datakit {

// "Sample00" counts "$count" up to 3 and returns it; later content adds its own members.
ScriptPackWriter SampleScriptPack();

}  // namespace datakit
