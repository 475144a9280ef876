// The import of the medium's registry file taken back: each value while it
// holds what the file wrote (a value that was there is put back where its text
// is known), each key the import made once it is empty. A value whose earlier
// data were not text cannot be put back: it stays, and is reported.
#include "uninstall/Removal.h"

namespace kalvora {

void Removal::registryImport() {
  for (auto e = records_.imports.rbegin(); e != records_.imports.rend(); ++e)
    if (e->root >= 1 && e->root <= 3 && !e->keyPath.empty()) importedValue(*e);
}

void Removal::importedValue(const LoggedImport& e) {
  const RegistryRoot root = e.root == 1   ? RegistryRoot::ClassesRoot
                            : e.root == 2 ? RegistryRoot::CurrentUser
                                          : RegistryRoot::LocalMachine;
  if (e.valueName) {
    const std::string& name = *e.valueName;
    if (e.kind == "sz") {
      if (!e.had || e.before)
        takeBackValue(root, e.keyPath, name, e.data, e.before);
      else
        report_.left("registry value", e.keyPath + " \"" + name + "\"", "its earlier data were not text");
    } else if (e.had && e.before) {
      // Deleted or overwritten by data that are not text: the earlier text goes back.
      restoreOrDeleteValue(root, e.keyPath, name, e.before);
    } else if (e.had) {
      report_.left("registry value", e.keyPath + " \"" + name + "\"", "its earlier data were not text");
    } else if (e.kind == "other") {
      restoreOrDeleteValue(root, e.keyPath, name, std::nullopt);
    }
  }
  if (!e.newKey.empty()) deleteEmptyKeys(root, e.keyPath, e.newKey);
}

} // namespace kalvora
