// Format Query, Open and Save As: commands on the query editor's text as a whole.
#include <QPlainTextEdit>

#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "workspace/QueryFormatter.h"
#include "workspace/ScriptFile.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/QelvoView.h"

void CQelvoView::FormatQueryText() {
  SetQueryText(FormatQuery(QueryText(), AppSettings()));
}

void CQelvoView::OpenScript() {
  FileDialogRequest request;
  request.parent = this;
  request.mode = FileDialogRequest::Mode::Open;
  request.filter = ScriptFileFilter;
  request.defaultExtension = ScriptFileExtension;
  request.fileMustExist = true;
  std::optional<std::string> path = Prompts().FileDialog(request);
  if (!path) return;
  try {
    SetQueryText(ReadScriptFile(*path));
  } catch (const ScriptFileError& error) {
    QelvoMessageBox(error.what(), MB_OK | MB_ICONSTOP, this);
  }
}

void CQelvoView::SaveScriptAs() {
  const std::string text = QueryText();
  FileDialogRequest request;
  request.parent = this;
  request.mode = FileDialogRequest::Mode::Save;
  request.filter = ScriptFileFilter;
  request.defaultExtension = ScriptFileExtension;
  request.overwritePrompt = true;
  request.noReadOnlyReturn = true;
  std::optional<std::string> path = Prompts().FileDialog(request);
  if (!path) return;
  try {
    WriteScriptFile(*path, text);
  } catch (const ScriptFileError& error) {
    QelvoMessageBox(error.what(), MB_OK | MB_ICONSTOP, this);
  }
}
