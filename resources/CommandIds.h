#pragma once
// The program's command ids, status-pane ids and resource ids: one numbering shared by the
// menus, accelerators, toolbar, string table, form buttons and command handlers.

// ---- Resources
inline constexpr int IDR_MAINFRAME = 128;  // menu, toolbar, accelerators, the main (yellow) icon
inline constexpr int IDI_ICON_GREEN = 133;
inline constexpr int IDI_ICON_RED = 134;
inline constexpr int IDI_ICON_BLUE = 135;
inline constexpr int IDB_TABLE_KINDS = 136;  // table / synonym or link / view images, 22 x 15

// ---- Standard commands
inline constexpr int ID_FILE_NEW = 57600;  // has no handler: stays disabled
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;  // first entry of the recent-file list
inline constexpr int ID_FILE_MRU_FILE4 = 57619;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_SELECT_ALL = 57642;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

// ---- The program's commands
inline constexpr int ID_LIST_TABLES = 1005;
inline constexpr int ID_EXECUTE = 1039;                // Ctrl+Enter, toolbar
inline constexpr int ID_QUERY_HISTORY_BACK = 1040;     // Ctrl+PgUp
inline constexpr int ID_QUERY_HISTORY_FORWARD = 1041;  // Ctrl+PgDn
inline constexpr int ID_CLEAR_HISTORY = 1043;
inline constexpr int ID_IN_PLACE_EDIT = 1067;
inline constexpr int ID_TEST_GRID = 1074;
inline constexpr int ID_ENUM_FIELDS = 32775;
inline constexpr int ID_EXPORT_SQLSERVER_TABLES = 32777;
inline constexpr int ID_EXPORT_MYSQL_TABLES = 32778;
inline constexpr int ID_CONFIGURATION = 32779;
inline constexpr int ID_SQL_SYNTAX = 32781;
inline constexpr int ID_RECORD_NEW = 32784;
inline constexpr int ID_RECORD_EDIT = 32785;
inline constexpr int ID_RECORD_DELETE = 32786;
inline constexpr int ID_FILTER_ROW = 32790;
inline constexpr int ID_LIST_TABLES_COUNT = 32792;
inline constexpr int ID_FORMAT_QUERY = 32793;
inline constexpr int ID_RECORD_DUPLICATE = 32794;
inline constexpr int ID_RECORD_SEARCH = 32795;
inline constexpr int ID_EXPORT_SQLSERVER_QUERY = 32798;
inline constexpr int ID_EXPORT_MYSQL_QUERY = 32799;
inline constexpr int ID_EXPORT = 32801;
inline constexpr int ID_STOP = 32802;  // Esc in the grid or the query, toolbar: stops a fetch

// ---- Buttons of the workspace form that raise commands (their control ids)
inline constexpr int IDC_EXECUTE_BUTTON = 1006;      // "!"
inline constexpr int IDC_BUILD_CONNECTION = 1009;    // "..."
inline constexpr int IDC_QUERY_BACK = 1014;          // "<<" by the query
inline constexpr int IDC_QUERY_FORWARD = 1015;       // ">>" by the query
inline constexpr int IDC_CONNECTION_BACK = 1018;     // "<<" by the connection string
inline constexpr int IDC_CONNECTION_FORWARD = 1019;  // ">>" by the connection string

// ---- Status-bar panes (after the message pane)
inline constexpr int ID_INDICATOR_BLANK = 32783;    // 45 blanks wide, never written
inline constexpr int ID_INDICATOR_RECORDS = 32780;  // record count
inline constexpr int ID_INDICATOR_ELAPSED = 32782;  // elapsed time
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;
