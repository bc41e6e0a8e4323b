#pragma once
// Widget tests share one QApplication on the offscreen platform, made before the first test
// (linking qelvo_qtest_env is enough). Helpers for the things every widget test needs.
#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

namespace qtest_env {

// Shows the window and waits until it is active, so focus and shortcuts behave as on a desktop.
bool ShowActive(QWidget& window);

// Saves a picture of the widget to $QELVO_SCREENSHOT_DIR/<name>.png when that variable is set;
// returns the picture either way.
QImage Screenshot(QWidget& widget, const QString& name);

// A fresh temporary folder that lives as long as the test process.
QString TempFolder();

}  // namespace qtest_env
