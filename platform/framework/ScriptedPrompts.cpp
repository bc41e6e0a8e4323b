#include "platform/framework/ScriptedPrompts.h"

#include <QDialog>

#include "platform/framework/MessageBox.h"

int ScriptedPrompts::MessageBox(const MessageBoxRequest& request) {
  messages_.push_back(request);
  if (!messageAnswers_.empty()) {
    int answer = messageAnswers_.front();
    messageAnswers_.pop_front();
    return answer;
  }
  unanswered_.push_back("message: " + request.text);
  switch (request.type & MB_TYPEMASK) {
    case MB_OK:
      return IDOK;
    case MB_YESNO:
      return IDNO;
    default:
      return IDCANCEL;
  }
}

std::optional<std::string> ScriptedPrompts::FileDialog(const FileDialogRequest& request) {
  files_.push_back(request);
  if (!fileAnswers_.empty()) {
    std::optional<std::string> answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
  }
  unanswered_.push_back("file: " + request.title);
  return std::nullopt;
}

int ScriptedPrompts::ExecDialog(QDialog& dialog) {
  dialogs_.push_back({dialog.windowTitle().toStdString(), dialog.metaObject()->className()});
  if (dialogAnswers_.empty()) {
    unanswered_.push_back("dialog: " + dialog.windowTitle().toStdString());
    dialog.setResult(QDialog::Rejected);
    return QDialog::Rejected;
  }
  // Taken off the queue first: the answer may run code that asks further questions.
  DialogAnswer answer = std::move(dialogAnswers_.front());
  dialogAnswers_.pop_front();
  dialog.setResult(QDialog::Rejected);
  int result = answer(dialog);
  if (result == kUseDialogResult) result = dialog.result();
  dialog.hide();
  return result;
}

bool ScriptedPrompts::OpenDocument(const std::string& pathOrUrl) {
  opened_.push_back(pathOrUrl);
  return openResult_;
}
