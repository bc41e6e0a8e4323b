#pragma once
// The modeless find dialog: find only (no replace), "Down" set when it opens. It deletes itself
// when closed. The owner listens to FindNext (read FindString and the options then) and to
// Closing (forget the pointer).
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class FindDialog : public QDialog {
  Q_OBJECT
 public:
  FindDialog(const QString& findWhat, QWidget* owner);

  QString FindString() const;
  bool SearchDown() const;
  bool MatchCase() const;
  bool MatchWholeWord() const;

  // Return means Find Next (the dialog stays); Escape and Cancel close it.
  void done(int result) override;

  // Widgets, for tests and screenshots.
  QLineEdit* FindEdit() const { return findEdit_; }
  QPushButton* FindNextButton() const { return findNext_; }

 signals:
  void FindNext();
  void Closing();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void EnableFindNext();
  void SendClosing();

  QLineEdit* findEdit_;
  QPushButton* findNext_;
  QCheckBox* wholeWord_;
  QCheckBox* matchCase_;
  QRadioButton* up_;
  QRadioButton* down_;
  bool closingSent_ = false;
};
