#include "platform/framework/CommandTarget.h"

void CommandMap::OnRange(int first, int last, std::function<void(int id)> handler) {
  for (int id = first; id <= last; ++id) handlers_[id] = [handler, id] { handler(id); };
}

void CommandMap::OnUpdateRange(int first, int last, UpdateHandler handler) {
  for (int id = first; id <= last; ++id) updates_[id] = handler;
}

bool CommandMap::Run(int id) const {
  auto it = handlers_.find(id);
  if (it == handlers_.end()) return false;
  if (it->second) it->second();
  return true;
}

bool CommandMap::RunUpdate(CommandUi& ui) const {
  auto it = updates_.find(ui.Id());
  if (it == updates_.end()) return false;
  if (it->second) it->second(ui);
  return true;
}
