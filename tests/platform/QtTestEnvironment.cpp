#include "tests/platform/QtTestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qelvo-tests";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { application_.reset(); }

 private:
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

namespace qtest_env {

bool ShowActive(QWidget& window) {
  window.show();
  QApplication::setActiveWindow(&window);
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

QImage Screenshot(QWidget& widget, const QString& name) {
  QImage picture = widget.grab().toImage();
  const QString folder = qEnvironmentVariable("QELVO_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    QDir().mkpath(folder);
    picture.save(QDir(folder).filePath(name + ".png"));
  }
  return picture;
}

QString TempFolder() {
  static QTemporaryDir folder;
  static int counter = 0;
  const QString path = folder.filePath(QString::number(++counter));
  QDir().mkpath(path);
  return path;
}

}  // namespace qtest_env
