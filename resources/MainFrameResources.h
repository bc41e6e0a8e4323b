#pragma once
// The main window's resources as data: menu, accelerators, toolbar, command prompts (status-bar
// text "\n" tool tip), status-bar panes and the document template string. The main frame builds
// its widgets from them:
//
//   CommandActions actions(router, this);
//   ApplyMainFrameResources(actions);              // prompts, toolbar images, accelerators
//   actions.BuildMenuBar(menuBar(), MainMenu());
//   actions.BuildToolBar(toolbar, MainToolbar());
#include <string>
#include <vector>

#include "platform/framework/MenuDefs.h"

class CommandActions;

std::vector<MenuItemDef> MainMenu();
std::vector<AcceleratorDef> MainAccelerators();
ToolbarDef MainToolbar();

// "prompt\ntip" of a command; empty when it has none.
std::string CommandPrompt(int id);
// Every command that has a prompt.
std::vector<int> CommandsWithPrompts();

struct StatusPaneDef {
  int id;                 // 0 for the message pane, which takes the remaining width
  std::string widthText;  // the pane is as wide as this text in the status bar's font
};
std::vector<StatusPaneDef> MainStatusPanes();

// "Qelvo\n\nVarnet\n\n\nQelvo.Document\nVarnet Document": window title, new-file name, file
// type id and type name.
inline constexpr const char* kDocumentTemplateString = "Qelvo\n\nVarnet\n\n\nQelvo.Document\nVarnet Document";
inline constexpr const char* kHelpPageName = "Qelvo.html";

// Prompts, toolbar images (also shown in the menus) and accelerators onto the actions.
void ApplyMainFrameResources(CommandActions& actions);
