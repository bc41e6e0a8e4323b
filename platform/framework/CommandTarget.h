#pragma once
// Numeric commands and their update handlers, as menus, accelerators, the toolbar and a form's
// buttons raise them. A CommandTarget answers two questions for a command id: "run it" and "what
// state should its menu item / button show". Targets are chained by a CommandRouter.
//
// A target registers handlers in its CommandMap (usually in its constructor):
//
//   Commands().On(ID_EDIT_COPY, [this] { Copy(); });
//   Commands().OnUpdate(ID_EDIT_COPY, [this](CommandUi& ui) { ui.Enable(HasSelection()); });
//
// or overrides OnCommand / OnUpdateCommand to offer commands to an inner object first (a pane
// that lets its grid see a command before its own table does).
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

// The state an update handler gives one command: enabled, check mark (0 none, 1 checked,
// 2 indeterminate) and text. Only what a handler set is applied to the menu item or button;
// the rest keeps its current state.
class CommandUi {
 public:
  explicit CommandUi(int id) : id_(id) {}

  int Id() const { return id_; }

  void Enable(bool on = true) { enabled_ = on; }
  void SetCheck(int check = 1) { check_ = check; }
  void SetText(std::string text) { text_ = std::move(text); }
  // Called by a handler that wants the next target of the chain to see the update as well.
  void ContinueRouting() { continueRouting_ = true; }

  std::optional<bool> Enabled() const { return enabled_; }
  std::optional<int> Check() const { return check_; }
  const std::optional<std::string>& Text() const { return text_; }
  bool ContinueRoutingRequested() const { return continueRouting_; }
  void ResetContinueRouting() { continueRouting_ = false; }

 private:
  int id_;
  std::optional<bool> enabled_;
  std::optional<int> check_;
  std::optional<std::string> text_;
  bool continueRouting_ = false;
};

// The handler table of one target.
class CommandMap {
 public:
  using Handler = std::function<void()>;
  using UpdateHandler = std::function<void(CommandUi&)>;

  void On(int id, Handler handler) { handlers_[id] = std::move(handler); }
  void OnUpdate(int id, UpdateHandler handler) { updates_[id] = std::move(handler); }
  // The same handlers for an inclusive range of ids (the recent-file list, for example).
  void OnRange(int first, int last, std::function<void(int id)> handler);
  void OnUpdateRange(int first, int last, UpdateHandler handler);

  bool HasHandler(int id) const { return handlers_.count(id) != 0; }
  bool HasUpdateHandler(int id) const { return updates_.count(id) != 0; }
  // Runs the handler; false when there is none.
  bool Run(int id) const;
  bool RunUpdate(CommandUi& ui) const;

 private:
  std::unordered_map<int, Handler> handlers_;
  std::unordered_map<int, UpdateHandler> updates_;
};

class CommandTarget {
 public:
  virtual ~CommandTarget() = default;

  // Runs the command; true when this target handled it (an empty handler counts).
  virtual bool OnCommand(int id) { return commands_.Run(id); }
  // True when this target has a handler for the command (used to enable items that have a
  // handler but no update handler).
  virtual bool HasCommandHandler(int id) const { return commands_.HasHandler(id); }
  // Runs the update handler; true when this target has one (routing stops there unless the
  // handler asked to continue).
  virtual bool OnUpdateCommand(CommandUi& ui) { return commands_.RunUpdate(ui); }

  CommandMap& Commands() { return commands_; }
  const CommandMap& Commands() const { return commands_; }

 private:
  CommandMap commands_;
};
