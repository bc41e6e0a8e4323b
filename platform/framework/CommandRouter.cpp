#include "platform/framework/CommandRouter.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>

CommandRouter::CommandRouter(QObject* parent) : QObject(parent) {}

void CommandRouter::AddView(CommandTarget* view, QWidget* widget) {
  views_.push_back({view, widget});
  if (widget && !trackingFocus_ && qApp) {
    connect(qApp, &QApplication::focusChanged, this, &CommandRouter::OnFocusChanged);
    trackingFocus_ = true;
  }
}

void CommandRouter::RemoveView(CommandTarget* view) {
  std::erase_if(views_, [view](const View& v) { return v.target == view; });
  if (active_ == view) active_ = nullptr;
}

void CommandRouter::OnFocusChanged(QWidget*, QWidget* now) {
  if (!now) return;
  for (const View& view : views_)
    if (view.widget && (view.widget == now || view.widget->isAncestorOf(now))) {
      active_ = view.target;
      return;
    }
}

std::vector<CommandTarget*> CommandRouter::Chain() const {
  std::vector<CommandTarget*> chain;
  auto add = [&chain](CommandTarget* target) {
    if (target && std::find(chain.begin(), chain.end(), target) == chain.end()) chain.push_back(target);
  };
  add(active_);
  add(frame_);
  add(application_);
  for (const View& view : views_) add(view.target);
  return chain;
}

bool CommandRouter::Update(CommandUi& ui) const {
  const std::vector<CommandTarget*> chain = Chain();
  for (CommandTarget* target : chain) {
    ui.ResetContinueRouting();
    if (target->OnUpdateCommand(ui) && !ui.ContinueRoutingRequested()) break;
  }
  if (!ui.Enabled()) {
    bool handled = std::any_of(chain.begin(), chain.end(),
                               [&ui](const CommandTarget* target) { return target->HasCommandHandler(ui.Id()); });
    ui.Enable(handled);
  }
  return *ui.Enabled();
}

CommandUi CommandRouter::StateOf(int id) const {
  CommandUi ui(id);
  Update(ui);
  return ui;
}

bool CommandRouter::Execute(int id) {
  if (!StateOf(id).Enabled().value_or(false)) return false;
  // A command may close the window that owns this router (Exit).
  QPointer<CommandRouter> self(this);
  for (CommandTarget* target : Chain())
    if (target->OnCommand(id)) {
      if (self) emit CommandExecuted(id);
      return true;
    }
  return false;
}
