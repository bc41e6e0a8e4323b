#pragma once
// The program's single document: the last request the workspace ran (statement text and
// connection string), carried to the lower pane. It is never saved or loaded. Views register
// themselves in document order; UpdateAllViews tells every view but the sender, in that order.
#include <string>
#include <vector>

#include "platform/framework/CommandTarget.h"

class CQelvoDoc;

// A view of the document (the workspace and the lower pane).
class DocView {
 public:
  virtual ~DocView() = default;
  // The document changed; `sender` is the view that asked for the update, or null.
  virtual void OnUpdate(DocView* sender) = 0;
};

class CQelvoDoc : public CommandTarget {
 public:
  // Creating the document switches on private connections: the grid's holder keeps a
  // connection of its own instead of sharing one.
  CQelvoDoc();

  const std::string& StatementText() const { return statementText_; }
  const std::string& ConnectionString() const { return connectionString_; }
  void SetRequest(std::string statementText, std::string connectionString);

  void AddView(DocView* view);
  void RemoveView(DocView* view);
  const std::vector<DocView*>& Views() const { return views_; }

  // Every registered view except `sender` gets OnUpdate(sender), in registration order.
  void UpdateAllViews(DocView* sender);

 private:
  std::string statementText_;
  std::string connectionString_;
  std::vector<DocView*> views_;
};
