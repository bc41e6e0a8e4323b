#pragma once
// CAnchorLayout: keeps the controls of a resizable window in place. Each control is tied at its
// top-left and bottom-right corners to points of the layout rectangle given in percent of its
// width and height, and keeps its distances (margins) to those points:
//
//   margin      = corner - anchor% * size0 / 100          (when anchored)
//   new corner  = margin + anchor% * size / 100           (on every layout)
//
// with integer divisions that truncate toward zero and the origin of the rectangle not added.
// So a control anchored (0,0)-(100,100) grows by exactly the change of the client size, one
// anchored (100,0)-(100,0) keeps its size and its distance to the right edge, and one anchored
// at 50 % moves by half the growth, truncated (growth 5 moves it by 2).
//
// Items without a window ("callback items", added with AddCallback) come after the anchored
// controls; LayoutCallback fills them at layout time (give the item a window and anchors).
//
// A mix-in: the resizable window derives from it and names the window whose client area is laid
// out (GetLayoutWindow). Controls must be children (or deeper descendants) of that window.
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <vector>

class QPainter;

struct AnchorPoint {
  int x;  // percent of the width
  int y;  // percent of the height
  bool operator==(const AnchorPoint&) const = default;
};

inline constexpr AnchorPoint ANCHOR_TOP_LEFT{0, 0};
inline constexpr AnchorPoint ANCHOR_TOP_CENTER{50, 0};
inline constexpr AnchorPoint ANCHOR_TOP_RIGHT{100, 0};
inline constexpr AnchorPoint ANCHOR_MIDDLE_LEFT{0, 50};
inline constexpr AnchorPoint ANCHOR_MIDDLE_CENTER{50, 50};
inline constexpr AnchorPoint ANCHOR_MIDDLE_RIGHT{100, 50};
inline constexpr AnchorPoint ANCHOR_BOTTOM_LEFT{0, 100};
inline constexpr AnchorPoint ANCHOR_BOTTOM_CENTER{50, 100};
inline constexpr AnchorPoint ANCHOR_BOTTOM_RIGHT{100, 100};
inline constexpr AnchorPoint ANCHOR_NONE{-1, -1};

struct LayoutItem {
  QPointer<QWidget> window;      // null for a callback item
  std::uint32_t callbackId = 0;  // 0 for anchored controls
  bool adjustHScroll = false;    // list views: repaint when the growth hides the scrolled part
  bool needsRepaint = false;     // from WantsRepaint
  AnchorPoint topLeft = ANCHOR_TOP_LEFT;
  QPoint topLeftMargin;
  AnchorPoint bottomRight = ANCHOR_TOP_LEFT;
  QPoint bottomRightMargin;
};

class CAnchorLayout {
 public:
  virtual ~CAnchorLayout() = default;

  // Adds the control in its current place. A bottom-right anchor of ANCHOR_NONE means the
  // top-left anchor.
  void AnchorControl(QWidget* control, AnchorPoint topLeft, AnchorPoint bottomRight = ANCHOR_NONE);
  // Adds an item filled by LayoutCallback at each layout (after all anchored controls).
  void AddCallback(std::uint32_t callbackId);
  // Moves and sizes every item for the current layout rectangle; controls whose rectangle does
  // not change are not touched.
  void LayoutControls();
  // The part of `area` (layout-window coordinates) the window's background may be painted in:
  // each visible control's shape (its mask, else its rectangle) is taken out when WantsClipping
  // says so, and added otherwise.
  QRegion ExcludeChildrenFromPaint(const QRegion& area) const;
  // The same applied to a painter's clip region over the whole layout window.
  void ExcludeChildrenFromPaint(QPainter& painter) const;
  // Forgets every item.
  void RemoveAllAnchors();

  const std::vector<LayoutItem>& Items() const { return items_; }
  int AnchoredCount() const { return anchored_; }
  // Growth of the item array when full: `step` items, or (0) an eighth of its size within 4..1024.
  void SetGrowStep(int step) { growStep_ = step; }
  std::size_t Capacity() const { return items_.capacity(); }

  virtual bool WantsClipping(QWidget* child) const;
  virtual bool WantsRepaint(QWidget* child) const;
  // The area anchors refer to, in layout-window coordinates; by default its whole rectangle.
  virtual QRect GetLayoutRect() const;
  // Fills a callback item; false skips it. The default skips.
  virtual bool LayoutCallback(LayoutItem& item);
  virtual QWidget* GetLayoutWindow() const = 0;

 private:
  void Grow();
  QRect RectInLayoutWindow(const QWidget* control) const;

  std::vector<LayoutItem> items_;
  int anchored_ = 0;
  int growStep_ = 0;
};
