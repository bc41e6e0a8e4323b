// The main window's resources: every toolbar command has a distinct picture and a tip, the
// accelerators are unambiguous, the menus name only known commands, the icons differ by colour.
#include <gtest/gtest.h>

#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <set>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "resources/Art.h"
#include "resources/CommandIds.h"
#include "resources/HelpPage.h"
#include "resources/MainFrameResources.h"
#include "tests/platform/QtTestEnvironment.h"

namespace {

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y).alpha() > 0;
  return count;
}

void CollectIds(const std::vector<MenuItemDef>& items, std::vector<int>& ids) {
  for (const MenuItemDef& item : items) {
    if (item.id) ids.push_back(item.id);
    CollectIds(item.items, ids);
  }
}

TEST(Resources, EveryToolbarButtonHasItsOwnPictureAndATip) {
  std::set<QByteArray> seen;
  int buttons = 0;
  for (int id : MainToolbar()) {
    if (id == 0) continue;
    ++buttons;
    const QImage image = ToolbarImage(id);
    ASSERT_FALSE(image.isNull()) << id;
    EXPECT_EQ(image.size(), QSize(16, 15));
    EXPECT_GT(OpaquePixels(image), 30) << id;
    EXPECT_LT(OpaquePixels(image), 16 * 15) << "a transparent background: " << id;
    EXPECT_TRUE(seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes())).second)
        << "two buttons look the same: " << id;
    EXPECT_FALSE(CommandPrompt(id).empty()) << id;
  }
  EXPECT_EQ(buttons, 20);
  EXPECT_TRUE(ToolbarImage(ID_TEST_GRID).isNull());
  const QImage strip = ToolbarStrip();
  EXPECT_EQ(strip.size(), QSize(20 * 16, 15));
  QImage face(strip.width() * 3, strip.height() * 3, QImage::Format_ARGB32);
  face.fill(QColor(0xEF, 0xEF, 0xEF));
  {
    QPainter painter(&face);
    painter.drawImage(face.rect(), strip);
  }
  QLabel label;
  label.setPixmap(QPixmap::fromImage(face));
  qtest_env::Screenshot(label, "toolbar-images-3x");
}

TEST(Resources, PromptsAreThoseOfTheProgram) {
  EXPECT_EQ(CommandPrompt(ID_FILTER_ROW), "Hide or Show filter row\nFilter");
  EXPECT_EQ(CommandPrompt(ID_LIST_TABLES_COUNT), "List Tables + Record Count\nTables+Count");
  EXPECT_EQ(CommandPrompt(ID_EXPORT_MYSQL_TABLES), "Build script for MYSQL");
  EXPECT_EQ(CommandPrompt(ID_EXPORT), "Export\nExport");
  EXPECT_EQ(CommandPrompt(4711), "");
}

TEST(Resources, AcceleratorsAreUnambiguousAndMenusNameKnownCommands) {
  std::set<QString> keys;
  for (const AcceleratorDef& accelerator : MainAccelerators())
    EXPECT_TRUE(keys.insert(accelerator.keys.toString()).second) << accelerator.keys.toString().toStdString();
  EXPECT_EQ(keys.size(), 33u);
  std::vector<int> ids;
  CollectIds(MainMenu(), ids);
  EXPECT_EQ(ids.size(), 33u);
  EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size()) << "each command once in the menus";
}

TEST(Resources, StatusPanesInOrder) {
  const std::vector<StatusPaneDef> panes = MainStatusPanes();
  ASSERT_EQ(panes.size(), 7u);
  EXPECT_EQ(panes[1].id, ID_INDICATOR_BLANK);
  EXPECT_EQ(panes[1].widthText, std::string(45, ' '));
  EXPECT_EQ(panes[2].id, ID_INDICATOR_RECORDS);
  EXPECT_EQ(panes[3].id, ID_INDICATOR_ELAPSED);
  EXPECT_EQ(panes[3].widthText.size(), 19u);
}

TEST(Resources, FourMainIconsThatDifferByColour) {
  std::set<QRgb> centres;
  for (int id : MainIconIds()) {
    for (int size : {16, 32, 48}) {
      const QImage image = MainIconImage(id, size);
      EXPECT_EQ(image.size(), QSize(size, size));
      EXPECT_GT(OpaquePixels(image), size * size / 3);
    }
    centres.insert(MainIconImage(id, 32).pixel(8, 16));
    EXPECT_FALSE(MainIcon(id).isNull());
  }
  EXPECT_EQ(centres.size(), 4u);
  EXPECT_EQ(MainIconIds(), (std::vector<int>{128, 133, 134, 135}));
}

TEST(Resources, GridAndTableKindImages) {
  const QList<QPixmap> grid = LoadDbGridImages();
  ASSERT_EQ(grid.size(), 2);
  EXPECT_EQ(grid[0].size(), QSize(16, 16));
  EXPECT_NE(grid[0].toImage(), grid[1].toImage());
  const QList<QPixmap> kinds = TableKindImages();
  ASSERT_EQ(kinds.size(), 3);
  for (const QPixmap& kind : kinds) EXPECT_EQ(kind.size(), QSize(22, 15));
  EXPECT_NE(kinds[0].toImage(), kinds[1].toImage());
  EXPECT_NE(kinds[1].toImage(), kinds[2].toImage());
}

TEST(Resources, TheHelpPageIsFoundBesideTheProgramOrWrittenFromTheBuiltInCopy) {
  const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("Qelvo.html");
  QFile::remove(beside);
  const QString data = qtest_env::TempFolder();
  qputenv("XDG_DATA_HOME", data.toUtf8());
  EXPECT_EQ(FindHelpPage(), "");
  const std::string written = EnsureHelpPage();
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(QString::fromStdString(written).left(data.size()), data);
  QFile page(QString::fromStdString(written));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  const QByteArray html = page.readAll();
  EXPECT_TRUE(html.contains("<title>Qelvo"));
  EXPECT_TRUE(html.contains("batch separator"));
  EXPECT_EQ(EnsureHelpPage(), written) << "a second call reuses the copy";

  ASSERT_TRUE(QFile::copy(QString::fromStdString(written), beside));
  EXPECT_EQ(FindHelpPage(), QDir::cleanPath(beside).toStdString()) << "beside the executable comes first";
  EXPECT_EQ(EnsureHelpPage(), FindHelpPage());
  QFile::remove(beside);
  qunsetenv("XDG_DATA_HOME");
}

}  // namespace
