#pragma once
// CQelvoView: the query workspace, the upper pane of the main window. A form (template 101) with
// the connection-string editor, the query editor, the provider-mode radio buttons, the history
// buttons and Execute. It owns the two histories ("CacheConnection", "CacheQuery2").
//
// Execute never touches the database: it records both texts in their histories, puts the
// statement text (the selection, or the whole query) and the connection string into the
// document and updates the document's views; the lower pane runs the request inside that call.
//
// It also handles the commands that act on the editors: the edit commands, Find, Clear history,
// the connection-string builder ("..."), Format Query, Open and Save As. Other commands that work
// on the workspace's texts register on Commands() and use the accessors below.
//
// Lifecycle: construct, join the frame's routing (RegisterButtons), then OnInitialUpdate once
// the view is in its splitter. Destruction stores the connection mode, writes all settings and
// both histories.
#include <QPointer>
#include <string>

#include "platform/FindDialog.h"
#include "platform/framework/ControlTable.h"
#include "ui/AnchoredFormView.h"
#include "workspace/HistoryCache.h"
#include "workspace/ui/QelvoDoc.h"

class CommandActions;
class QLabel;
class QPlainTextEdit;
class StatusPanes;

class CQelvoView : public CAnchoredFormView, public DocView {
  Q_OBJECT
 public:
  // Control ids of template 101.
  enum ControlId {
    IDC_CONNECTION = 1000,
    IDC_QUERY = 1001,
    IDC_EXECUTE = 1006,
    IDC_BUILD_CONNECTION = 1009,
    IDC_QUERY_BACK = 1014,
    IDC_QUERY_FORWARD = 1015,
    IDC_CONNECTION_BACK = 1018,
    IDC_CONNECTION_FORWARD = 1019,
    IDC_MODE_OLEDB = 1020,
    IDC_MODE_ODBC = 1021,
    IDC_QUERY_LABEL = 1037,
    IDC_CONNECTION_LABEL = 1038,
    IDC_CONNECTION_HELP = 1082,
    IDC_QUERY_HELP = 1083,
  };
  // Connection modes (General/ConnStringMode).
  enum Mode { kModeNone = 0, kModeOleDb = 1, kModeOdbc = 2 };

  // `panes` may be null (no status bar).
  CQelvoView(CQelvoDoc& document, StatusPanes* panes, QWidget* parent = nullptr);
  ~CQelvoView() override;

  // The form's buttons raise their commands through the frame's routing and follow its updates.
  void RegisterButtons(CommandActions& actions);
  void OnInitialUpdate() override;
  // The workspace does not react to the document: it is the sender.
  void OnUpdate(DocView*) override {}

  // ---- Commands (also reachable through Commands()).
  void Execute();
  void QueryHistoryBack();
  void QueryHistoryForward();
  void ConnectionHistoryBack();
  void ConnectionHistoryForward();
  void BuildConnectionString();
  void Find();
  void ClearHistory();
  void FormatQueryText();
  void OpenScript();
  void SaveScriptAs();
  // List Tables (with record counts or without): a SELECT for the chosen table.
  void ListTables(bool withCounts);
  // Enum Fields: every field of every table in a text window.
  void EnumFields();
  // The script export commands: tables picked in the "Export" dialog, or the current query under
  // a typed name, for SQL Server or (mysql) MySQL.
  void ExportTables(bool mysql);
  void ExportQuery(bool mysql);

  // ---- The workspace's state.
  QPlainTextEdit* ConnectionEditor() const;
  QPlainTextEdit* QueryEditor() const;
  std::string ConnectionText() const;
  std::string QueryText() const;
  // The selected part of the query editor when something is selected, else the whole query.
  std::string CurrentQueryText() const;
  void SetQueryText(const std::string& text);
  void SetConnectionText(const std::string& text);
  // Puts the connection editor's passwords away in the secret store, leaving their placeholders
  // in the editor, and returns that text: what the histories and the document get.
  std::string ConnectionTextWithoutPasswords();
  // The status-bar notice that passwords are kept for this session only, once per run.
  void ShowSecretsNotice();
  QWidget* Control(int id) const { return controls_.Get(id); }
  QLabel* Label(int id) const;
  // The checked radio button (kModeNone when neither is).
  Mode ConnectionMode() const;
  void SetConnectionMode(Mode mode);
  HistoryCache& ConnectionHistory() { return connections_; }
  HistoryCache& QueryHistory() { return queries_; }
  FindDialog* OpenFindDialog() const { return find_; }
  const std::string& LastSearchText() const { return lastSearch_; }

  // " *" on or off at the end of a label.
  void ShowModifiedMarker(int labelId, bool on);
  // Enables "!" and the four history buttons from the editors and the histories.
  void UpdateHistoryButtons();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void RegisterCommands();
  void RegisterEditCommands();
  void RegisterExportCommands();
  void ApplyBottomMarginRule();
  void OnEditorChanged(int labelId);
  void StepHistory(HistoryCache& history, bool back, QPlainTextEdit* editor, int labelId);
  void OnFindNext();
  void BuildOleDbConnectionString();
  void BuildOdbcConnectionString();

  CQelvoDoc& document_;
  StatusPanes* panes_;
  ControlTable controls_;
  HistoryCache connections_;
  HistoryCache queries_;
  QPointer<FindDialog> find_;
  std::string lastSearch_;
  bool initialized_ = false;
};
