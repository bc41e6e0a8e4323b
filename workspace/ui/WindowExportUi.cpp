#include "workspace/ui/WindowExportUi.h"

#include <QCoreApplication>

#include "platform/framework/EscapeWatch.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/WaitCursor.h"
#include "workspace/ui/StatusPanes.h"

namespace {
constexpr qint64 kProgressIntervalMs = 200;

unsigned IconFlags(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return MB_ICONERROR;
    case MessageIcon::Exclamation:
      return MB_ICONEXCLAMATION;
    case MessageIcon::Information:
      return MB_ICONINFORMATION;
  }
  return 0;
}

}  // namespace

WindowExportUi::WindowExportUi(StatusPanes* panes, QWidget* parent) : panes_(panes), parent_(parent) {}

WindowExportUi::~WindowExportUi() = default;

void WindowExportUi::ResetStatusPanes() {
  if (panes_) panes_->ResetStatusPanes();
}

void WindowExportUi::SetRecordCountPane(const std::string& text) {
  if (panes_) panes_->SetRecordCountPane(text);
}

void WindowExportUi::SetElapsedPane(long milliseconds) {
  if (panes_) panes_->SetElapsedPane(milliseconds);
}

void WindowExportUi::BeginWaitCursor() {
  if (waitDepth_++ == 0) wait_ = std::make_unique<WaitCursor>();
}

void WindowExportUi::EndWaitCursor() {
  if (waitDepth_ > 0 && --waitDepth_ == 0) wait_.reset();
}

void WindowExportUi::ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) {
  if (caption.empty())
    QelvoMessageBox(text, MB_OK | IconFlags(icon), parent_);
  else
    ShowMessageBox(nullptr, text, caption, MB_OK | IconFlags(icon));
  if (wait_) wait_->Restore();
}

bool WindowExportUi::Progress(const std::string& table, long rows) {
  if (canceled_) return false;
  if (shown_.isValid() && shown_.elapsed() < kProgressIntervalMs) return true;
  shown_.start();
  std::string text = table.empty() ? std::string() : table + ": ";
  text += std::to_string(rows) + " rows";
  SetRecordCountPane(text);
  // The panes repaint and Esc is seen; every other input waits for the export's end.
  {
    EscapeWatch escape;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (escape.EscapePressed()) canceled_ = true;
  }
  return !canceled_;
}
