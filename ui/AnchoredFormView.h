#pragma once
// CAnchoredFormView: a form view whose controls follow their anchors (AnchorLayout.h). The
// controls are children of Form(), which fills the view; when the view is smaller than the
// form's total size, the form keeps that size and the view scrolls instead, so controls never
// shrink below the designed form. A total size of 0 x 0 (SetScrollSizes) means the form never
// scrolls and always fills the view.
//
// The owner calls OnInitialUpdate once the view is in place (the view then lays out); before
// that, anchors refer to the form's designed (total) size. Being a command target, a derived
// view registers its commands in Commands() and joins the frame's CommandRouter.
#include <QScrollArea>

#include "platform/framework/CommandTarget.h"
#include "ui/AnchorLayout.h"

class CAnchoredFormView : public QScrollArea, public CAnchorLayout, public CommandTarget {
  Q_OBJECT
 public:
  // `formSize` in pixels: the designed size of the form (DialogUnits::ToPixels of the template).
  explicit CAnchoredFormView(QSize formSize, QWidget* parent = nullptr);

  QWidget* Form() const { return form_; }
  void SetScrollSizes(QSize total);
  QSize GetTotalSize() const { return total_; }
  // With scale-to-fit, anchors refer to the visible area even below the designed size.
  void SetScaleToFit(bool on);
  bool IsInitialized() const { return initialized_; }

  virtual void OnInitialUpdate();

  QRect GetLayoutRect() const override;
  QWidget* GetLayoutWindow() const override { return form_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitForm();

  QWidget* form_;
  QSize total_;
  bool scaleToFit_ = false;
  bool initialized_ = false;
};
