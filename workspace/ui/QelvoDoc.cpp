#include "workspace/ui/QelvoDoc.h"

#include <algorithm>

#include "data/DbConnection.h"
#include "data/DbConnectionHolder.h"

CQelvoDoc::CQelvoDoc() {
  PrivateConnections = true;
}

void CQelvoDoc::SetRequest(std::string statementText, std::string connectionString) {
  statementText_ = std::move(statementText);
  connectionString_ = std::move(connectionString);
}

void CQelvoDoc::AddView(DocView* view) {
  if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void CQelvoDoc::RemoveView(DocView* view) {
  std::erase(views_, view);
}

void CQelvoDoc::UpdateAllViews(DocView* sender) {
  // A copy: a view may register or leave while it updates.
  const std::vector<DocView*> views = views_;
  for (DocView* view : views)
    if (view != sender) view->OnUpdate(sender);
}
