#include "tests/support/gui/OffscreenApp.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace testsupport {

void EnsureOffscreenApp(const char* programName) {
  if (QApplication::instance()) return;
  // Offscreen whatever the environment: the tests drive widgets, not a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt wants a private runtime folder; a test run started without a session has none.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    static QByteArray runtime = QDir::tempPath().toUtf8() + "/qelvo-tests-runtime";
    QDir().mkpath(QString::fromUtf8(runtime));
    QFile::setPermissions(QString::fromUtf8(runtime), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime);
  }
  static int argc = 1;
  static QByteArray name;
  name = programName;
  static char* argv[] = {name.data(), nullptr};
  // Never destroyed: QTest's input devices and other statics are torn down at exit and need it
  // still there.
  new QApplication(argc, argv);
}

void Settle() {
  for (int i = 0; i < 3; ++i) {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  }
}

}  // namespace testsupport
