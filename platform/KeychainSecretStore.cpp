#include "platform/KeychainSecretStore.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

#include "data/Trace.h"
#include "platform/PasswordDialog.h"
#include "platform/framework/PromptSeam.h"

namespace {

// Runs a job to its end; the job reports through its finished signal, from the event loop.
void RunToEnd(QKeychain::Job& job) {
  job.setAutoDelete(false);
  job.setInsecureFallback(false);  // never a plain-text file in place of the service
  QEventLoop loop;
  QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
  job.start();
  loop.exec();
}

QString KeyOf(const std::string& name) {
  return QString::fromStdString(name);
}

}  // namespace

KeychainSecretStore::KeychainSecretStore(std::string service) : service_(std::move(service)) {}

bool KeychainSecretStore::Persistent() {
  if (!available_) {
    // A read of a name never written: "not found" means a service answered.
    QKeychain::ReadPasswordJob job(QString::fromStdString(service_));
    job.setKey(QStringLiteral("qelvo-probe"));
    RunToEnd(job);
    available_ = job.error() == QKeychain::NoError || job.error() == QKeychain::EntryNotFound;
    if (!*available_) Trace(TraceWarning, "No secret service: %s", job.errorString().toStdString().c_str());
  }
  return *available_;
}

bool KeychainSecretStore::Write(const std::string& name, const std::string& secret) {
  if (!Persistent()) return false;
  QKeychain::WritePasswordJob job(QString::fromStdString(service_));
  job.setKey(KeyOf(name));
  job.setBinaryData(QByteArray(secret.data(), static_cast<qsizetype>(secret.size())));
  RunToEnd(job);
  if (job.error() != QKeychain::NoError) {
    Trace(TraceError, "Secret %s not saved: %s", name.c_str(), job.errorString().toStdString().c_str());
    return false;
  }
  return true;
}

std::optional<std::string> KeychainSecretStore::Read(const std::string& name) {
  if (!Persistent()) return std::nullopt;
  QKeychain::ReadPasswordJob job(QString::fromStdString(service_));
  job.setKey(KeyOf(name));
  RunToEnd(job);
  if (job.error() != QKeychain::NoError) {
    if (job.error() != QKeychain::EntryNotFound)
      Trace(TraceError, "Secret %s not read: %s", name.c_str(), job.errorString().toStdString().c_str());
    return std::nullopt;
  }
  const QByteArray data = job.binaryData();
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void KeychainSecretStore::Remove(const std::string& name) {
  if (!Persistent()) return;
  QKeychain::DeletePasswordJob job(QString::fromStdString(service_));
  job.setKey(KeyOf(name));
  RunToEnd(job);
  if (job.error() != QKeychain::NoError && job.error() != QKeychain::EntryNotFound)
    Trace(TraceError, "Secret %s not deleted: %s", name.c_str(), job.errorString().toStdString().c_str());
}

void RegisterConnectionSecrets() {
  SetSecretStore(std::make_shared<KeychainSecretStore>());
  SetPasswordPrompt([](const std::string& maskedConnection) -> std::optional<std::string> {
    PasswordDialog dialog(maskedConnection);
    if (Prompts().ExecDialog(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.Password();
  });
}

void UnregisterConnectionSecrets() {
  SetSecretStore(nullptr);
  SetPasswordPrompt(nullptr);
}
