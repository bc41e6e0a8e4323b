// Tools > Configuration end to end: what OK keeps and Cancel drops, the font and icon that act at
// once, pages never opened, the page controls' rules, and every Grid setting reaching the grid.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <functional>

#include "data/DbRecordset.h"
#include "grid/db/DbGridCtrl.h"
#include "platform/UpDownControl.h"
#include "resources/CommandIds.h"
#include "tests/data/ado/TraceRecorder.h"
#include "tests/e2e/E2eSupport.h"
#include "text/UserLocale.h"
#include "ui/SharedFont.h"
#include "workspace/QSettingsProfileStore.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/ConfigEditor.h"
#include "workspace/ui/ConfigPageGrid.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"

namespace e2e {
namespace {

using General = CConfigPageGeneral;
using Grid = CConfigPageGrid;
using Texts = std::vector<std::string>;

void Type(QLineEdit* edit, const std::string& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, QString::fromStdString(text));
}

void SetCheck(QWidget* control, bool on) {
  auto* box = qobject_cast<QCheckBox*>(control);
  ASSERT_NE(box, nullptr);
  if (box->isChecked() != on) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  ASSERT_EQ(box->isChecked(), on);
}

class ConfigEditorTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    db_ = data_.File("config.db");
    MakeSqliteDatabase(db_, {
                                "CREATE TABLE Items (ID INTEGER PRIMARY KEY, Name VARCHAR(40), Qty INTEGER, "
                                "Since DATETIME)",
                                "INSERT INTO Items VALUES (1, 'Apple', 12345, '2003-02-01 10:20:30')",
                                "INSERT INTO Items VALUES (2, NULL, 25, '2003-02-05 08:00:00')",
                                "INSERT INTO Items VALUES (3, 'A cherry with a rather long name', 5, "
                                "'2004-07-10 23:59:00')",
                            });
  }

  std::string SettingsFile() const { return settings_.Path() + "/Tolvane/Qelvo.conf"; }
  std::string Saved(const char* section, const char* key) const {
    return QSettingsProfileStore(SettingsFile()).ReadString(section, key).value_or("<absent>");
  }

  Program& StartAndRun() {
    Program& p = Start();
    p.TypeConnection(SqliteConnectionString(db_));
    p.TypeQuery("SELECT ID, Name, Qty, Since FROM Items ORDER BY ID");
    p.PressExecute();
    return p;
  }

  // Runs Tools > Configuration; `edit` works on the shown sheet, which then closes with OK or
  // Cancel. Returns what the sheet's copy held when it closed.
  SettingsStore Configure(const std::function<void(CConfigEditor&)>& edit, bool ok = true) {
    SettingsStore seen;
    prompts_->AnswerDialog([&](QDialog& dialog) {
      auto& sheet = dynamic_cast<CConfigEditor&>(dialog);
      sheet.show();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(&sheet));
      edit(sheet);
      auto* buttons = sheet.findChild<QDialogButtonBox*>();
      buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
      seen = sheet.Settings();
      return ScriptedPrompts::kUseDialogResult;
    });
    EXPECT_TRUE(P().RunCommand(ID_CONFIGURATION));
    EXPECT_EQ(prompts_->PendingAnswers(), 0u);
    return seen;
  }

  // The font dialog's answer: the current font at another size.
  void PickFont(int points, bool bold) {
    prompts_->AnswerDialog([points, bold](QDialog& dialog) {
      auto& fonts = dynamic_cast<QFontDialog&>(dialog);
      QFont chosen = fonts.currentFont();
      chosen.setPointSize(points);
      chosen.setBold(bold);
      fonts.setCurrentFont(chosen);
      fonts.accept();
      return ScriptedPrompts::kUseDialogResult;
    });
  }

  // The same on the Grid page.
  void ConfigureGrid(const std::function<void(CConfigPageGrid&)>& edit) {
    Configure([&](CConfigEditor& sheet) {
      sheet.SetActivePage(1);
      edit(*sheet.GridPage());
    });
  }

  std::string db_;
};

TEST_F(ConfigEditorTest, OkKeepsTheValuesEverywhereAndAcrossARestart) {
  Program& p = StartAndRun();
  EXPECT_EQ(p.Cell(p.Grid().GetFirstDataRow() + 1, 2), "<null>");
  Configure([this](CConfigEditor& sheet) {
    PickFont(15, false);
    QTest::mouseClick(sheet.GeneralPage()->As<QPushButton>(General::kFontBrowse), Qt::LeftButton);
    Type(sheet.GeneralPage()->As<QLineEdit>(General::kBatchSeparator), "GO");
    sheet.SetActivePage(1);
    Type(sheet.GridPage()->As<QLineEdit>(Grid::kNullLabel), "(nothing)");
    sheet.GridPage()->As<QComboBox>(Grid::kDateTimeFormat)->setCurrentIndex(2);
  });
  const std::string font = SharedDisplayFont().ToText();
  EXPECT_EQ(AppSettings().GetString("General", "Font"), font);
  EXPECT_EQ(AppSettings().GetString("General", "BatchSeparator"), "GO");
  // Written to the profile at once, not only when the program ends.
  EXPECT_EQ(Saved("General", "Font"), font);
  EXPECT_EQ(Saved("Grid", "NullFieldLabel"), "(nothing)");
  EXPECT_EQ(Saved("Grid", "DateTimeFormat"), "2");
  // The grid and the editors show the change without running the query again.
  const int first = p.Grid().GetFirstDataRow();
  EXPECT_EQ(p.Cell(first + 1, 2), "(nothing)");
  EXPECT_EQ(p.Cell(first, 4), "01/02/2003 10:20:30");
  EXPECT_EQ(p.Workspace().QueryEditor()->font(), *SharedDisplayFont().Font());

  Stop();
  Program& again = StartAndRun();
  EXPECT_EQ(SharedDisplayFont().ToText(), font);
  EXPECT_EQ(again.Workspace().QueryEditor()->font().pixelSize(), -SharedDisplayFont().GetLogFont().height);
  EXPECT_EQ(again.Cell(again.Grid().GetFirstDataRow() + 1, 2), "(nothing)");
}

TEST_F(ConfigEditorTest, CancelDropsTheValuesButTheFontAndIconStayForTheRun) {
  Program& p = StartAndRun();
  const std::string oldFont = AppSettings().GetString("General", "Font");
  EXPECT_EQ(p.Frame().FrameIconId(), IDR_MAINFRAME);
  const QImage before = p.Frame().windowIcon().pixmap(32).toImage();
  Configure(
      [this](CConfigEditor& sheet) {
        PickFont(16, true);
        QTest::mouseClick(sheet.GeneralPage()->As<QPushButton>(General::kFontBrowse), Qt::LeftButton);
        // The sunken display names the new font.
        EXPECT_EQ(sheet.GeneralPage()->As<QLabel>(General::kFont)->text().toStdString(),
                  SharedDisplayFont().ToDisplayName(true));
        sheet.GeneralPage()->As<QComboBox>(General::kIcon)->setCurrentIndex(2);
        Type(sheet.GeneralPage()->As<QLineEdit>(General::kSplitWords), "SELECT");
        sheet.SetActivePage(1);
        Type(sheet.GridPage()->As<QLineEdit>(Grid::kNullLabel), "(nothing)");
      },
      false);
  EXPECT_EQ(p.Frame().FrameIconId(), IDI_ICON_RED);
  EXPECT_NE(p.Frame().windowIcon().pixmap(32).toImage(), before);
  EXPECT_NE(SharedDisplayFont().ToText(), oldFont);
  EXPECT_EQ(p.Workspace().QueryEditor()->font().pixelSize(), -SharedDisplayFont().GetLogFont().height);
  EXPECT_EQ(AppSettings().GetString("General", "Font"), oldFont);
  EXPECT_EQ(Saved("General", "Font"), oldFont);
  EXPECT_EQ(AppSettings().GetString("Format", "SplitWords"),
            "SELECT|FROM|LEFT|INNER|RIGHT|WHERE|ORDER|LIMIT|GROUP|HAVING");
  EXPECT_EQ(AppSettings().GetString("Grid", "NullFieldLabel"), "<null>");
  EXPECT_EQ(p.Cell(p.Grid().GetFirstDataRow() + 1, 2), "<null>");

  // The icon is never a setting: the next start has the yellow one, and the old font.
  Stop();
  Program& again = Start();
  EXPECT_EQ(again.Frame().FrameIconId(), IDR_MAINFRAME);
  EXPECT_EQ(SharedDisplayFont().ToText(), oldFont);
}

TEST_F(ConfigEditorTest, APageNeverOpenedStoresNothing) {
  Start();
  // Values the Grid page would rewrite in its own form if it stored them.
  AppSettings().SetText("Grid", "ViewDetails", "7");
  AppSettings().SetText("Grid", "AutoSizeColumns", "");
  AppSettings().SetText("Excel", "CsvSeparator", "tab");
  Configure([](CConfigEditor& sheet) {
    EXPECT_TRUE(sheet.GeneralPage()->IsLoaded());
    EXPECT_FALSE(sheet.GridPage()->IsLoaded());
  });
  EXPECT_EQ(AppSettings().GetString("Grid", "ViewDetails"), "7");
  EXPECT_EQ(AppSettings().GetString("Grid", "AutoSizeColumns"), "");
  EXPECT_EQ(AppSettings().GetString("Excel", "CsvSeparator"), "tab");

  // Opened, it stores what its controls show.
  Configure([](CConfigEditor& sheet) { sheet.SetActivePage(1); });
  EXPECT_EQ(AppSettings().GetString("Grid", "ViewDetails"), "1");
  EXPECT_EQ(AppSettings().GetString("Grid", "AutoSizeColumns"), "0");
  EXPECT_EQ(AppSettings().GetString("Excel", "CsvSeparator"), "t");
}

TEST_F(ConfigEditorTest, SpinRangesBoundTheArrowsButNeverTypedText) {
  Start();
  Configure([](CConfigEditor& sheet) {
    CConfigPageGeneral& general = *sheet.GeneralPage();
    auto* cache = general.As<QLineEdit>(General::kCacheSize);
    EXPECT_EQ(cache->text(), "20");
    Type(cache, "5000");
    EXPECT_EQ(cache->text(), "5000");
    // Digits only.
    QTest::keyClicks(cache, "x-");
    EXPECT_EQ(cache->text(), "5000");

    sheet.SetActivePage(1);
    CConfigPageGrid& grid = *sheet.GridPage();
    auto* maxRows = grid.As<QLineEdit>(Grid::kMaxRows);
    Type(maxRows, "250000");
    auto* width = grid.As<QLineEdit>(Grid::kNumericWidth);
    EXPECT_EQ(width->text(), "10");
    QTest::keyClick(width, Qt::Key_Up);
    EXPECT_EQ(width->text(), "11");
    Type(width, "19");
    QTest::keyClick(width, Qt::Key_Up);
    QTest::keyClick(width, Qt::Key_Up);
    EXPECT_EQ(width->text(), "20") << "the arrows stop at the range's end";
    // The arrows inside an edit go with it.
    width->setEnabled(false);
    EXPECT_FALSE(grid.Spin(Grid::kNumericWidth)->isEnabled());
    width->setEnabled(true);
    EXPECT_TRUE(grid.Spin(Grid::kNumericWidth)->isEnabled());
    grid.Spin(Grid::kMinColWidth)->Step(-1);
    EXPECT_EQ(grid.As<QLineEdit>(Grid::kMinColWidth)->text(), "0");
    grid.Spin(Grid::kMaxRows)->Step(1);
    EXPECT_EQ(maxRows->text(), "100000") << "the arrows bring a value back into the range";
    Type(maxRows, "250000");
  });
  EXPECT_EQ(AppSettings().GetString("History", "CacheSize"), "5000");
  EXPECT_EQ(AppSettings().GetString("Grid", "MaxDataRows"), "250000");
  EXPECT_EQ(AppSettings().GetString("Grid", "NumericWidth"), "20");
}

TEST_F(ConfigEditorTest, PageControlsFollowTheirRules) {
  Start();
  AppSettings().SetText("General", "CursorLocationType", "0");
  AppSettings().SetText("General", "ScriptFileReader", "sh");
  prompts_->AnswerFile(std::string("/usr/bin/less"));
  const SettingsStore seen = Configure([](CConfigEditor& sheet) {
    CConfigPageGeneral& general = *sheet.GeneralPage();
    auto* cursor = general.As<QComboBox>(General::kCursorLocation);
    EXPECT_EQ(cursor->count(), 4);
    EXPECT_EQ(cursor->currentText(), "???");
    cursor->setCurrentIndex(2);
    QTest::mouseClick(general.As<QPushButton>(General::kScriptReaderBrowse), Qt::LeftButton);
    EXPECT_EQ(general.As<QLineEdit>(General::kScriptReader)->text(), "/usr/bin/less");
    auto* icons = general.As<QComboBox>(General::kIcon);
    ASSERT_EQ(icons->count(), 4);
    EXPECT_EQ(icons->itemText(0), "yellow");
    EXPECT_EQ(icons->itemText(3), "blue");
    EXPECT_EQ(icons->currentIndex(), 0);

    sheet.SetActivePage(1);
    CConfigPageGrid& grid = *sheet.GridPage();
    EXPECT_FALSE(grid.Control(Grid::kViewExtendedDetails)->isEnabled());
    EXPECT_FALSE(grid.Control(Grid::kCsvSeparator)->isEnabled());
    SetCheck(grid.Control(Grid::kViewDetails), true);
    EXPECT_TRUE(grid.Control(Grid::kViewExtendedDetails)->isEnabled());
    SetCheck(grid.Control(Grid::kViewExtendedDetails), true);
    SetCheck(grid.Control(Grid::kViewDetails), false);
    EXPECT_FALSE(grid.Control(Grid::kViewExtendedDetails)->isEnabled());
    SetCheck(grid.Control(Grid::kUseCsv), true);
    auto* separator = grid.As<QLineEdit>(Grid::kCsvSeparator);
    EXPECT_TRUE(separator->isEnabled());
    Type(separator, ",;");
    EXPECT_EQ(separator->text(), ",");
  });
  ASSERT_EQ(prompts_->Files().size(), 1u);
  const FileDialogRequest& request = prompts_->Files()[0];
  EXPECT_TRUE(request.fileMustExist);
  EXPECT_NE(request.filter.find("All files"), std::string::npos);
  // A bare program name starts the dialog at that program.
  EXPECT_EQ(request.initialName, QStandardPaths::findExecutable("sh").toStdString());
  EXPECT_EQ(request.initialName.front(), '/');
  EXPECT_EQ(seen.GetString("General", "CursorLocationType"), "2");
  EXPECT_EQ(AppSettings().GetString("General", "ScriptFileReader"), "/usr/bin/less");
  EXPECT_EQ(RecordsetCursorLocation, 2);
  // A disabled box keeps what it shows.
  EXPECT_EQ(AppSettings().GetString("Grid", "ViewExtendedDetails"), "1");
  EXPECT_EQ(AppSettings().GetString("Grid", "ViewDetails"), "0");
  EXPECT_EQ(AppSettings().GetString("Excel", "EnableCsv"), "1");
  EXPECT_EQ(AppSettings().GetString("Excel", "CsvSeparator"), ",");
}

TEST_F(ConfigEditorTest, AltCOpensTheSheetOnItsGeneralPage) {
  Program& p = Start();
  prompts_->AnswerDialog([](QDialog& dialog) {
    auto& sheet = dynamic_cast<CConfigEditor&>(dialog);
    sheet.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    EXPECT_EQ(sheet.Tabs()->count(), 2);
    EXPECT_EQ(sheet.Tabs()->tabText(0), "General");
    EXPECT_EQ(sheet.Tabs()->tabText(1), "Grid");
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);
    const std::string folder = QELVO_E2E_SCREENSHOTS;
    QDir().mkpath(QString::fromStdString(folder));
    sheet.grab().save(QString::fromStdString(folder + "/config_general.png"));
    sheet.SetActivePage(1);
    sheet.grab().save(QString::fromStdString(folder + "/config_grid.png"));
    return int(QDialog::Rejected);
  });
  p.Workspace().QueryEditor()->setFocus();
  QTest::keyClick(p.Workspace().QueryEditor(), Qt::Key_C, Qt::AltModifier);
  Settle();
  ASSERT_EQ(prompts_->Dialogs().size(), 1u);
  EXPECT_EQ(prompts_->Dialogs()[0].title, "Configuration");
}

TEST_F(ConfigEditorTest, AStoredCursorLocationThatIsNoneFallsBackToTheClientCursor) {
  Program& p = StartAndRun();
  ASSERT_EQ(p.DataRowCount(), 3);
  TraceRecorder trace;
  Configure([](CConfigEditor& sheet) {
    auto* cursor = sheet.GeneralPage()->As<QComboBox>(General::kCursorLocation);
    cursor->setCurrentIndex(0);
    EXPECT_EQ(cursor->currentText(), "???");
  });
  EXPECT_EQ(AppSettings().GetString("General", "CursorLocationType"), "0") << "the list's choice is stored";
  EXPECT_EQ(RecordsetCursorLocation, 3);
  EXPECT_TRUE(trace.Has("W|cursor location 0 is not valid: the client cursor is used")) << trace.All();
  p.PressExecute();
  EXPECT_EQ(p.DataRowCount(), 3) << "queries still run";

  // The same when the value comes from the profile at start-up.
  Stop();
  RecordsetCursorLocation = 2;
  Program& again = StartAndRun();
  EXPECT_EQ(RecordsetCursorLocation, 3);
  EXPECT_EQ(again.DataRowCount(), 3);
}

TEST_F(ConfigEditorTest, EveryTextOfBothPagesShowsWholeInsideItsPage) {
  Start();
  Configure([](CConfigEditor& sheet) {
    for (QWidget* page : {static_cast<QWidget*>(sheet.GeneralPage()), static_cast<QWidget*>(sheet.GridPage())}) {
      int texts = 0;
      for (QWidget* control : page->findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(control)) text = label->text();
        // Check boxes and radio buttons: push buttons keep a style minimum that is no text of theirs.
        if (auto* button = qobject_cast<QAbstractButton*>(control); button && !qobject_cast<QPushButton*>(control))
          text = button->text();
        if (text.isEmpty()) continue;
        ++texts;
        EXPECT_GE(control->width(), control->sizeHint().width()) << "cut: " << text.toStdString();
        EXPECT_TRUE(page->rect().contains(control->geometry())) << "outside its page: " << text.toStdString();
      }
      EXPECT_GT(texts, 10);
    }
  });
}

TEST_F(ConfigEditorTest, RowLayoutSettingsReachTheGrid) {
  Program& p = StartAndRun();
  ASSERT_EQ(p.DataRowCount(), 3);
  ASSERT_EQ(p.Grid().GetDetailRowCount(), 0);
  ASSERT_NE(p.Grid().GetFilterRow(), -2);

  ConfigureGrid([](CConfigPageGrid& grid) { SetCheck(grid.Control(Grid::kViewDetails), true); });
  EXPECT_EQ(p.Grid().GetDetailRowCount(), 4);
  EXPECT_EQ(p.Cell(0, 2), "Name");
  EXPECT_EQ(p.Column(2), (Texts{"Apple", "<null>", "A cherry with a rather long name"}));

  ConfigureGrid([](CConfigPageGrid& grid) { SetCheck(grid.Control(Grid::kViewExtendedDetails), true); });
  EXPECT_EQ(p.Grid().GetDetailRowCount(), 11);
  EXPECT_EQ(p.DataRowCount(), 3);

  ConfigureGrid([](CConfigPageGrid& grid) {
    SetCheck(grid.Control(Grid::kViewDetails), false);
    SetCheck(grid.Control(Grid::kUseFilters), false);
    SetCheck(grid.Control(Grid::kDisplayRecno), true);
  });
  EXPECT_EQ(p.Grid().GetDetailRowCount(), 0);
  EXPECT_EQ(p.Grid().GetFilterRow(), -2);
  EXPECT_EQ(p.Grid().GetFirstDataRow(), 1);
  EXPECT_EQ(p.Column(0), (Texts{"1", "2", "3"}));

  ConfigureGrid([](CConfigPageGrid& grid) { Type(grid.As<QLineEdit>(Grid::kMaxRows), "2"); });
  EXPECT_EQ(p.DataRowCount(), 2);
  EXPECT_EQ(p.Column(1), (Texts{"1", "2"}));
  ConfigureGrid([](CConfigPageGrid& grid) { Type(grid.As<QLineEdit>(Grid::kMaxRows), "0"); });
  EXPECT_EQ(p.DataRowCount(), 3);
}

TEST_F(ConfigEditorTest, ValueSettingsReachTheGrid) {
  SetUserNumericLocale("it_IT.UTF-8");
  Program& p = StartAndRun();
  const int first = p.Grid().GetFirstDataRow();
  EXPECT_EQ(p.Cell(first, 3), "12345");
  EXPECT_EQ(p.Cell(first, 4), "01/02/2003");
  EXPECT_EQ(p.Grid().GetCellBackColour(first, 2), CLR_DEFAULT);

  ConfigureGrid([](CConfigPageGrid& grid) {
    SetCheck(grid.Control(Grid::kThousandSeparator), true);
    SetCheck(grid.Control(Grid::kColorize), true);
    Type(grid.As<QLineEdit>(Grid::kNullLabel), "-");
    grid.As<QComboBox>(Grid::kDateTimeFormat)->setCurrentIndex(1);
  });
  EXPECT_EQ(p.Cell(first, 3), "12.345");
  EXPECT_EQ(p.Cell(first + 1, 2), "-");
  EXPECT_EQ(p.Cell(first, 4), "10:20:30");
  EXPECT_NE(p.Grid().GetCellBackColour(first, 2), CLR_DEFAULT);
  SetUserNumericLocale("");
}

TEST_F(ConfigEditorTest, ColumnAndEditSettingsReachTheGrid) {
  Program& p = StartAndRun();
  const QFontMetrics metrics(p.Grid().GetDefaultCell(false, false)->GetFont());
  const int longName = metrics.horizontalAdvance("A cherry with a rather long name");
  EXPECT_GE(p.Grid().GetColumnWidth(2), longName);
  EXPECT_FALSE(p.Grid().IsEditable());

  // Header only: the Name column fits its title, not the long value.
  ConfigureGrid([](CConfigPageGrid& grid) {
    grid.As<QComboBox>(Grid::kAutoFit)->setCurrentIndex(1);
    SetCheck(grid.Control(Grid::kExpandLastColumn), false);
    SetCheck(grid.Control(Grid::kInPlaceEdit), true);
    SetCheck(grid.Control(Grid::kSortable), false);
  });
  EXPECT_LT(p.Grid().GetColumnWidth(2), longName);
  EXPECT_LT(p.Grid().GetVirtualWidth(), p.Grid().viewport()->width()) << "the last column keeps its width";
  EXPECT_TRUE(p.Grid().IsEditable());
  p.ClickCell(0, 3);
  EXPECT_EQ(p.Column(3), (Texts{"12345", "25", "5"})) << "a header click does not sort";

  ConfigureGrid([](CConfigPageGrid& grid) {
    grid.As<QComboBox>(Grid::kAutoFit)->setCurrentIndex(2);
    Type(grid.As<QLineEdit>(Grid::kMaxColWidth), "40");
  });
  for (int col = 0; col < p.Grid().GetColumnCount(); ++col) EXPECT_LE(p.Grid().GetColumnWidth(col), 40) << col;

  ConfigureGrid([](CConfigPageGrid& grid) {
    Type(grid.As<QLineEdit>(Grid::kMaxColWidth), "0");
    Type(grid.As<QLineEdit>(Grid::kMinColWidth), "150");
    SetCheck(grid.Control(Grid::kSortable), true);
  });
  for (int col = 1; col < p.Grid().GetColumnCount(); ++col) EXPECT_GE(p.Grid().GetColumnWidth(col), 150) << col;
  p.ClickCell(0, 3);
  EXPECT_EQ(p.Column(3), (Texts{"5", "25", "12345"})) << "a header click sorts again";
}

}  // namespace
}  // namespace e2e
