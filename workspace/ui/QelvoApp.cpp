#include "workspace/ui/QelvoApp.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "data/ConnectionSecrets.h"
#include "data/DbRecordset.h"
#include "data/OdbcDriverPrompt.h"
#include "data/ado/DataLinks.h"
#include "platform/DataLinkDialog.h"
#include "platform/KeychainSecretStore.h"
#include "platform/OdbcDriverPromptDialog.h"
#include "platform/OpenErrorBox.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "resources/Art.h"
#include "resources/CommandIds.h"
#include "ui/AboutDlg.h"
#include "ui/ModuleVersion.h"
#include "workspace/CommandLineFile.h"
#include "workspace/ProfileStore.h"
#include "workspace/QSettingsProfileStore.h"
#include "workspace/ScriptFile.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoDoc.h"
#include "workspace/ui/QelvoView.h"

namespace {
// The driver prompt of the data layer's BuildOdbcConnectionString is our dialog.
class DialogOdbcDriverPrompt : public OdbcDriverPrompt {
 public:
  std::optional<std::string> Prompt(void* ownerWindow, const std::string& driverName) override {
    std::string built = PromptOdbcDriverConnection(static_cast<QWidget*>(ownerWindow), driverName);
    if (built.empty()) return std::nullopt;
    return built;
  }
};

// Without a saved placement: a comfortable share of the screen, centred.
void PlaceByDefault(QWidget& frame) {
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  const QSize size(std::min(1100, available.width() * 4 / 5), std::min(760, available.height() * 4 / 5));
  frame.resize(size);
  frame.move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}
}  // namespace

CQelvoApp::CQelvoApp() {
  Commands().On(ID_FILE_PRINT_SETUP, [this] { PrintSetup(); });
  Commands().On(ID_APP_ABOUT, [this] { About(); });
}

void CQelvoApp::About() {
  AboutDlg dialog(MainIcon(IDR_MAINFRAME), frame_);
  Prompts().ExecDialog(dialog);
}

CQelvoApp::~CQelvoApp() {
  ExitInstance();
}

QPrinter& CQelvoApp::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void CQelvoApp::PrintSetup() {
  QPageSetupDialog dialog(&Printer(), frame_);
  Prompts().ExecDialog(dialog);
}

bool CQelvoApp::InitInstance(const std::vector<std::string>& arguments) {
  // Dates and texts follow the user; numbers stay in the C locale for the ODBC drivers, and the
  // functions that show numbers use the user's numeric locale explicitly.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");

  QCoreApplication::setOrganizationName(QStringLiteral("Tolvane"));
  QCoreApplication::setApplicationName(QStringLiteral("Qelvo"));
  SetAppProfile(std::make_unique<QSettingsProfileStore>());
  AppSettings().LoadAll(AppProfile());
  AppSettings().SaveAll(AppProfile());
  SetRecordsetCursorLocation(AppSettings().GetInt("General", "CursorLocationType"));

  document_ = std::make_unique<CQelvoDoc>();
  frame_ = new CMainFrame(*document_, this);
  RegisterDataLinkDialog(frame_);
  RegisterConnectionSecrets();
  SetOdbcDriverPrompt(std::make_shared<DialogOdbcDriverPrompt>());
  RouteOpenErrorBoxToPrompts();
  if (!frame_->Create()) {
    delete frame_;
    return false;
  }
  frame_->BottomView()->SetPrinter(&Printer());
  frame_->InitialUpdateFrame();
  if (!frame_->RestorePlacement()) {
    PlaceByDefault(*frame_);
    frame_->show();
  }
  OpenCommandLineFiles(arguments);
  // A query tool starts with the cursor where the query is written.
  if (CQelvoView* view = frame_->TopView()) view->QueryEditor()->setFocus(Qt::OtherFocusReason);
  return true;
}

void CQelvoApp::OpenCommandLineFiles(const std::vector<std::string>& arguments) {
  CQelvoView* view = frame_->TopView();
  if (!view) return;
  // In order, so that "qelvo shop.db report.sql" sets the connection and then the query.
  for (const std::string& path : arguments) {
    try {
      CommandLineTexts texts = ReadCommandLineFile(path);
      if (texts.connection) view->SetConnectionText(PutPasswordsAway(*texts.connection));
      if (texts.query) view->SetQueryText(*texts.query);
    } catch (const ScriptFileError& error) {
      QelvoMessageBox(error.what(), MB_OK | MB_ICONSTOP, frame_);
    }
  }
}

int CQelvoApp::ExitInstance(int exitCode) {
  if (frame_) {
    if (frame_->isVisible()) frame_->close();
    delete frame_;
  }
  document_.reset();
  ado::RegisterDataLinksPrompt(nullptr);
  SetOdbcDriverPrompt(nullptr);
  UnregisterConnectionSecrets();
  return exitCode;
}

int RunQelvo(int argc, char** argv) {
  // The version line needs no window, so it works without a display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("%s\n", tvapi::ProgramVersionLine().c_str());
      return 0;
    }
  }
  QApplication application(argc, argv);
  CQelvoApp app;
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (!app.InitInstance(arguments)) return 1;
  const int code = QApplication::exec();
  return app.ExitInstance(code);
}
