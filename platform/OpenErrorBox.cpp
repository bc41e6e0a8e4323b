#include "platform/OpenErrorBox.h"

#include "data/DbConnection.h"
#include "data/DbConnectionHolder.h"
#include "platform/framework/MessageBox.h"

namespace {
void BoxThroughPrompts(const std::string& text, const std::string& caption) {
  ShowMessageBox(nullptr, text, caption, MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL);
}
}  // namespace

void RouteOpenErrorBoxToPrompts() {
  SetOpenErrorBox(&BoxThroughPrompts);
}
