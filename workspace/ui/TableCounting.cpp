#include "workspace/ui/TableCounting.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QStatusBar>

#include "data/ValueFormat.h"
#include "workspace/ui/SchemaBrowsing.h"

namespace {

// Watches the whole application while counting: Esc asks to stop, other input is dropped.
class StopOnEscape : public QObject {
 public:
  StopOnEscape() { QCoreApplication::instance()->installEventFilter(this); }
  ~StopOnEscape() override { QCoreApplication::instance()->removeEventFilter(this); }
  bool Stopped() const { return stopped_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) stopped_ = true;
        return true;
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::Close:
        return true;
      default:
        return false;
    }
  }

 private:
  bool stopped_ = false;
};

}  // namespace

std::vector<long> CountTableRecordsInteractively(DbConnection& connection,
                                                 const std::vector<std::pair<std::string, int>>& entries,
                                                 NameQuoteStyle style, const SettingsStore& settings,
                                                 QStatusBar* statusBar) {
  std::vector<long> counts;
  counts.reserve(entries.size());
  StopOnEscape escape;
  const std::size_t total = entries.size();
  for (std::size_t i = 0; i < total && !escape.Stopped(); ++i) {
    const std::string& name = entries[i].first;
    if (statusBar) {
      statusBar->showMessage(
          QString::fromStdString(FormatString("Counting %s (%zu of %zu)...", name.c_str(), i + 1, total)));
      statusBar->repaint();
    }
    counts.push_back(CountTableRecords(connection, DelimitTableNameFor(name, style, settings)));
    QCoreApplication::processEvents();
  }
  counts.resize(total, kNoRecordCount);
  if (statusBar) statusBar->clearMessage();
  return counts;
}
