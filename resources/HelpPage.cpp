#include "resources/HelpPage.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "platform/ProgramFiles.h"
#include "resources/MainFrameResources.h"

// The resources of a static library are registered only when asked for by name (the macro
// declares a function, so this must stay outside any namespace).
static void RegisterBuiltInResources() {
  Q_INIT_RESOURCE(qelvo);
}

std::string FindHelpPage() {
  return FindProgramFile(kHelpPageName);
}

std::string EnsureHelpPage() {
  std::string installed = FindHelpPage();
  if (!installed.empty()) return installed;
  RegisterBuiltInResources();
  QFile builtIn(QStringLiteral(":/qelvo/Qelvo.html"));
  if (!builtIn.open(QIODevice::ReadOnly)) return {};
  const QByteArray page = builtIn.readAll();
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
  const QString path = QDir(folder).filePath(QString::fromUtf8(kHelpPageName));
  QFile existing(path);
  if (existing.open(QIODevice::ReadOnly) && existing.readAll() == page) return path.toStdString();
  existing.close();
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(page) != page.size()) return {};
  return path.toStdString();
}
