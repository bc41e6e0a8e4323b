// The route of commands and of their update requests: active view, frame, application, then the
// other views; the enabling rules; the active view following the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "platform/framework/CommandRouter.h"
#include "tests/platform/QtTestEnvironment.h"

namespace {

// A target that records which commands reached it.
class Target : public CommandTarget {
 public:
  explicit Target(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
  void Handle(int id) {
    Commands().On(id, [this, id] { log_->push_back(name_ + ":" + std::to_string(id)); });
  }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

struct Chain {
  std::vector<std::string> log;
  Target top{"top", &log};
  Target bottom{"bottom", &log};
  Target frame{"frame", &log};
  Target app{"app", &log};
  CommandRouter router;

  Chain() {
    router.AddView(&top);
    router.AddView(&bottom);
    router.SetFrame(&frame);
    router.SetApplication(&app);
  }
};

std::vector<std::string> Names(const std::vector<CommandTarget*>& chain) {
  std::vector<std::string> names;
  for (CommandTarget* target : chain) names.push_back(static_cast<Target*>(target)->Name());
  return names;
}

TEST(CommandRouting, ActiveViewThenFrameThenApplicationThenOtherViews) {
  Chain c;
  c.router.SetActiveView(&c.bottom);
  EXPECT_EQ(Names(c.router.Chain()), (std::vector<std::string>{"bottom", "frame", "app", "top"}));
  c.router.SetActiveView(&c.top);
  EXPECT_EQ(Names(c.router.Chain()), (std::vector<std::string>{"top", "frame", "app", "bottom"}));
  c.router.SetActiveView(nullptr);
  EXPECT_EQ(Names(c.router.Chain()), (std::vector<std::string>{"frame", "app", "top", "bottom"}));
}

TEST(CommandRouting, FirstTargetWithAHandlerRunsTheCommand) {
  Chain c;
  c.top.Handle(1006);      // the workspace's Execute
  c.bottom.Handle(32784);  // the grid pane's New Record
  c.frame.Handle(32790);
  c.app.Handle(57664);
  c.bottom.Handle(57607);
  c.frame.Handle(57607);  // the active view wins over the frame

  c.router.SetActiveView(&c.bottom);
  EXPECT_TRUE(c.router.Execute(1006));  // workspace command while the grid has the focus
  EXPECT_TRUE(c.router.Execute(57607));
  c.router.SetActiveView(&c.top);
  EXPECT_TRUE(c.router.Execute(32784));  // record command while the workspace has the focus
  EXPECT_TRUE(c.router.Execute(57607));  // the frame comes before the other views
  EXPECT_TRUE(c.router.Execute(57664));
  EXPECT_FALSE(c.router.Execute(12345));  // nobody handles it
  EXPECT_EQ(c.log, (std::vector<std::string>{"top:1006", "bottom:57607", "bottom:32784", "frame:57607", "app:57664"}));
}

TEST(CommandRouting, UpdateHandlersFollowTheSameRouteAndTheFirstDecides) {
  Chain c;
  c.top.Commands().OnUpdate(57634, [](CommandUi& ui) { ui.Enable(false); });
  c.bottom.Commands().OnUpdate(57634, [](CommandUi& ui) { ui.Enable(true); });
  c.frame.Commands().OnUpdate(1067, [](CommandUi& ui) { ui.SetCheck(1); });
  c.frame.Handle(1067);

  c.router.SetActiveView(&c.top);
  EXPECT_FALSE(c.router.StateOf(57634).Enabled().value());
  c.router.SetActiveView(&c.bottom);
  EXPECT_TRUE(c.router.StateOf(57634).Enabled().value());
  const CommandUi toggle = c.router.StateOf(1067);
  EXPECT_EQ(toggle.Check(), 1);
  EXPECT_TRUE(toggle.Enabled().value()) << "a handler but no Enable call: enabled";
}

TEST(CommandRouting, WithoutEnableCallTheCommandIsEnabledExactlyWhenSomeoneHandlesIt) {
  Chain c;
  c.frame.Commands().On(1074, nullptr);  // Test Grid: an empty handler
  c.router.SetActiveView(&c.top);
  EXPECT_TRUE(c.router.StateOf(1074).Enabled().value());
  EXPECT_TRUE(c.router.Execute(1074));
  EXPECT_FALSE(c.router.StateOf(57600).Enabled().value()) << "New has no handler";
  EXPECT_FALSE(c.router.Execute(57600));
}

TEST(CommandRouting, ContinueRoutingLetsTheNextTargetDecide) {
  Chain c;
  c.top.Commands().OnUpdate(57637, [](CommandUi& ui) {
    ui.SetText("Paste here");
    ui.ContinueRouting();
  });
  c.frame.Commands().OnUpdate(57637, [](CommandUi& ui) { ui.Enable(false); });
  c.router.SetActiveView(&c.top);
  const CommandUi state = c.router.StateOf(57637);
  EXPECT_FALSE(state.Enabled().value());
  EXPECT_EQ(state.Text(), "Paste here");
}

TEST(CommandRouting, ADisabledCommandIsNotRun) {
  Chain c;
  c.top.Handle(57634);
  c.top.Commands().OnUpdate(57634, [](CommandUi& ui) { ui.Enable(false); });
  c.router.SetActiveView(&c.top);
  EXPECT_FALSE(c.router.Execute(57634));
  EXPECT_TRUE(c.log.empty());
}

TEST(CommandRouting, OverridingOnCommandOffersCommandsToAnInnerObjectFirst) {
  std::vector<std::string> log;
  Target grid("grid", &log);
  grid.Handle(57634);
  class Pane : public Target {
   public:
    Pane(Target& inner, std::vector<std::string>* log) : Target("pane", log), inner_(inner) {}
    bool OnCommand(int id) override { return inner_.OnCommand(id) || Target::OnCommand(id); }
    bool HasCommandHandler(int id) const override {
      return inner_.HasCommandHandler(id) || Target::HasCommandHandler(id);
    }

   private:
    Target& inner_;
  } pane(grid, &log);
  pane.Handle(57634);
  pane.Handle(57607);
  CommandRouter router;
  router.AddView(&pane);
  router.SetActiveView(&pane);
  EXPECT_TRUE(router.Execute(57634));
  EXPECT_TRUE(router.Execute(57607));
  EXPECT_EQ(log, (std::vector<std::string>{"grid:57634", "pane:57607"}));
}

TEST(CommandRouting, TheActiveViewFollowsTheFocus) {
  std::vector<std::string> log;
  Target top("top", &log);
  Target bottom("bottom", &log);
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* topWidget = new QLineEdit;
  auto* bottomWidget = new QWidget;
  auto* bottomChild = new QLineEdit(bottomWidget);
  auto* outside = new QLineEdit;  // stands for the toolbar: not a view
  layout->addWidget(topWidget);
  layout->addWidget(bottomWidget);
  layout->addWidget(outside);
  CommandRouter router;
  router.AddView(&top, topWidget);
  router.AddView(&bottom, bottomWidget);
  ASSERT_TRUE(qtest_env::ShowActive(window));

  bottomChild->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(router.ActiveView(), &bottom);
  topWidget->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(router.ActiveView(), &top);
  outside->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(router.ActiveView(), &top) << "focus outside every view keeps the active view";
}

}  // namespace
