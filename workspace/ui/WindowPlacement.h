#pragma once
// The main window's placement between runs, in the profile section "WindowState": the placement
// flags and show command, the normal-state rectangle (left, top, right, bottom; right and bottom
// exclusive) and the height of the splitter's top row.
#include <optional>

class ProfileStore;

inline constexpr const char* WindowStateSection = "WindowState";
inline constexpr int DefaultTopRowHeight = 300;

// Show commands as stored.
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
// Placement flag: a minimized window comes back maximized.
inline constexpr int WPF_RESTORETOMAXIMIZED = 0x2;

struct WindowPlacement {
  int flags = 0;
  int showCmd = SW_SHOWNORMAL;
  int left = 0, top = 0, right = 0, bottom = 0;

  bool operator==(const WindowPlacement&) const = default;
};

// Writes "flags", "showCmd", "x1", "y1", "x2", "y2" and "tvh", then flushes.
void SaveWindowPlacement(ProfileStore& profile, const WindowPlacement& placement, int topRowHeight);

// The stored placement; nothing when any of the six values is missing or -1, or when the
// rectangle is empty (a damaged section leaves the default placement).
std::optional<WindowPlacement> ReadWindowPlacement(const ProfileStore& profile);

// "tvh", DefaultTopRowHeight when missing; never negative.
int ReadTopRowHeight(const ProfileStore& profile);

// Keeps the window reachable on a screen of screenWidth x screenHeight: a left edge at or beyond
// screenWidth - iconWidth is pulled back to it (likewise the top edge), the window keeping its
// size. Edges before the screen's origin stay as stored.
WindowPlacement ClampToScreen(WindowPlacement placement, int screenWidth, int screenHeight, int iconWidth,
                              int iconHeight);
