#include "workspace/ui/WindowPlacement.h"

#include "workspace/ProfileStore.h"

namespace {
constexpr const char* kKeys[] = {"flags", "showCmd", "x1", "y1", "x2", "y2"};
}

void SaveWindowPlacement(ProfileStore& profile, const WindowPlacement& placement, int topRowHeight) {
  const int values[] = {placement.flags, placement.showCmd, placement.left,
                        placement.top,   placement.right,   placement.bottom};
  for (int i = 0; i < 6; ++i) profile.WriteInt(WindowStateSection, kKeys[i], values[i]);
  profile.WriteInt(WindowStateSection, "tvh", topRowHeight);
  profile.Flush();
}

std::optional<WindowPlacement> ReadWindowPlacement(const ProfileStore& profile) {
  int values[6];
  for (int i = 0; i < 6; ++i) {
    std::optional<std::int32_t> value = profile.ReadInt(WindowStateSection, kKeys[i]);
    if (!value || *value == -1) return std::nullopt;
    values[i] = *value;
  }
  WindowPlacement placement{values[0], values[1], values[2], values[3], values[4], values[5]};
  // An empty or inverted rectangle would make an invisible window.
  if (placement.right <= placement.left || placement.bottom <= placement.top) return std::nullopt;
  return placement;
}

int ReadTopRowHeight(const ProfileStore& profile) {
  int height = profile.ReadInt(WindowStateSection, "tvh").value_or(DefaultTopRowHeight);
  return height < 0 ? 0 : height;
}

WindowPlacement ClampToScreen(WindowPlacement placement, int screenWidth, int screenHeight, int iconWidth,
                              int iconHeight) {
  // The whole rectangle moves: pulling back only the left edge would stretch the window to the
  // old right edge, far beyond the screen.
  if (placement.left >= screenWidth - iconWidth) {
    int shift = placement.left - (screenWidth - iconWidth);
    placement.left -= shift;
    placement.right -= shift;
  }
  if (placement.top >= screenHeight - iconHeight) {
    int shift = placement.top - (screenHeight - iconHeight);
    placement.top -= shift;
    placement.bottom -= shift;
  }
  return placement;
}
