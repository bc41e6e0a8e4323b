#pragma once
// An answering seam for tests: install it with SetPromptSeam, queue the answers, run the code,
// then read what was asked. Answers are taken in order, per kind. An unanswered question is
// recorded in Unanswered() and gets the cautious answer: Cancel (No for Yes/No, OK for a lone
// OK box), no file, a rejected dialog.
//
//   auto prompts = std::make_shared<ScriptedPrompts>();
//   SetPromptSeam(prompts);
//   prompts->AnswerMessage(IDYES);
//   view.ClearHistory();
//   EXPECT_EQ(prompts->Messages().at(0).text, "Clear history");
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/framework/PromptSeam.h"

class ScriptedPrompts : public PromptSeam {
 public:
  // Works on the dialog (fill fields, click buttons; it may show() it) and returns the result;
  // return kUseDialogResult to answer with what the dialog's own buttons set.
  using DialogAnswer = std::function<int(QDialog&)>;
  static constexpr int kUseDialogResult = -1;

  struct AskedDialog {
    std::string title;      // window title when it was run
    std::string className;  // its C++ class (Qt meta-object name)
  };

  void AnswerMessage(int result) { messageAnswers_.push_back(result); }
  void AnswerFile(std::optional<std::string> path) { fileAnswers_.push_back(std::move(path)); }
  void AnswerDialog(DialogAnswer answer) { dialogAnswers_.push_back(std::move(answer)); }
  void SetOpenDocumentResult(bool result) { openResult_ = result; }

  const std::vector<MessageBoxRequest>& Messages() const { return messages_; }
  const std::vector<FileDialogRequest>& Files() const { return files_; }
  const std::vector<AskedDialog>& Dialogs() const { return dialogs_; }
  const std::vector<std::string>& Opened() const { return opened_; }
  const std::vector<unsigned>& Beeps() const { return beeps_; }
  // Questions that found no queued answer, each as "kind: text".
  const std::vector<std::string>& Unanswered() const { return unanswered_; }
  // Answers queued but never asked for.
  std::size_t PendingAnswers() const { return messageAnswers_.size() + fileAnswers_.size() + dialogAnswers_.size(); }

  int MessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
  int ExecDialog(QDialog& dialog) override;
  bool OpenDocument(const std::string& pathOrUrl) override;
  void Beep(unsigned type) override { beeps_.push_back(type); }

 private:
  std::deque<int> messageAnswers_;
  std::deque<std::optional<std::string>> fileAnswers_;
  std::deque<DialogAnswer> dialogAnswers_;
  bool openResult_ = true;
  std::vector<MessageBoxRequest> messages_;
  std::vector<FileDialogRequest> files_;
  std::vector<AskedDialog> dialogs_;
  std::vector<std::string> opened_;
  std::vector<unsigned> beeps_;
  std::vector<std::string> unanswered_;
};
