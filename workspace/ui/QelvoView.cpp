#include "workspace/ui/QelvoView.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTextCursor>
#include <algorithm>

#include "data/ConnectionSecrets.h"
#include "platform/framework/CommandActions.h"
#include "platform/framework/WaitCursor.h"
#include "resources/CommandIds.h"
#include "ui/SharedFont.h"
#include "workspace/EditorDrafts.h"
#include "workspace/ProfileStore.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/StatusPanes.h"

namespace {
using V = CQelvoView;

// Template 101: 269 x 132 dialog units. The "?" buttons carry no command, so they stay hidden.
const ControlDef kForm[] = {
    {V::IDC_CONNECTION_LABEL, ControlKind::Static, "Connection string", 8, 3, 85, 8},
    {V::IDC_MODE_OLEDB, ControlKind::RadioButton, "OleDB", 117, 2, 37, 10, ControlFlag::GroupStart},
    {V::IDC_MODE_ODBC, ControlKind::RadioButton, "ODBC", 159, 2, 36, 10},
    {V::IDC_CONNECTION_BACK, ControlKind::PushButton, "<<", 204, 1, 13, 9},
    {V::IDC_BUILD_CONNECTION, ControlKind::PushButton, "...", 219, 1, 20, 9},
    {V::IDC_CONNECTION_FORWARD, ControlKind::PushButton, ">>", 241, 1, 13, 9},
    {V::IDC_CONNECTION_HELP, ControlKind::PushButton, "?", 256, 1, 9, 9, ControlFlag::Hidden},
    {V::IDC_CONNECTION, ControlKind::MultiLineEdit, "", 3, 12, 263, 36, ControlFlag::VScroll},
    {V::IDC_QUERY_LABEL, ControlKind::Static, "Query", 8, 52, 85, 8},
    {V::IDC_QUERY_BACK, ControlKind::PushButton, "<<", 204, 51, 13, 9},
    {V::IDC_EXECUTE, ControlKind::PushButton, "!", 219, 51, 20, 9},
    {V::IDC_QUERY_FORWARD, ControlKind::PushButton, ">>", 241, 51, 13, 9},
    {V::IDC_QUERY_HELP, ControlKind::PushButton, "?", 256, 51, 9, 9, ControlFlag::Hidden},
    {V::IDC_QUERY, ControlKind::MultiLineEdit, "", 3, 62, 263, 66, ControlFlag::VScroll},
};

struct Anchor {
  int id;
  AnchorPoint topLeft;
  AnchorPoint bottomRight;
};
const Anchor kAnchors[] = {
    {V::IDC_MODE_OLEDB, ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT},
    {V::IDC_MODE_ODBC, ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT},
    {V::IDC_CONNECTION_BACK, ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT},
    {V::IDC_BUILD_CONNECTION, ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT},
    {V::IDC_CONNECTION_FORWARD, ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT},
    {V::IDC_CONNECTION_HELP, ANCHOR_TOP_RIGHT, ANCHOR_TOP_RIGHT},
    {V::IDC_CONNECTION, ANCHOR_TOP_LEFT, ANCHOR_MIDDLE_RIGHT},
    {V::IDC_QUERY_LABEL, ANCHOR_MIDDLE_LEFT, ANCHOR_NONE},
    {V::IDC_QUERY_BACK, ANCHOR_MIDDLE_RIGHT, ANCHOR_MIDDLE_RIGHT},
    {V::IDC_EXECUTE, ANCHOR_MIDDLE_RIGHT, ANCHOR_MIDDLE_RIGHT},
    {V::IDC_QUERY_FORWARD, ANCHOR_MIDDLE_RIGHT, ANCHOR_MIDDLE_RIGHT},
    {V::IDC_QUERY_HELP, ANCHOR_MIDDLE_RIGHT, ANCHOR_MIDDLE_RIGHT},
    {V::IDC_QUERY, ANCHOR_MIDDLE_LEFT, ANCHOR_BOTTOM_RIGHT},
};

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}
}  // namespace

CQelvoView::CQelvoView(CQelvoDoc& document, StatusPanes* panes, QWidget* parent)
    : CAnchoredFormView(DialogUnits().ToPixels(QSize(269, 132)), parent),
      document_(document),
      panes_(panes),
      connections_(ConnectionHistoryName, AppProfile(), AppSettings()),
      queries_(QueryHistoryName, AppProfile(), AppSettings()) {
  setObjectName(QStringLiteral("QelvoView"));
  controls_.Create(Form(), kForm, DialogUnits());
  for (QPlainTextEdit* editor : {ConnectionEditor(), QueryEditor()}) {
    editor->setTabChangesFocus(true);
    editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  }
  // Both editors hold text that belongs together over line ends; the query's selection stays
  // visible when the focus moves to the toolbar or the grid.
  QPalette palette = QueryEditor()->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  QueryEditor()->setPalette(palette);

  // The data exchange of the connection mode: loaded when the view starts.
  SetConnectionMode(static_cast<Mode>(AppSettings().GetInt("General", "ConnStringMode")));

  document_.AddView(this);
  RegisterCommands();
  RegisterEditCommands();
  RegisterExportCommands();
}

CQelvoView::~CQelvoView() {
  if (find_) find_->close();
  document_.RemoveView(this);
  AppSettings().SetValue("General", "ConnStringMode", "%d", static_cast<int>(ConnectionMode()));
  AppSettings().SaveAll(AppProfile());
  connections_.Save();
  queries_.Save();
  // Before the first update the editors hold nothing of the user's; the last drafts stay.
  if (initialized_) SaveEditorDrafts(AppProfile(), {ConnectionText(), QueryText()});
}

QPlainTextEdit* CQelvoView::ConnectionEditor() const {
  return controls_.As<QPlainTextEdit>(IDC_CONNECTION);
}
QPlainTextEdit* CQelvoView::QueryEditor() const {
  return controls_.As<QPlainTextEdit>(IDC_QUERY);
}
QLabel* CQelvoView::Label(int id) const {
  return controls_.As<QLabel>(id);
}

std::string CQelvoView::ConnectionText() const {
  return ConnectionEditor()->toPlainText().toStdString();
}
std::string CQelvoView::QueryText() const {
  return QueryEditor()->toPlainText().toStdString();
}
void CQelvoView::SetQueryText(const std::string& text) {
  QueryEditor()->setPlainText(ToQString(text));
}
void CQelvoView::SetConnectionText(const std::string& text) {
  ConnectionEditor()->setPlainText(ToQString(text));
}

std::string CQelvoView::ConnectionTextWithoutPasswords() {
  const std::string typed = ConnectionText();
  const std::string kept = PutPasswordsAway(typed);
  if (kept != typed) SetConnectionText(kept);
  ShowSecretsNotice();
  return kept;
}

void CQelvoView::ShowSecretsNotice() {
  std::optional<std::string> notice = TakeSessionOnlyNotice();
  if (!notice) return;
  if (auto* frame = qobject_cast<QMainWindow*>(window()); frame && frame->statusBar())
    frame->statusBar()->showMessage(ToQString(*notice));
}

CQelvoView::Mode CQelvoView::ConnectionMode() const {
  if (controls_.As<QRadioButton>(IDC_MODE_OLEDB)->isChecked()) return kModeOleDb;
  if (controls_.As<QRadioButton>(IDC_MODE_ODBC)->isChecked()) return kModeOdbc;
  return kModeNone;
}

void CQelvoView::SetConnectionMode(Mode mode) {
  auto* oledb = controls_.As<QRadioButton>(IDC_MODE_OLEDB);
  auto* odbc = controls_.As<QRadioButton>(IDC_MODE_ODBC);
  // A value outside the choices leaves neither checked: the group must allow that for a moment.
  QButtonGroup* group = controls_.GroupOf(IDC_MODE_OLEDB);
  if (group) group->setExclusive(false);
  oledb->setChecked(mode == kModeOleDb);
  odbc->setChecked(mode == kModeOdbc);
  if (group) group->setExclusive(true);
}

void CQelvoView::RegisterButtons(CommandActions& actions) {
  for (int id : {IDC_EXECUTE, IDC_QUERY_BACK, IDC_QUERY_FORWARD, IDC_CONNECTION_BACK, IDC_CONNECTION_FORWARD,
                 IDC_BUILD_CONNECTION})
    actions.AddButton(controls_.As<QAbstractButton>(id), id);
}

void CQelvoView::RegisterCommands() {
  CommandMap& map = Commands();
  map.On(IDC_EXECUTE, [this] { Execute(); });
  map.On(ID_EXECUTE, [this] { Execute(); });
  map.On(IDC_QUERY_BACK, [this] { QueryHistoryBack(); });
  map.On(ID_QUERY_HISTORY_BACK, [this] { QueryHistoryBack(); });
  map.On(IDC_QUERY_FORWARD, [this] { QueryHistoryForward(); });
  map.On(ID_QUERY_HISTORY_FORWARD, [this] { QueryHistoryForward(); });
  map.On(IDC_CONNECTION_BACK, [this] { ConnectionHistoryBack(); });
  map.On(IDC_CONNECTION_FORWARD, [this] { ConnectionHistoryForward(); });
  map.On(IDC_BUILD_CONNECTION, [this] { BuildConnectionString(); });
  map.On(ID_EDIT_FIND, [this] { Find(); });
  map.On(ID_CLEAR_HISTORY, [this] { ClearHistory(); });
  map.On(ID_FORMAT_QUERY, [this] { FormatQueryText(); });
  map.On(ID_FILE_OPEN, [this] { OpenScript(); });
  map.On(ID_FILE_SAVE_AS, [this] { SaveScriptAs(); });
  map.On(ID_LIST_TABLES, [this] { ListTables(false); });
  map.On(ID_LIST_TABLES_COUNT, [this] { ListTables(true); });
  map.On(ID_ENUM_FIELDS, [this] { EnumFields(); });

  auto buttonState = [this](CommandUi& ui) {
    HistoryButtonStates states = ComputeHistoryButtons(QueryText(), connections_, queries_);
    switch (ui.Id()) {
      case IDC_EXECUTE:
        ui.Enable(states.execute);
        break;
      case IDC_QUERY_BACK:
        ui.Enable(states.queryBack);
        break;
      case IDC_QUERY_FORWARD:
        ui.Enable(states.queryForward);
        break;
      case IDC_CONNECTION_BACK:
        ui.Enable(states.connectionBack);
        break;
      case IDC_CONNECTION_FORWARD:
        ui.Enable(states.connectionForward);
        break;
    }
  };
  for (int id : {IDC_EXECUTE, IDC_QUERY_BACK, IDC_QUERY_FORWARD, IDC_CONNECTION_BACK, IDC_CONNECTION_FORWARD})
    map.OnUpdate(id, buttonState);
  map.OnUpdate(ID_FILE_SAVE_AS, [this](CommandUi& ui) { ui.Enable(!QueryEditor()->document()->isEmpty()); });
}

void CQelvoView::OnInitialUpdate() {
  // Anchors refer to the designed form, so they are taken before the view's own size counts.
  for (const Anchor& anchor : kAnchors) AnchorControl(controls_.Get(anchor.id), anchor.topLeft, anchor.bottomRight);
  SetScrollSizes(QSize(0, 0));
  CAnchoredFormView::OnInitialUpdate();
  ApplyBottomMarginRule();

  PutDraftPasswordsAway(AppProfile());
  const std::string newestConnection = connections_.Load().value_or("");
  const std::string newestQuery = queries_.Load().value_or("");
  SetConnectionText(newestConnection);
  SetQueryText(newestQuery);
  if (std::optional<EditorDrafts> drafts = LoadEditorDrafts(AppProfile())) {
    // The editors as they were left; a text that was never executed keeps its marker.
    auto neverExecuted = [](const HistoryCache& history, const std::string& text) {
      return !text.empty() &&
             std::find(history.Entries().begin(), history.Entries().end(), text) == history.Entries().end();
    };
    SetConnectionText(drafts->connection);
    SetQueryText(drafts->query);
    ShowModifiedMarker(IDC_CONNECTION_LABEL, neverExecuted(connections_, drafts->connection));
    ShowModifiedMarker(IDC_QUERY_LABEL, neverExecuted(queries_, drafts->query));
  } else if (connections_.Entries().empty()) {
    if (std::optional<FirstStartTexts> first = FirstStartRequest(FindSampleDatabase())) {
      SetConnectionText(first->connection);
      SetQueryText(first->query);
    }
  }
  UpdateHistoryButtons();
  ShowSecretsNotice();

  SharedDisplayFont().AttachWindow(ConnectionEditor());
  SharedDisplayFont().AttachWindow(QueryEditor());

  connect(ConnectionEditor(), &QPlainTextEdit::textChanged, this, [this] { OnEditorChanged(IDC_CONNECTION_LABEL); });
  connect(QueryEditor(), &QPlainTextEdit::textChanged, this, [this] { OnEditorChanged(IDC_QUERY_LABEL); });
  initialized_ = true;
}

void CQelvoView::resizeEvent(QResizeEvent* event) {
  CAnchoredFormView::resizeEvent(event);
  if (IsInitialized()) ApplyBottomMarginRule();
}

void CQelvoView::ApplyBottomMarginRule() {
  QPlainTextEdit* editor = QueryEditor();
  const QPoint editorTopLeft = editor->mapTo(this, QPoint(0, 0));
  const int leftGap = editorTopLeft.x();
  const int bottom = height() - leftGap;  // exclusive, in view coordinates
  const int newHeight = std::max(0, bottom - editorTopLeft.y());
  if (newHeight != editor->height()) editor->resize(editor->width(), newHeight);
}

void CQelvoView::ShowModifiedMarker(int labelId, bool on) {
  QLabel* label = Label(labelId);
  if (!label) return;
  label->setText(ToQString(WithModifiedMarker(label->text().toStdString(), on)));
}

void CQelvoView::UpdateHistoryButtons() {
  HistoryButtonStates states = ComputeHistoryButtons(QueryText(), connections_, queries_);
  controls_.Get(IDC_EXECUTE)->setEnabled(states.execute);
  controls_.Get(IDC_CONNECTION_BACK)->setEnabled(states.connectionBack);
  controls_.Get(IDC_CONNECTION_FORWARD)->setEnabled(states.connectionForward);
  controls_.Get(IDC_QUERY_BACK)->setEnabled(states.queryBack);
  controls_.Get(IDC_QUERY_FORWARD)->setEnabled(states.queryForward);
}

void CQelvoView::OnEditorChanged(int labelId) {
  ShowModifiedMarker(labelId, true);
  UpdateHistoryButtons();
}

void CQelvoView::StepHistory(HistoryCache& history, bool back, QPlainTextEdit* editor, int labelId) {
  std::optional<std::string> text = back ? history.StepBack() : history.StepForward();
  if (text) {
    editor->setPlainText(ToQString(*text));
    ShowModifiedMarker(labelId, false);
  }
  UpdateHistoryButtons();
}

void CQelvoView::QueryHistoryBack() {
  StepHistory(queries_, true, QueryEditor(), IDC_QUERY_LABEL);
}
void CQelvoView::QueryHistoryForward() {
  StepHistory(queries_, false, QueryEditor(), IDC_QUERY_LABEL);
}
void CQelvoView::ConnectionHistoryBack() {
  StepHistory(connections_, true, ConnectionEditor(), IDC_CONNECTION_LABEL);
}
void CQelvoView::ConnectionHistoryForward() {
  StepHistory(connections_, false, ConnectionEditor(), IDC_CONNECTION_LABEL);
}

void CQelvoView::Execute() {
  if (panes_) panes_->ResetStatusPanes();
  WaitCursor wait;
  const std::string connection = ConnectionTextWithoutPasswords();
  const QString query = QueryEditor()->toPlainText();

  connections_.Remember(connection);
  ShowModifiedMarker(IDC_CONNECTION_LABEL, false);
  queries_.Remember(query.toStdString());
  ShowModifiedMarker(IDC_QUERY_LABEL, false);
  UpdateHistoryButtons();

  const QTextCursor cursor = QueryEditor()->textCursor();
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  const std::string statement =
      start >= 0 && start != end ? query.mid(start, end - start).toStdString() : query.toStdString();

  document_.SetRequest(statement, connection);
  document_.UpdateAllViews(this);
}
