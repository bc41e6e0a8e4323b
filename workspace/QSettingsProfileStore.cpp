#include "workspace/QSettingsProfileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "data/Trace.h"

namespace {
constexpr const char* kOrganisation = "Tolvane";
constexpr const char* kApplication = "Qelvo";

QString Key(const std::string& section, const std::string& name) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

// Text as it was written. A hand-edited file may hold an unquoted list ("a, b"), which QSettings
// reads as a string list; such a value is given back joined as it stood.
std::optional<std::string> TextOf(const QVariant& value) {
  if (!value.isValid()) return std::nullopt;
  if (value.typeId() == QMetaType::QByteArray) return std::nullopt;
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QStringLiteral(", ")).toStdString();
  if (!value.canConvert<QString>()) return std::nullopt;
  return value.toString().toStdString();
}
}  // namespace

std::string QSettingsProfileStore::DefaultPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return (folder + QLatin1Char('/') + QLatin1String(kOrganisation) + QLatin1Char('/') + QLatin1String(kApplication) +
          QLatin1String(".conf"))
      .toStdString();
}

QSettingsProfileStore::QSettingsProfileStore() : QSettingsProfileStore(DefaultPath()) {}

QSettingsProfileStore::QSettingsProfileStore(const std::string& filePath) : path_(filePath) {
  QString path = QString::fromStdString(path_);
  QDir().mkpath(QFileInfo(path).absolutePath());
  // Created here, before QSettings writes it, so that it never exists with wider rights.
  int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  if (fd >= 0) ::close(fd);
  KeepPrivate();
  settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QSettingsProfileStore::~QSettingsProfileStore() {
  Flush();
}

void QSettingsProfileStore::KeepPrivate() const {
  struct stat info {};
  if (::stat(path_.c_str(), &info) == 0 && (info.st_mode & 0777) != 0600) ::chmod(path_.c_str(), 0600);
}

std::optional<std::string> QSettingsProfileStore::ReadString(const std::string& section,
                                                             const std::string& name) const {
  return TextOf(settings_->value(Key(section, name)));
}

std::optional<std::int32_t> QSettingsProfileStore::ReadInt(const std::string& section, const std::string& name) const {
  std::optional<std::string> text = TextOf(settings_->value(Key(section, name)));
  if (!text) return std::nullopt;
  return ParseProfileInt(*text);
}

std::optional<std::string> QSettingsProfileStore::ReadBinary(const std::string& section,
                                                             const std::string& name) const {
  QVariant value = settings_->value(Key(section, name));
  if (!value.isValid()) return std::nullopt;
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray().toStdString();
  return TextOf(value);
}

void QSettingsProfileStore::WriteString(const std::string& section, const std::string& name, const std::string& value) {
  settings_->setValue(Key(section, name), QString::fromStdString(value));
}

void QSettingsProfileStore::WriteInt(const std::string& section, const std::string& name, std::int32_t value) {
  settings_->setValue(Key(section, name), value);
}

void QSettingsProfileStore::WriteBinary(const std::string& section, const std::string& name, const std::string& bytes) {
  settings_->setValue(Key(section, name), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void QSettingsProfileStore::Flush() {
  settings_->sync();
  if (settings_->status() != QSettings::NoError)
    Trace(TraceWarning, "QSettingsProfileStore::Flush() : cannot write \"%s\"", path_.c_str());
  KeepPrivate();
}
