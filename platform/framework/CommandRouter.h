#pragma once
// The route a command takes: the active view, the frame, the application, and then every other
// view of the document in the document's view order. Update requests take the same route, so a
// workspace command works and shows its state while the grid has the focus, and the grid's record
// commands while the workspace has it.
//
// Update rules (as the menus and buttons see them):
// - the first target with an update handler decides (unless the handler calls ContinueRouting);
// - when no handler set the enabled state, the command is enabled exactly when some target of the
//   chain has a command handler for it (an empty handler enables it; no handler disables it).
// Execute checks the state first: a disabled command is not run (an accelerator of a greyed
// item does nothing).
//
// Errors never leave the router: an exception escaping a command handler (a ComError or any
// other) is traced and shown in a message box, and the program goes on. An update handler that
// throws leaves its command disabled; its error is traced each time and shown once per command
// and text, so that idle updates cannot flood the person with boxes.
//
// The active view follows the keyboard focus: a registered view becomes active when the focus
// enters its widget; focus elsewhere (the toolbar, a dialog) leaves the active view unchanged.
#include <QObject>
#include <QPointer>
#include <map>
#include <string>
#include <vector>

#include "platform/framework/CommandTarget.h"

class QWidget;

class CommandRouter : public QObject {
  Q_OBJECT
 public:
  explicit CommandRouter(QObject* parent = nullptr);

  void SetFrame(CommandTarget* frame) { frame_ = frame; }
  void SetApplication(CommandTarget* application) { application_ = application; }
  // Adds a view in document order. With a widget, focus entering that widget makes it active.
  void AddView(CommandTarget* view, QWidget* widget = nullptr);
  void RemoveView(CommandTarget* view);
  void SetActiveView(CommandTarget* view) { active_ = view; }
  CommandTarget* ActiveView() const { return active_; }

  // The targets in routing order.
  std::vector<CommandTarget*> Chain() const;

  // Runs the command when it is enabled; true when a target handled it (also when the handler
  // ended in an error, which was then reported).
  bool Execute(int id);
  // Fills ui from the chain (see the rules above); returns whether the command is enabled.
  bool Update(CommandUi& ui) const;
  // Convenience: the state of one command.
  CommandUi StateOf(int id) const;

 signals:
  // After a command was run through Execute, so that idle updates can follow at once.
  void CommandExecuted(int id);

 private:
  void OnFocusChanged(QWidget* old, QWidget* now);
  bool UpdateUnguarded(CommandUi& ui) const;
  // Traces the error that ended a handler of command `id` and shows it (see the header comment).
  void ReportEscapedError(int id, bool inUpdate, const std::string& text) const;

  struct View {
    CommandTarget* target;
    QPointer<QWidget> widget;
  };
  CommandTarget* frame_ = nullptr;
  CommandTarget* application_ = nullptr;
  CommandTarget* active_ = nullptr;
  std::vector<View> views_;
  bool trackingFocus_ = false;
  // The last error shown for each command's update handler.
  mutable std::map<int, std::string> updateErrorsShown_;
};
