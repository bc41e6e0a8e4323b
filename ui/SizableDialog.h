#pragma once
// CSizableDialog: base of the resizable dialogs. It owns the anchoring layout (laid out over the
// dialog itself) and the corner grip, and cannot be made smaller than it was when it opened.
//
// A derived dialog creates its controls and gives the dialog its designed size in its
// constructor, and anchors the controls in OnInitDialog after calling the base:
//
//   bool OnInitDialog() override {
//     CSizableDialog::OnInitDialog();
//     AnchorControl(list_, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
//     return true;
//   }
#include <QDialog>

#include "ui/AnchorLayout.h"
#include "ui/CornerGrip.h"

class CSizableDialog : public QDialog, public CAnchorLayout {
  Q_OBJECT
 public:
  explicit CSizableDialog(QWidget* parent = nullptr);

  bool IsInitialized() const { return initialized_; }
  const CCornerGrip& Grip() const { return grip_; }
  // The smallest size the dialog can be given (its size when it opened).
  QSize MinimumTrackingSize() const { return minimumTracking_; }

  QWidget* GetLayoutWindow() const override { return const_cast<CSizableDialog*>(this); }

 protected:
  // Runs once, when the dialog is first shown: the current size becomes the minimum, the grip
  // is placed, and the dialog counts as initialized.
  virtual bool OnInitDialog();

  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  CCornerGrip grip_;
  QSize minimumTracking_;
  bool initialized_ = false;
  bool initDone_ = false;
};
