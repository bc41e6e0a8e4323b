#include "data/ado/ComPtr.h"

#include "data/ado/DataLinks.h"

namespace ado {
namespace {
CreateInstanceHook& Hook() {
  static CreateInstanceHook hook;
  return hook;
}
}  // namespace

bool DataLinksPromptRegistered();

void SetCreateInstanceHook(CreateInstanceHook hook) {
  Hook() = std::move(hook);
}

HRESULT CheckCreateInstance(const std::string& className) {
  if (Hook()) {
    HRESULT hr = Hook()(className);
    if (Failed(hr)) return hr;
  }
  // The data-link dialog exists only when the GUI has registered it.
  if (className == DataLinks::kClassName && !DataLinksPromptRegistered()) return REGDB_E_CLASSNOTREG;
  return S_OK;
}

}  // namespace ado
