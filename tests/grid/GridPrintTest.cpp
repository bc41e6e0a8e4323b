// Printing to PDF, read back with pdftotext.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "GridTestSupport.h"

namespace {

QString PdfText(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(GridPrint, PdfHoldsHeaderHeadingsCellsAndPageFooters) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  gridtest::GridWindow w(120, 4, 1, 1);
  w.FillTexts();
  w.grid->SetCellText(0, 1, "Customer");
  w.grid->SetCellText(0, 2, "Amount");
  w.grid->SetCellText(1, 1, "Anne Smith");
  w.grid->SetCellText(119, 3, "last!");
  w.grid->SelectRange(1, 1, 3, 3);  // selection and focus do not print
  w.grid->SetPrintFooterText("", "printed by the test");
  gridtest::ShowActive(&w.window);

  const QString pdf = dir.filePath(QStringLiteral("grid.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  w.grid->Print(printer);
  const int pages = w.grid->GetPrintPageCount();
  ASSERT_GT(pages, 1);

  // A copy beside the screenshots, for a person to look at.
  QDir().mkpath(QStringLiteral(QELVO_GRID_SCREENSHOT_DIR));
  QFile::remove(QStringLiteral(QELVO_GRID_SCREENSHOT_DIR "/grid_print.pdf"));
  QFile::copy(pdf, QStringLiteral(QELVO_GRID_SCREENSHOT_DIR "/grid_print.pdf"));

  const QString text = PdfText(pdf);
  ASSERT_FALSE(text.isEmpty()) << "pdftotext gave nothing";
  EXPECT_TRUE(text.contains(QStringLiteral("Grid test window"))) << "header: the window's title";
  EXPECT_TRUE(text.contains(QStringLiteral("Qelvo"))) << "header: the application title";
  EXPECT_TRUE(text.contains(QStringLiteral("Anne Smith")));
  EXPECT_TRUE(text.contains(QStringLiteral("last!")));
  EXPECT_TRUE(text.contains(QStringLiteral("Pagina 1 of %1").arg(pages)));
  EXPECT_TRUE(text.contains(QStringLiteral("Pagina %1 of %1").arg(pages)));
  EXPECT_TRUE(text.contains(QStringLiteral("printed by the test - ")));
  EXPECT_EQ(text.count(QStringLiteral("Customer")), pages) << "the headings repeat on every page";
  // Every row printed once, none lost between pages.
  for (int r = 2; r < 119; r += 13) EXPECT_EQ(text.count(QStringLiteral("r%1c2").arg(r)), 1) << "row " << r;
}
