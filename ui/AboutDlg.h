#pragma once
// The About box "About Qelvo": the program's icon, its name and version and its legal line, read
// from the program's version record, and the web address as a link (the icon is a link too).
#include <QDialog>

#include "platform/framework/ControlTable.h"

class CLink;

class AboutDlg : public QDialog {
  Q_OBJECT
 public:
  enum ControlId { kLinkText = 1010, kIcon = 1012, kVersion = 1022, kLegal = 1023, kOk = 1 };

  AboutDlg(const QIcon& icon, QWidget* parent = nullptr);

  QWidget* Control(int id) const { return controls_.Get(id); }
  CLink* TextLink() const { return textLink_; }
  CLink* IconLink() const { return iconLink_; }

 private:
  ControlTable controls_;
  CLink* textLink_ = nullptr;
  CLink* iconLink_ = nullptr;
};
