#include "workspace/ui/TableCounting.h"

#include <QCoreApplication>
#include <QStatusBar>

#include "platform/framework/EscapeWatch.h"
#include "text/StringFormat.h"
#include "workspace/ui/SchemaBrowsing.h"

std::vector<long> CountTableRecordsInteractively(DbConnection& connection,
                                                 const std::vector<std::pair<std::string, int>>& entries,
                                                 NameQuoteStyle style, const SettingsStore& settings,
                                                 QStatusBar* statusBar) {
  std::vector<long> counts;
  counts.reserve(entries.size());
  EscapeWatch escape;  // Esc stops the counting; other input waits
  const std::size_t total = entries.size();
  for (std::size_t i = 0; i < total && !escape.EscapePressed(); ++i) {
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
