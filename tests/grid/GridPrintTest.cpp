// Printing to PDF, read back with pdftotext.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <vector>

#include "GridTestSupport.h"

namespace {

QString PdfText(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

struct PdfWord {
  QString text;
  QRectF box;  // in points
  int page;
};

// Every word of a PDF with its box, from pdftotext's bounding-box output.
std::vector<PdfWord> PdfWords(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  static const QRegularExpression pageRe(QStringLiteral("<page "));
  static const QRegularExpression wordRe(QStringLiteral(
      "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
  std::vector<PdfWord> words;
  int page = 0;
  qsizetype pos = 0;
  for (auto it = wordRe.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    page += static_cast<int>(html.mid(pos, m.capturedStart() - pos).count(pageRe));
    pos = m.capturedStart();
    const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
    words.push_back(
        {m.captured(5), QRectF(QPointF(x0, y0), QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())), page});
  }
  return words;
}

QString PrintToPdf(CGridCtrl& grid, const QString& pdf) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(pdf);
  grid.Print(printer);
  return pdf;
}

// A copy beside the screenshots, for a person to look at.
void KeepCopy(const QString& pdf, const char* name) {
  const QString dir = QStringLiteral(QELVO_GRID_SCREENSHOT_DIR);
  QDir().mkpath(dir);
  QFile::remove(dir + QLatin1Char('/') + QLatin1String(name));
  QFile::copy(pdf, dir + QLatin1Char('/') + QLatin1String(name));
}

// Pairs of words on the same page whose boxes cover each other (a hair of touching allowed).
QStringList Overlaps(const std::vector<PdfWord>& words) {
  QStringList found;
  for (std::size_t i = 0; i < words.size(); ++i)
    for (std::size_t j = i + 1; j < words.size(); ++j)
      if (words[i].page == words[j].page &&
          words[i].box.adjusted(0.5, 0.5, -0.5, -0.5).intersects(words[j].box.adjusted(0.5, 0.5, -0.5, -0.5)))
        found << words[i].text + QStringLiteral(" / ") + words[j].text;
  return found;
}

}  // namespace

TEST(GridPrint, NarrowGridPrintsAtScreenSizeWithFooterApart) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  gridtest::GridWindow w(4, 2, 1, 0);
  w.FillTexts();
  w.grid->SetCellText(0, 0, "Id");
  w.grid->SetCellText(0, 1, "Name");
  w.grid->SetCellText(1, 1, "Anne");
  gridtest::ShowActive(&w.window);

  const QString pdf = PrintToPdf(*w.grid, dir.filePath(QStringLiteral("narrow.pdf")));
  KeepCopy(pdf, "grid_print_narrow.pdf");
  const auto words = PdfWords(pdf);
  ASSERT_FALSE(words.empty()) << "pdftotext gave nothing";

  // Text 10 screen pixels high prints at about 7.5 points; a grid blown up to the paper width
  // would print it several times larger.
  const auto anne = std::find_if(words.begin(), words.end(), [](const PdfWord& x) { return x.text == "Anne"; });
  ASSERT_NE(anne, words.end());
  EXPECT_LT(anne->box.height(), 12.0) << "cell text enlarged";
  const auto pagina = std::find_if(words.begin(), words.end(), [](const PdfWord& x) { return x.text == "Pagina"; });
  ASSERT_NE(pagina, words.end());
  EXPECT_LT(pagina->box.height(), 12.0) << "footer text enlarged";
  // The footer spans the paper: its date ends near the right edge, far from the page number.
  double footerRight = 0;
  for (const auto& x : words)
    if (std::abs(x.box.top() - pagina->box.top()) < 2) footerRight = std::max(footerRight, x.box.right());
  EXPECT_GT(footerRight, 400.0) << "the footer's right text stays near the grid";
  EXPECT_TRUE(Overlaps(words).isEmpty()) << Overlaps(words).join(QStringLiteral("; ")).toStdString();
}

TEST(GridPrint, LongHeaderAndFooterTextsNeverPrintOverEachOther) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  gridtest::GridWindow w(3, 2, 1, 0);
  w.FillTexts();
  QString longLeft, longRight;
  for (int i = 0; i < 25; ++i) {
    longLeft += QStringLiteral("left%1 ").arg(i);
    longRight += QStringLiteral("right%1 ").arg(i);
  }
  w.grid->SetPrintHeaderText(longLeft.toStdString(), longRight.toStdString());
  w.grid->SetPrintFooterText(longLeft.toStdString(), longRight.toStdString());
  gridtest::ShowActive(&w.window);
  auto words = PdfWords(PrintToPdf(*w.grid, dir.filePath(QStringLiteral("long.pdf"))));
  ASSERT_FALSE(words.empty());
  EXPECT_TRUE(Overlaps(words).isEmpty()) << Overlaps(words).join(QStringLiteral("; ")).toStdString();
  // The page number is never the piece given up.
  EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const PdfWord& x) { return x.text == "Pagina"; }));

  // A one-line footer shortens the right text rather than print it over the left one.
  w.grid->SetPrintMargins(1, 1, -1, -1, -1, -1, -1);
  words = PdfWords(PrintToPdf(*w.grid, dir.filePath(QStringLiteral("oneline.pdf"))));
  ASSERT_FALSE(words.empty());
  EXPECT_TRUE(Overlaps(words).isEmpty()) << Overlaps(words).join(QStringLiteral("; ")).toStdString();
  EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const PdfWord& x) { return x.text == "Pagina"; }));
}

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

  const QString pdf = PrintToPdf(*w.grid, dir.filePath(QStringLiteral("grid.pdf")));
  const int pages = w.grid->GetPrintPageCount();
  ASSERT_GT(pages, 1);
  KeepCopy(pdf, "grid_print.pdf");

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
