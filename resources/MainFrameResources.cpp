#include "resources/MainFrameResources.h"

#include <map>

#include "platform/framework/CommandActions.h"
#include "resources/Art.h"
#include "resources/CommandIds.h"

namespace {
using M = MenuItemDef;

const std::map<int, std::string>& Prompts() {
  static const std::map<int, std::string> prompts = {
      // The program's own.
      {ID_LIST_TABLES, "List Tables\nTables"},
      {ID_CLEAR_HISTORY, "Clear history\nClear history"},
      {ID_IN_PLACE_EDIT, "In Place Edit\nIn Place Edit"},
      {ID_ENUM_FIELDS, "Enum all fields\nEnum all fields"},
      {ID_EXPORT_SQLSERVER_TABLES, "Build script for SQL Server"},
      {ID_EXPORT_MYSQL_TABLES, "Build script for MYSQL"},
      {ID_CONFIGURATION, "Configuration\nConfiguration"},
      {ID_SQL_SYNTAX, "SQL Syntax\nSQL Syntax"},
      {ID_RECORD_NEW, "New Record\nNew Record"},
      {ID_RECORD_EDIT, "Edit Record\nEdit Record"},
      {ID_RECORD_DELETE, "Delete Record\nDelete Record"},
      {ID_FILTER_ROW, "Hide or Show filter row\nFilter"},
      {ID_LIST_TABLES_COUNT, "List Tables + Record Count\nTables+Count"},
      {ID_FORMAT_QUERY, "Format query\nFormat Query"},
      {ID_RECORD_DUPLICATE, "Duplicate Record\nDuplicate Record"},
      {ID_RECORD_SEARCH, "Search Record\nSearch Record"},
      {ID_EXPORT, "Export\nExport"},
      {ID_STOP, "Stop reading the rows of the result, keeping those read\nStop (Esc)"},
      // A toolbar button needs a tip, and Execute had none.
      {ID_EXECUTE, "Execute the query, or the selected part of it\nExecute (Ctrl+Enter)"},
      // The standard commands.
      {ID_FILE_NEW, "Create a new document\nNew"},
      {ID_FILE_OPEN, "Open a script file into the query editor\nOpen"},
      {ID_FILE_SAVE_AS, "Save the query as a script file\nSave As"},
      {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
      {ID_FILE_PRINT, "Print the result grid\nPrint"},
      {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
      {ID_APP_EXIT, "Quit the application\nExit"},
      {ID_EDIT_UNDO, "Undo the last action\nUndo"},
      {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
      {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
      {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
      {ID_EDIT_SELECT_ALL, "Select the entire text\nSelect All"},
      {ID_EDIT_FIND, "Find the specified text\nFind"},
      {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
      {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle Status Bar"},
      {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
      {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
  };
  return prompts;
}
}  // namespace

std::vector<MenuItemDef> MainMenu() {
  return {
      M::Popup("&File",
               {M::Command("&Open...\tCtrl+O", ID_FILE_OPEN), M::Command("Save &As...\tCtrl+S", ID_FILE_SAVE_AS),
                M::Separator(), M::Command("&Print...\tCtrl+P", ID_FILE_PRINT),
                M::Command("Print Pre&view", ID_FILE_PRINT_PREVIEW), M::Command("P&rint Setup...", ID_FILE_PRINT_SETUP),
                M::Separator(), M::Command("Recent File", ID_FILE_MRU_FILE1), M::Separator(),
                M::Command("E&xit", ID_APP_EXIT)}),
      M::Popup("&Edit",
               {M::Command("&Undo\tCtrl+Z", ID_EDIT_UNDO), M::Separator(), M::Command("Cu&t\tCtrl+X", ID_EDIT_CUT),
                M::Command("&Copy\tCtrl+C", ID_EDIT_COPY), M::Command("&Paste\tCtrl+V", ID_EDIT_PASTE),
                M::Command("Select All\tCtrl+A", ID_EDIT_SELECT_ALL), M::Separator(),
                M::Command("Clear history", ID_CLEAR_HISTORY), M::Command("Find", ID_EDIT_FIND)}),
      M::Popup(
          "Database",
          {M::Command("&New Record\tF2", ID_RECORD_NEW), M::Command("&Edit Record\tF3", ID_RECORD_EDIT),
           M::Command("&Delete Record\tF4", ID_RECORD_DELETE), M::Command("&Duplicate Record\tF5", ID_RECORD_DUPLICATE),
           M::Command("&Search Record\tF6", ID_RECORD_SEARCH)}),
      M::Popup("&View", {M::Command("&Toolbar", ID_VIEW_TOOLBAR), M::Command("&Status Bar", ID_VIEW_STATUS_BAR)}),
      M::Popup(
          "&Tools",
          {M::Command("Configuration\tAlt+C", ID_CONFIGURATION), M::Command("Format Query", ID_FORMAT_QUERY),
           M::Separator(), M::Command("Enum Tables", ID_LIST_TABLES),
           M::Command("Enum Tables + Record Count", ID_LIST_TABLES_COUNT),
           M::Command("Enum Fields\tCtrl+F1", ID_ENUM_FIELDS), M::Separator(),
           M::Popup(
               "Script generator",
               {M::Popup("SQL Server target", {M::Command("Export tables\tCtrl+F2", ID_EXPORT_SQLSERVER_TABLES),
                                               M::Command("Export current query\tCtrl+F3", ID_EXPORT_SQLSERVER_QUERY)}),
                M::Popup("MySQL target", {M::Command("Export tables\tCtrl+F4", ID_EXPORT_MYSQL_TABLES),
                                          M::Command("Export current query\tCtrl+F5", ID_EXPORT_MYSQL_QUERY)})}),
           M::Command("Test Grid", ID_TEST_GRID)}),
      M::Popup("&Help",
               {M::Command("&About Qelvo...", ID_APP_ABOUT), M::Separator(), M::Command("SQL Syntax", ID_SQL_SYNTAX)}),
  };
}

std::vector<AcceleratorDef> MainAccelerators() {
  return {
      {QKeySequence(Qt::CTRL | Qt::Key_A), ID_EDIT_SELECT_ALL},
      {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
      {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
      {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
      {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
      {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
      {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
      {QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO},
      {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
      {QKeySequence(Qt::CTRL | Qt::Key_F), ID_EDIT_FIND},
      {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
      {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
      {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE_AS},
      {QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT},
      {QKeySequence(Qt::ALT | Qt::Key_C), ID_CONFIGURATION},
      // Alt+F is the File menu's mnemonic; Ctrl+Shift+F is the usual "format" key of SQL editors.
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), ID_FORMAT_QUERY},
      {QKeySequence(Qt::CTRL | Qt::Key_T), ID_LIST_TABLES},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), ID_TEST_GRID},
      {QKeySequence(Qt::CTRL | Qt::Key_F1), ID_ENUM_FIELDS},
      {QKeySequence(Qt::Key_F2), ID_RECORD_NEW},
      {QKeySequence(Qt::Key_F3), ID_RECORD_EDIT},
      {QKeySequence(Qt::Key_F4), ID_RECORD_DELETE},
      {QKeySequence(Qt::Key_F5), ID_RECORD_DUPLICATE},
      {QKeySequence(Qt::Key_F6), ID_RECORD_SEARCH},
      {QKeySequence(Qt::CTRL | Qt::Key_F2), ID_EXPORT_SQLSERVER_TABLES},
      {QKeySequence(Qt::CTRL | Qt::Key_F3), ID_EXPORT_SQLSERVER_QUERY},
      {QKeySequence(Qt::CTRL | Qt::Key_F4), ID_EXPORT_MYSQL_TABLES},
      {QKeySequence(Qt::CTRL | Qt::Key_F5), ID_EXPORT_MYSQL_QUERY},
      {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
      // Enter on the main keyboard and on the keypad.
      {QKeySequence(Qt::CTRL | Qt::Key_Return), ID_EXECUTE},
      {QKeySequence(Qt::CTRL | Qt::Key_Enter), ID_EXECUTE},
      {QKeySequence(Qt::CTRL | Qt::Key_PageUp), ID_QUERY_HISTORY_BACK},
      {QKeySequence(Qt::CTRL | Qt::Key_PageDown), ID_QUERY_HISTORY_FORWARD},
  };
}

ToolbarDef MainToolbar() {
  return {ID_FILE_OPEN,
          ID_FILE_SAVE_AS,
          0,
          ID_LIST_TABLES,
          ID_EXECUTE,
          ID_STOP,
          0,
          ID_EDIT_CUT,
          ID_EDIT_COPY,
          ID_EDIT_PASTE,
          0,
          ID_FILE_PRINT,
          0,
          ID_RECORD_NEW,
          ID_RECORD_EDIT,
          ID_RECORD_DELETE,
          ID_RECORD_DUPLICATE,
          ID_RECORD_SEARCH,
          ID_EXPORT,
          0,
          ID_IN_PLACE_EDIT,
          ID_FILTER_ROW,
          ID_FORMAT_QUERY,
          0,
          ID_APP_ABOUT,
          ID_SQL_SYNTAX};
}

std::string CommandPrompt(int id) {
  auto it = Prompts().find(id);
  return it == Prompts().end() ? std::string() : it->second;
}

std::vector<int> CommandsWithPrompts() {
  std::vector<int> ids;
  for (const auto& [id, text] : Prompts()) ids.push_back(id);
  return ids;
}

std::vector<StatusPaneDef> MainStatusPanes() {
  return {
      {0, ""},
      {ID_INDICATOR_BLANK, std::string(45, ' ')},
      {ID_INDICATOR_RECORDS, "SQL Syntax\nSQL Syntax"},
      {ID_INDICATOR_ELAPSED, std::string(19, ' ')},
      {ID_INDICATOR_CAPS, "CAP"},
      {ID_INDICATOR_NUM, "NUM"},
      {ID_INDICATOR_SCRL, "SCRL"},
  };
}

void ApplyMainFrameResources(CommandActions& actions) {
  for (const auto& [id, text] : Prompts()) actions.SetPrompt(id, text);
  for (int id : MainToolbar())
    if (id != 0) actions.SetIcon(id, CommandIcon(id));
  actions.AddAccelerators(MainAccelerators());
}
