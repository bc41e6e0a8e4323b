#pragma once
// CCornerGrip: the size grip in the lower right corner of a resizable dialog. Only its lower
// right triangle is part of it (a mask), so clicks beside the triangle reach what lies below;
// dragging it resizes the dialog from that corner (the lower left one in right-to-left layout).
// It sits behind every sibling control and is disabled while the dialog is maximized.
#include <QPointer>
#include <QRegion>
#include <QSize>

class QSizeGrip;
class QWidget;

class CCornerGrip {
 public:
  // The size: a vertical scroll bar's width by a horizontal one's height, read now.
  CCornerGrip();

  // Creates the grip, hidden, then places and shows it; false when there is no parent.
  bool CreateGrip(QWidget* parent);
  // Lower right corner on the parent's, behind all siblings; enabled unless maximized.
  void PlaceGrip();
  void ShowGrip(bool show);

  QSize Size() const { return size_; }
  QWidget* Widget() const;

  // The kept part of a grip of that size: for each pixel row r, the pixels from x = width - r on.
  static QRegion TriangleRegion(QSize size);

 private:
  QSize size_;
  QPointer<QSizeGrip> grip_;
};
