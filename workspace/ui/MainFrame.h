#pragma once
// CMainFrame: the main window. Menu, toolbar and status bar from the resources, and a splitter of
// two rows: the query workspace (CQelvoView) on top and the result pane (CBottomView) below. It
// routes commands (active view, frame, application, then the other views), remembers its
// placement and the splitter height in "WindowState", owns the status panes a run writes to,
// and handles the grid's display toggles, SQL Syntax, Test Grid and the pane switch (Shift+F6).
#include <QMainWindow>
#include <map>
#include <memory>

#include "platform/framework/CommandActions.h"
#include "platform/framework/CommandRouter.h"
#include "platform/framework/CommandTarget.h"
#include "workspace/ui/StatusPanes.h"

class CBottomView;
class CMenuIconManager;
class CQelvoDoc;
class CQelvoView;
class QLabel;
class QSplitter;
class QToolBar;

class CMainFrame : public QMainWindow, public CommandTarget, public StatusPanes {
  Q_OBJECT
 public:
  // `application` is the command target after the frame in the routing (may be null).
  CMainFrame(CQelvoDoc& document, CommandTarget* application = nullptr);
  ~CMainFrame() override;

  // Toolbar, status bar and the client area (splitter and both views), created hidden. False
  // when a part could not be made.
  bool Create();
  // The views' first update, in document order: the workspace loads its histories, the lower
  // pane makes its grid.
  void InitialUpdateFrame();

  // Restores the saved placement, which also shows the window; false (nothing shown) when there
  // is no complete placement.
  bool RestorePlacement();
  // Writes the placement and the splitter's top-row height to "WindowState".
  void SavePlacement();

  CQelvoDoc& Document() { return document_; }
  CQelvoView* TopView() const { return top_; }
  CBottomView* BottomView() const { return bottom_; }
  QSplitter* Splitter() const { return splitter_; }
  QToolBar* ToolBar() const { return toolbar_; }
  CommandRouter& Router() { return router_; }
  CommandActions& Actions() { return *actions_; }
  CMenuIconManager& MenuIcons() { return *menuIcons_; }

  // ---- Status panes.
  void SetRecordCountPane(const std::string& text) override;
  void SetElapsedPane(long milliseconds) override;
  void ResetStatusPanes() override;
  void SetConnectionPane(const std::string& connectionString) override;
  void ShowStatusMessage(const std::string& text) override;
  std::string StatusMessage() const override;
  // The text of a pane by its id (ID_INDICATOR_...); "" for an unknown id.
  std::string PaneText(int id) const;
  QLabel* Pane(int id) const;

  // Remembers the icon id and shows that icon as the window's icon.
  void SetFrameIcon(int iconId);
  int FrameIconId() const { return iconId_; }

  // ---- Commands of the frame.
  void ToggleInPlaceEdit();
  void ToggleFilterRow();
  void OpenSqlSyntax();
  void ActivateOtherPane();
  // Tools > Configuration: the configuration editor; after OK the new values are applied.
  void RunConfiguration();
  // After the configuration editor closed with OK: the grid follows the changed settings.
  void ApplyConfiguration();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Esc in the query editor or the grid during a fetch: Stop.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateToolBar();
  void CreateStatusBar();
  void CreateClient();
  void RegisterCommands();

  CQelvoDoc& document_;
  CommandRouter router_;
  std::unique_ptr<CommandActions> actions_;
  std::unique_ptr<CMenuIconManager> menuIcons_;
  QToolBar* toolbar_ = nullptr;
  QSplitter* splitter_ = nullptr;
  CQelvoView* top_ = nullptr;
  CBottomView* bottom_ = nullptr;
  std::map<int, QLabel*> panes_;
  int iconId_ = 128;
};
