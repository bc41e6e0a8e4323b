#include "workspace/ui/MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "data/DbRecordset.h"
#include "data/Trace.h"
#include "grid/db/DbGridCtrl.h"
#include "platform/ProgramFiles.h"
#include "platform/framework/PromptSeam.h"
#include "resources/Art.h"
#include "resources/CommandIds.h"
#include "resources/MainFrameResources.h"
#include "ui/MenuIconManager.h"
#include "ui/SharedFont.h"
#include "workspace/ProfileStore.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/ConfigEditor.h"
#include "workspace/ui/ConnectionPaneText.h"
#include "workspace/ui/HelpPageDlg.h"
#include "workspace/ui/QelvoDoc.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/StatusPaneText.h"
#include "workspace/ui/WindowPlacement.h"

namespace {
constexpr const char* kIdleMessage = "Ready";
}

CMainFrame::CMainFrame(CQelvoDoc& document, CommandTarget* application) : document_(document) {
  setObjectName(QStringLiteral("MainFrame"));
  // The title is the program's name alone, never a document name.
  setWindowTitle(QStringLiteral("Qelvo"));
  router_.SetFrame(this);
  router_.SetApplication(application);
  actions_ = std::make_unique<CommandActions>(router_, this);
  RegisterCommands();
  if (qApp) connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { SavePlacement(); });
}

CMainFrame::~CMainFrame() {
  // The views leave the routing before they go.
  if (top_) router_.RemoveView(top_);
  if (bottom_) router_.RemoveView(bottom_);
}

bool CMainFrame::Create() {
  ApplyMainFrameResources(*actions_);
  actions_->BuildMenuBar(menuBar(), MainMenu());
  CreateToolBar();
  CreateStatusBar();
  // The menus show the toolbar's images and every key of their commands.
  menuIcons_ = std::make_unique<CMenuIconManager>();
  menuIcons_->AttachToFrame(this);
  menuIcons_->AddToolbarImages(
      {IDR_MAINFRAME, QSize(kToolbarImageWidth, kToolbarImageHeight), MainToolbar(), ToolbarStrip()});
  menuIcons_->SetAccelerators(MainAccelerators());
  SetFrameIcon(IDR_MAINFRAME);
  CreateClient();
  return toolbar_ && statusBar() && splitter_ && top_ && bottom_;
}

void CMainFrame::CreateToolBar() {
  toolbar_ = new QToolBar(QStringLiteral("Standard"), this);
  toolbar_->setObjectName(QStringLiteral("StandardToolBar"));
  toolbar_->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
  toolbar_->setMovable(true);
  toolbar_->setFloatable(true);
  toolbar_->setAllowedAreas(Qt::AllToolBarAreas);
  actions_->BuildToolBar(toolbar_, MainToolbar());
  addToolBar(Qt::TopToolBarArea, toolbar_);
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  const QFontMetrics metrics(bar->font());
  for (const StatusPaneDef& def : MainStatusPanes()) {
    if (def.id == 0) continue;  // the message pane is the bar's own
    // The keyboard lock states cannot be read on every display system here; an indicator that
    // never lights would only take room.
    if (def.id == ID_INDICATOR_CAPS || def.id == ID_INDICATOR_NUM || def.id == ID_INDICATOR_SCRL) continue;
    auto* pane = new QLabel(bar);
    pane->setObjectName(QStringLiteral("pane%1").arg(def.id));
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QString widthText = QString::fromStdString(def.widthText);
    widthText.replace(QLatin1Char('\n'), QLatin1Char(' '));
    pane->setMinimumWidth(metrics.horizontalAdvance(widthText) + 2 * pane->frameWidth() + 6);
    bar->addPermanentWidget(pane);
    panes_[def.id] = pane;
  }
  connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
    if (message.isEmpty()) bar->showMessage(QString::fromLatin1(kIdleMessage));
  });
  bar->showMessage(QString::fromLatin1(kIdleMessage));
}

void CMainFrame::CreateClient() {
  SharedDisplayFont().FromText(AppSettings().GetString("General", "Font"), nullptr, 1.0);

  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setObjectName(QStringLiteral("Splitter"));
  splitter_->setChildrenCollapsible(false);
  top_ = new CQelvoView(document_, this, splitter_);
  bottom_ = new CBottomView(document_, this, splitter_);
  connect(bottom_, &CBottomView::FetchStateChanged, actions_.get(), &CommandActions::RequestIdleUpdate);
  splitter_->addWidget(top_);
  splitter_->addWidget(bottom_);
  // The result pane takes what the window gains; the workspace keeps its height.
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  setCentralWidget(splitter_);

  const int topHeight = ReadTopRowHeight(AppProfile());
  splitter_->setSizes({topHeight, std::max(1, height() - topHeight)});

  top_->RegisterButtons(*actions_);
  router_.AddView(top_, top_);
  router_.AddView(bottom_, bottom_);
  router_.SetActiveView(top_);
}

void CMainFrame::InitialUpdateFrame() {
  top_->OnInitialUpdate();
  bottom_->OnInitialUpdate();
  // Esc in the query or the grid stops rows still arriving.
  top_->QueryEditor()->installEventFilter(this);
  if (bottom_->Grid()) bottom_->Grid()->installEventFilter(this);
  actions_->RequestIdleUpdate();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && bottom_ &&
      bottom_->IsFetching()) {
    router_.Execute(ID_STOP);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::RegisterCommands() {
  CommandMap& map = Commands();
  map.On(ID_IN_PLACE_EDIT, [this] { ToggleInPlaceEdit(); });
  map.OnUpdate(ID_IN_PLACE_EDIT, [](CommandUi& ui) { ui.SetCheck(AppSettings().GetBool("Grid", "InPlaceEdit")); });
  map.On(ID_FILTER_ROW, [this] { ToggleFilterRow(); });
  map.OnUpdate(ID_FILTER_ROW, [](CommandUi& ui) { ui.SetCheck(AppSettings().GetBool("Grid", "UseFilters")); });
  map.On(ID_CONFIGURATION, [this] { RunConfiguration(); });
  map.On(ID_SQL_SYNTAX, [this] { OpenSqlSyntax(); });
  map.OnUpdate(ID_SQL_SYNTAX, [](CommandUi& ui) { ui.Enable(!FindProgramFile(kHelpPageName).empty()); });
  // Test Grid has an empty handler: the menu entry and Ctrl+Shift+T are enabled and do nothing.
  map.On(ID_TEST_GRID, [] {});
  map.On(ID_PREV_PANE, [this] { ActivateOtherPane(); });
  map.On(ID_APP_EXIT, [this] { close(); });
  map.On(ID_VIEW_TOOLBAR, [this] { toolbar_->setVisible(!toolbar_->isVisible()); });
  map.OnUpdate(ID_VIEW_TOOLBAR, [this](CommandUi& ui) { ui.SetCheck(toolbar_ && !toolbar_->isHidden()); });
  map.On(ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
  map.OnUpdate(ID_VIEW_STATUS_BAR, [this](CommandUi& ui) { ui.SetCheck(!statusBar()->isHidden()); });
}

void CMainFrame::ToggleInPlaceEdit() {
  const bool on = !AppSettings().GetBool("Grid", "InPlaceEdit");
  AppSettings().SetValue("Grid", "InPlaceEdit", "%d", on ? 1 : 0);
  if (bottom_ && bottom_->Grid()) bottom_->Grid()->SetEditable(on);
}

void CMainFrame::ToggleFilterRow() {
  const bool on = !AppSettings().GetBool("Grid", "UseFilters");
  AppSettings().SetValue("Grid", "UseFilters", "%d", on ? 1 : 0);
  // Only the layout changes: running the request again would repeat an INSERT or a batch.
  if (bottom_) bottom_->RelayoutGrid();
}

void CMainFrame::RunConfiguration() {
  const FrameIconAccess icon{[this] { return FrameIconId(); }, [this](int id) { SetFrameIcon(id); }};
  if (CConfigEditor::Run(this, icon)) ApplyConfiguration();
}

void CMainFrame::ApplyConfiguration() {
  CDbGridCtrl* grid = bottom_ ? bottom_->Grid() : nullptr;
  if (grid) grid->SetEditable(AppSettings().GetBool("Grid", "InPlaceEdit"));
  if (bottom_) bottom_->ReloadGridOptions();
  SetRecordsetCursorLocation(AppSettings().GetInt("General", "CursorLocationType"));
  // The result on screen is shown again from the rows already read, so that the new options
  // (detail rows, null label, widths, row limit, ...) show at once without running the
  // statement again.
  if (grid && grid->GetRecordset() && grid->GetRecordset()->IsOpen()) grid->Update(true);
}

void CMainFrame::OpenSqlSyntax() {
  const std::string path = FindProgramFile(kHelpPageName);
  if (path.empty()) return;
  // Without a browser (no desktop, no xdg-open) the page shows in a window of our own.
  if (Prompts().OpenDocument(path)) return;
  HelpPageDlg dialog(path, this);
  Prompts().ExecDialog(dialog);
}

void CMainFrame::ActivateOtherPane() {
  QWidget* focus = QApplication::focusWidget();
  const bool inTop = focus && (focus == top_ || top_->isAncestorOf(focus));
  if (inTop) {
    bottom_->FocusPane();
    router_.SetActiveView(bottom_);
  } else {
    // Back to the control of the workspace that had the focus last.
    QWidget* last = top_->focusWidget();
    if (last && top_->isAncestorOf(last))
      last->setFocus(Qt::OtherFocusReason);
    else
      top_->QueryEditor()->setFocus(Qt::OtherFocusReason);
    router_.SetActiveView(top_);
  }
}

QLabel* CMainFrame::Pane(int id) const {
  auto it = panes_.find(id);
  return it == panes_.end() ? nullptr : it->second;
}

std::string CMainFrame::PaneText(int id) const {
  QLabel* pane = Pane(id);
  return pane ? pane->text().toStdString() : std::string();
}

void CMainFrame::SetRecordCountPane(const std::string& text) {
  if (QLabel* pane = Pane(ID_INDICATOR_RECORDS)) pane->setText(QString::fromStdString(text));
  // The trace shows what the user read, for checks that cannot see the window.
  if (!text.empty()) Trace(TraceInfo, "record count pane = %s", text.c_str());
}

void CMainFrame::SetConnectionPane(const std::string& connectionString) {
  QLabel* pane = Pane(ID_INDICATOR_BLANK);
  if (!pane) return;
  pane->setText(QString::fromStdString(ConnectionPaneText(connectionString)));
  // The pane may show the text shortened; the tip holds all of it (never a password).
  pane->setToolTip(QString::fromStdString(ConnectionPaneText(connectionString, std::string::npos)));
}

void CMainFrame::ShowStatusMessage(const std::string& text) {
  statusBar()->showMessage(QString::fromStdString(text));
  if (!text.empty()) Trace(TraceInfo, "status message = %s", text.c_str());
}

std::string CMainFrame::StatusMessage() const {
  return statusBar()->currentMessage().toStdString();
}

void CMainFrame::SetElapsedPane(long milliseconds) {
  if (QLabel* pane = Pane(ID_INDICATOR_ELAPSED)) pane->setText(QString::fromStdString(ElapsedPaneText(milliseconds)));
}

void CMainFrame::ResetStatusPanes() {
  SetRecordCountPane({});
  SetElapsedPane(-1);
}

void CMainFrame::SetFrameIcon(int iconId) {
  iconId_ = iconId;
  setWindowIcon(MainIcon(iconId));
}

void CMainFrame::SavePlacement() {
  WindowPlacement placement;
  const Qt::WindowStates state = windowState();
  const bool special = state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
  const QRect normal = special && normalGeometry().isValid() ? normalGeometry() : geometry();
  placement.left = normal.left();
  placement.top = normal.top();
  placement.right = normal.left() + normal.width();
  placement.bottom = normal.top() + normal.height();
  if (state & Qt::WindowMinimized) {
    placement.showCmd = SW_SHOWMINIMIZED;
    if (state & Qt::WindowMaximized) placement.flags |= WPF_RESTORETOMAXIMIZED;
  } else if (state & Qt::WindowMaximized) {
    placement.showCmd = SW_SHOWMAXIMIZED;
  } else {
    placement.showCmd = SW_SHOWNORMAL;
  }
  const int topHeight = splitter_ && !splitter_->sizes().isEmpty() ? splitter_->sizes().first() : 0;
  SaveWindowPlacement(AppProfile(), placement, topHeight);
}

bool CMainFrame::RestorePlacement() {
  std::optional<WindowPlacement> stored = ReadWindowPlacement(AppProfile());
  if (!stored) return false;
  QScreen* screen = QGuiApplication::primaryScreen();
  QRect desktop = screen ? screen->virtualGeometry() : QRect();
  if (desktop.width() <= 0 || desktop.height() <= 0) desktop = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  const int icon = style()->pixelMetric(QStyle::PM_LargeIconSize);
  WindowPlacement placement = ClampToScreen(*stored, desktop.width(), desktop.height(), icon, icon);
  setGeometry(placement.left, placement.top, placement.right - placement.left, placement.bottom - placement.top);
  // A window closed minimized comes back on screen (maximized when it was so before): a program
  // that starts as an icon looks like one that did not start.
  const bool maximized = placement.showCmd == SW_SHOWMAXIMIZED ||
                         (placement.showCmd == SW_SHOWMINIMIZED && (placement.flags & WPF_RESTORETOMAXIMIZED));
  if (maximized)
    showMaximized();
  else
    showNormal();
  return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Rows still arriving stop first: their worker must not outlive the window.
  if (bottom_ && bottom_->IsFetching()) bottom_->StopFetch();
  SavePlacement();
  QMainWindow::closeEvent(event);
}
