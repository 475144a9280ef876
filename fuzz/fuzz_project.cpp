// Arbitrary bytes as a project file: parsed, and a setup.inf composed from it,
// with every fault reported as a diagnostic and nothing raised; the setup.inf
// made from a project without errors reads back through the script reader.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "media/Diagnostics.h"
#include "media/FileSelection.h"
#include "media/Project.h"
#include "media/ScriptComposer.h"
#include "platform/MemoryPlatform.h"
#include "script/SetupScript.h"

using namespace kalvora;
using namespace kalvora::media;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    Diagnostics diag;
    const Project project = parseProject(text, "p.kvp", "", diag);
    const SetupInf inf = composeSetupInf(project, FileSelection{}, MediumFacts{}, diag);
    if (diag.hasErrors()) return 0;
    MemoryPlatform fs;
    fs.createDirectory("C:\\m");
    fs.putFile("C:\\m\\setup.inf", inf.text);
    const SetupScript script("C:\\m\\setup.inf", fs);
    (void)script.ReadString("software", "name", "");
  } catch (...) {
    std::abort(); // the project reader and the composer report faults, they raise none
  }
  return 0;
}
