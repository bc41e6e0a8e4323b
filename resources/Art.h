#pragma once
// The program's pictures, drawn in code (ToolbarArt.cpp, IconArt.cpp, GridArt.cpp) so they stay
// sharp, need no binary files, and can be looked at enlarged with qelvo_art_preview:
//  - one 16 x 15 toolbar image per toolbar command, also shown in the menus;
//  - the main icon (IDR_MAINFRAME, yellow) and its three colour variants (green, red, blue);
//  - the grid's filter marker images ("DbGridImages", 16 x 16: 0 no filter, 1 filter active);
//  - the table-kind images (IDB_TABLE_KINDS, 22 x 15: 0 table, 1 synonym or link, 2 view).
// Every picture has a transparent background. Drawing needs a QGuiApplication.
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <vector>

inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;

// The toolbar image of a command, or a null image when the toolbar has none for it.
QImage ToolbarImage(int commandId);
// The same as an icon (the normal image; the style derives the disabled look).
QIcon CommandIcon(int commandId);
// All toolbar images side by side in toolbar order, without separators.
QImage ToolbarStrip();

// The main icon in the colour of the icon id (IDR_MAINFRAME, IDI_ICON_GREEN, IDI_ICON_RED,
// IDI_ICON_BLUE; any other id gives the main icon), at 16, 24, 32, 48, 64, 128 and 256 pixels.
QIcon MainIcon(int iconId);
QImage MainIconImage(int iconId, int size);
// The ids of the four icons, in the order the configuration editor lists them.
std::vector<int> MainIconIds();

// "DbGridImages": the filter marker off (0) and on (1).
QList<QPixmap> LoadDbGridImages();
QImage DbGridImage(int index);

// IDB_TABLE_KINDS: table (0), synonym or link (1), view (2).
QList<QPixmap> TableKindImages();
QImage TableKindImage(int index);
