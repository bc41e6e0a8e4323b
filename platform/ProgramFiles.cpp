#include "platform/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QStringList Places() {
  QStringList places;
  const QString executableDir = QCoreApplication::applicationDirPath();
  places << executableDir;
  places << QDir(executableDir).absoluteFilePath(QStringLiteral("../share/qelvo"));
  for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    places << QDir(data).absoluteFilePath(QStringLiteral("qelvo"));
  return places;
}
}  // namespace

std::string FindProgramFile(const std::string& name) {
  for (const QString& place : Places()) {
    QFileInfo file(QDir(place).absoluteFilePath(QString::fromStdString(name)));
    if (file.isFile()) return QDir::cleanPath(file.absoluteFilePath()).toStdString();
  }
  return {};
}

std::string ProgramFileForWriting(const std::string& name) {
  const QString executableDir = QCoreApplication::applicationDirPath();
  if (QFileInfo(executableDir).isWritable())
    return QDir(executableDir).absoluteFilePath(QString::fromStdString(name)).toStdString();
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  QDir().mkpath(data);
  return QDir(data).absoluteFilePath(QString::fromStdString(name)).toStdString();
}
