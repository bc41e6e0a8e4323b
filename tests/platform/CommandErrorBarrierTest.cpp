// Errors that escape command and update handlers stop at the router: traced, shown in a box
// through the prompt seam, and the program goes on with the next command.
#include <gtest/gtest.h>

#include <QAction>
#include <QWidget>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/Trace.h"
#include "data/ado/ComError.h"
#include "platform/framework/CommandActions.h"
#include "platform/framework/CommandRouter.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/ScriptedPrompts.h"
#include "tests/platform/QtTestEnvironment.h"

namespace {

constexpr int kThrowsComError = 32784;
constexpr int kThrowsStdError = 32785;
constexpr int kThrowsInt = 32786;
constexpr int kWorks = 32790;
constexpr int kUpdateThrows = 57634;

class CommandErrorBarrier : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetPromptSeam(prompts_);
    TraceSetEnabled(true);
    auto errors = errors_;
    TraceSetObserver([errors](const std::string&, char kind, const std::string& text) {
      if (kind == TraceError) errors->push_back(text);
    });
    frame_.Commands().On(kThrowsComError,
                         [] { throw ado::ComError(ado::E_FAIL, "no such table: Nowhere", "Provider"); });
    frame_.Commands().On(kThrowsStdError, [] { throw std::runtime_error("the disk is full"); });
    frame_.Commands().On(kThrowsInt, [] { throw 7; });
    frame_.Commands().On(kWorks, [this] { ++worked_; });
    frame_.Commands().On(kUpdateThrows, [this] { ++worked_; });
    frame_.Commands().OnUpdate(kUpdateThrows,
                               [](CommandUi&) { throw ado::ComError(ado::E_UNEXPECTED, "lost connection"); });
    router_.SetFrame(&frame_);
  }
  void TearDown() override {
    TraceSetObserver({});
    SetPromptSeam(previous_);
  }

  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const MessageBoxRequest& m : prompts_->Messages()) {
      EXPECT_EQ(m.caption, kApplicationTitle);
      EXPECT_EQ(m.type, MB_OK | MB_ICONEXCLAMATION);
      texts.push_back(m.text);
    }
    return texts;
  }

  std::shared_ptr<ScriptedPrompts> prompts_ = std::make_shared<ScriptedPrompts>();
  std::shared_ptr<PromptSeam> previous_;
  std::shared_ptr<std::vector<std::string>> errors_ = std::make_shared<std::vector<std::string>>();
  CommandTarget frame_;
  CommandRouter router_;
  int worked_ = 0;
};

TEST_F(CommandErrorBarrier, AnEscapingErrorIsShownTracedAndTheNextCommandRuns) {
  EXPECT_TRUE(router_.Execute(kThrowsComError));
  EXPECT_TRUE(router_.Execute(kThrowsStdError));
  EXPECT_TRUE(router_.Execute(kThrowsInt));
  EXPECT_TRUE(router_.Execute(kWorks));
  EXPECT_EQ(worked_, 1);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"no such table: Nowhere", "the disk is full", "Unknown error"}));
  ASSERT_EQ(errors_->size(), 3u);
  EXPECT_NE(errors_->at(0).find("no such table: Nowhere"), std::string::npos) << errors_->at(0);
  EXPECT_NE(errors_->at(0).find(std::to_string(kThrowsComError)), std::string::npos) << errors_->at(0);
  EXPECT_NE(errors_->at(1).find("the disk is full"), std::string::npos) << errors_->at(1);
}

TEST_F(CommandErrorBarrier, AThrowingUpdateDisablesItsCommandAndIsShownOnce) {
  EXPECT_FALSE(router_.StateOf(kUpdateThrows).Enabled().value());
  EXPECT_FALSE(router_.StateOf(kUpdateThrows).Enabled().value());
  EXPECT_FALSE(router_.Execute(kUpdateThrows));
  EXPECT_EQ(worked_, 0) << "a command whose state is unknown does not run";
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"lost connection"});
  EXPECT_EQ(errors_->size(), 3u) << "every failure is traced";
  EXPECT_TRUE(router_.StateOf(kWorks).Enabled().value());
}

TEST_F(CommandErrorBarrier, TriggeredActionsAndIdleUpdatesGoThroughTheBarrier) {
  QWidget window;
  CommandActions actions(router_, &window);
  QAction* failing = actions.Action(kThrowsComError);
  QAction* updating = actions.Action(kUpdateThrows);
  failing->trigger();
  actions.UpdateIdle();
  EXPECT_FALSE(updating->isEnabled());
  EXPECT_TRUE(failing->isEnabled());
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"no such table: Nowhere", "lost connection"}));
}

}  // namespace
