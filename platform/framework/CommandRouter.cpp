#include "platform/framework/CommandRouter.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <exception>
#include <optional>

#include "data/ErrorText.h"
#include "data/Trace.h"
#include "data/ado/ComError.h"
#include "platform/framework/MessageBox.h"

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

namespace {
// Runs `work`; the text of whatever it threw, or nothing when it returned normally.
template <class Work>
std::optional<std::string> Guarded(Work&& work) {
  try {
    work();
    return std::nullopt;
  } catch (const ado::ComError& e) {
    return ComErrorText(e);
  } catch (const std::exception& e) {
    return std::string(e.what());
  } catch (...) {
    return std::string("Unknown error");
  }
}
}  // namespace

void CommandRouter::ReportEscapedError(int id, bool inUpdate, const std::string& text) const {
  // Reporting must not throw in turn: the barrier is the last place that catches.
  try {
    Trace(TraceError, "Command %d%s failed: %s", id, inUpdate ? " (update)" : "", text.c_str());
    if (inUpdate) {
      auto shown = updateErrorsShown_.find(id);
      if (shown != updateErrorsShown_.end() && shown->second == text) return;
      updateErrorsShown_[id] = text;
    }
    QelvoMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  } catch (...) {
  }
}

bool CommandRouter::Update(CommandUi& ui) const {
  bool enabled = false;
  if (auto error = Guarded([&] { enabled = UpdateUnguarded(ui); })) {
    ui.Enable(false);
    ReportEscapedError(ui.Id(), true, *error);
    return false;
  }
  return enabled;
}

bool CommandRouter::UpdateUnguarded(CommandUi& ui) const {
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
  bool handled = false;
  if (auto error = Guarded([&] {
        for (CommandTarget* target : Chain())
          if (target->OnCommand(id)) {
            handled = true;
            return;
          }
      })) {
    handled = true;
    if (self) ReportEscapedError(id, false, *error);
  }
  if (handled && self) emit CommandExecuted(id);
  return handled;
}
