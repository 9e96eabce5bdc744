#include "ui/qt/title_bar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace ui::qt {

namespace {

constexpr int kBoxSide = 18;
constexpr int kBoxMargin = 8;

class CaptionRepaint : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowTitleChange && watched->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(watched);
      if (widget->isWindow() && widget->isVisible()) widget->update(0, 0, 1, 1);
    }
    return false;
  }
};

}  // namespace

TitleBar::TitleBar(QWidget* window) : QWidget(window) {
  setObjectName("TitleBar");
  for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child != this) child->move(child->x(), child->y() + kHeight);
  }
  // Only the kind of window stays: Qt drops the frameless hint beside any title-bar hint.
  window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
  window->setFixedSize(window->width(), window->height() + kHeight);
  setGeometry(0, 0, window->width(), kHeight);
}

QRect TitleBar::closeBox() const {
  return {width() - kBoxMargin - kBoxSide, (kHeight - kBoxSide) / 2, kBoxSide, kBoxSide};
}

void TitleBar::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(0, height() - 1, width() - 1, height() - 1);

  const bool active = window()->isActiveWindow();
  const QColor ink = palette().color(active ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
  QFont font = painter.font();
  font.setPixelSize(14);
  painter.setFont(font);
  painter.setPen(ink);
  const QRect caption(closeBox().width() + 2 * kBoxMargin, 0, width() - 2 * (closeBox().width() + 2 * kBoxMargin),
                      height());
  painter.drawText(caption, Qt::AlignCenter,
                   painter.fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, caption.width()));

  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(ink, 2));
  const QRectF cross = QRectF(closeBox()).adjusted(5, 5, -5, -5);
  painter.drawLine(cross.topLeft(), cross.bottomRight());
  painter.drawLine(cross.bottomLeft(), cross.topRight());
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  closePressed_ = closeBox().contains(event->position().toPoint());
  if (!closePressed_ && window()->windowHandle()) window()->windowHandle()->startSystemMove();
}

void TitleBar::mouseReleaseEvent(QMouseEvent* event) {
  const bool onBox = closeBox().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton && closePressed_ && onBox) window()->close();
  closePressed_ = false;
}

bool TitleBar::event(QEvent* event) {
  // The window passes these on to its children; the caption's colour follows them.
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) update();
  return QWidget::event(event);
}

bool onWayland() { return QGuiApplication::platformName().startsWith("wayland"); }

void repaintTitleBarsOnCaptionChange(QApplication& app) { app.installEventFilter(new CaptionRepaint(&app)); }

}  // namespace ui::qt
