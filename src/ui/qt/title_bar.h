#pragma once

#include <QWidget>

class QApplication;

namespace ui::qt {

// On Wayland a program draws its windows' title bars unless the compositor does, and
// the bar Qt draws offers minimize and maximize whatever a window's flags say. A window whose design has
// neither gets this bar instead: its caption and a close box; dragging the bar moves
// the window. The window grows by the bar's height and its controls move down by as much.
class TitleBar : public QWidget {
 public:
  static constexpr int kHeight = 30;

  explicit TitleBar(QWidget* window);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QRect closeBox() const;

  bool closePressed_ = false;
};

// True on Qt's Wayland platforms.
bool onWayland();

// Qt repaints its own title bar on Wayland only along with the window's contents, so a
// new caption stays unseen while nothing else in the window changes. This repaints a
// pixel of each window whose caption changes, which carries the title bar along.
void repaintTitleBarsOnCaptionChange(QApplication& app);

}  // namespace ui::qt
