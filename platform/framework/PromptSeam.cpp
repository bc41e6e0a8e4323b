#include "platform/framework/PromptSeam.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

#include "platform/framework/MessageBox.h"

namespace {

std::shared_ptr<PromptSeam>& Installed() {
  static std::shared_ptr<PromptSeam> seam;
  return seam;
}

// While a modal box is up, the person needs an arrow even under a wait cursor.
class ArrowWhileModal {
 public:
  ArrowWhileModal() : active_(QApplication::overrideCursor() != nullptr) {
    if (active_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ArrowWhileModal() {
    if (active_) QApplication::restoreOverrideCursor();
  }
  ArrowWhileModal(const ArrowWhileModal&) = delete;
  ArrowWhileModal& operator=(const ArrowWhileModal&) = delete;

 private:
  bool active_;
};

QMessageBox::StandardButtons ButtonsOf(unsigned type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_ABORTRETRYIGNORE:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MB_YESNOCANCEL:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
      return QMessageBox::Yes | QMessageBox::No;
    case MB_RETRYCANCEL:
      return QMessageBox::Retry | QMessageBox::Cancel;
    default:
      return QMessageBox::Ok;
  }
}

// The buttons in the order the classic box shows them, for MB_DEFBUTTONn.
QList<QMessageBox::StandardButton> ButtonOrder(unsigned type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {QMessageBox::Ok, QMessageBox::Cancel};
    case MB_ABORTRETRYIGNORE:
      return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case MB_YESNOCANCEL:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MB_YESNO:
      return {QMessageBox::Yes, QMessageBox::No};
    case MB_RETRYCANCEL:
      return {QMessageBox::Retry, QMessageBox::Cancel};
    default:
      return {QMessageBox::Ok};
  }
}

QMessageBox::Icon IconOf(unsigned type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

int ResultOf(int button, unsigned type) {
  switch (button) {
    case QMessageBox::Ok:
      return IDOK;
    case QMessageBox::Cancel:
      return IDCANCEL;
    case QMessageBox::Abort:
      return IDABORT;
    case QMessageBox::Retry:
      return IDRETRY;
    case QMessageBox::Ignore:
      return IDIGNORE;
    case QMessageBox::Yes:
      return IDYES;
    case QMessageBox::No:
      return IDNO;
    default:
      // Closed without a button: the box's cancelling answer.
      return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
  }
}

}  // namespace

PromptSeam& Prompts() {
  static WidgetPrompts widgets;
  std::shared_ptr<PromptSeam>& seam = Installed();
  return seam ? *seam : widgets;
}

std::shared_ptr<PromptSeam> SetPromptSeam(std::shared_ptr<PromptSeam> seam) {
  std::shared_ptr<PromptSeam> previous = std::move(Installed());
  Installed() = std::move(seam);
  return previous;
}

std::string FilterToQt(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString name = parts[i];
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == "*.*") pattern = "*";
    }
    name.replace("(*.*)", "(*)");
    // Qt reads the patterns from the parentheses; keep the description and show every pattern.
    const qsizetype open = name.lastIndexOf('(');
    if (open >= 0) name = name.left(open).trimmed();
    entries << QStringLiteral("%1 (%2)").arg(name, patterns.join(' '));
  }
  return entries.join(";;").toStdString();
}

int WidgetPrompts::MessageBox(const MessageBoxRequest& request) {
  QMessageBox box(request.parent);
  box.setWindowTitle(QString::fromStdString(request.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString(request.text).replace("\r\n", "\n"));
  box.setIcon(IconOf(request.type));
  box.setStandardButtons(ButtonsOf(request.type));
  const QList<QMessageBox::StandardButton> order = ButtonOrder(request.type);
  const qsizetype defaultIndex = (request.type & MB_DEFMASK) >> 8;
  box.setDefaultButton(order[defaultIndex < order.size() ? defaultIndex : 0]);
  if (request.type & MB_SYSTEMMODAL) {
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
  }
  ArrowWhileModal arrow;
  return ResultOf(box.exec(), request.type);
}

std::optional<std::string> WidgetPrompts::FileDialog(const FileDialogRequest& request) {
  const bool save = request.mode == FileDialogRequest::Mode::Save;
  QString title = QString::fromStdString(request.title);
  if (title.isEmpty()) title = save ? QStringLiteral("Save As") : QStringLiteral("Open");
  QString proposed = QString::fromStdString(request.initialName);
  for (;;) {
    QFileDialog dialog(request.parent, title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromStdString(FilterToQt(request.filter)));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (!proposed.isEmpty()) {
      QFileInfo info(proposed);
      if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
      dialog.selectFile(info.fileName());
    }
    ArrowWhileModal arrow;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString path = dialog.selectedFiles().first();
    if (!request.defaultExtension.empty() && QFileInfo(path).suffix().isEmpty() && !QFileInfo::exists(path))
      path += '.' + QString::fromStdString(request.defaultExtension);
    QFileInfo chosen(path);
    if (request.noReadOnlyReturn && chosen.exists() && !chosen.isWritable()) {
      MessageBox({request.parent,
                  path.toStdString() + "\nThis file is set to read-only.\nTry again with a different file name.",
                  title.toStdString(), MB_OK | MB_ICONEXCLAMATION});
      proposed = path;
      continue;
    }
    return path.toStdString();
  }
}

int WidgetPrompts::ExecDialog(QDialog& dialog) {
  ArrowWhileModal arrow;
  return dialog.exec();
}

bool WidgetPrompts::OpenDocument(const std::string& pathOrUrl) {
  const QString text = QString::fromStdString(pathOrUrl);
  const QUrl url =
      QFileInfo::exists(text) ? QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()) : QUrl::fromUserInput(text);
  return QDesktopServices::openUrl(url);
}

void WidgetPrompts::Beep(unsigned) {
  QApplication::beep();
}

int QelvoMessageBox(const std::string& text, unsigned type, QWidget* parent) {
  return ShowMessageBox(parent ? parent : QApplication::activeWindow(), text, kApplicationTitle, type);
}

int ShowMessageBox(QWidget* parent, const std::string& text, const std::string& caption, unsigned type) {
  return Prompts().MessageBox({parent, text, caption, type});
}

void MessageBeep(unsigned type) {
  Prompts().Beep(type);
}
