#pragma once
// CLink: a static text or picture that opens a web address or file when clicked. A text link is
// underlined, blue until a click has opened its target and purple afterwards; a picture keeps its
// look. Both show the pointing hand. A target that cannot be opened only beeps.
#include <QColor>
#include <QLabel>
#include <string>

class CLink : public QLabel {
  Q_OBJECT
 public:
  explicit CLink(QWidget* parent = nullptr);
  // Takes over an existing label: its text or picture, place and font (the label is deleted).
  static CLink* Replace(QLabel* label);

  // What a click opens; the link's own text when empty.
  void SetTarget(const std::string& target) { target_ = target; }
  const std::string& Target() const { return target_; }
  bool Visited() const { return visited_; }
  QColor LinkColour() const { return link_; }
  QColor VisitedColour() const { return visitedColour_; }
  // The colour the text is drawn in now.
  QColor TextColour() const { return visited_ ? visitedColour_ : link_; }

  // What a click does: open the target through the prompt seam; on success the link is visited.
  void Open();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Restyle();

  QColor link_{0, 0, 255};
  QColor visitedColour_{128, 0, 128};
  bool visited_ = false;
  std::string target_;
};
