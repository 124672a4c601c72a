#include "tools/datakit/SampleScripts.h"

namespace datakit {

ScriptPackWriter SampleScriptPack() {
  ScriptPackWriter pack;
  pack.Script("Sample00", R"(
$count = 0
WHILE $count < 3
  $count = $count + 1
END
RETURN $count
)");
  return pack;
}

}  // namespace datakit
