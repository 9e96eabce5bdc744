#include "ui/design.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>
#include <QPalette>
#include <QStringList>
#include <cmath>

namespace ui {

QRect twipsRect(int left, int top, int width, int height) {
  return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

QFont designFont(Face face, double points, bool bold) {
  QFont font;
  switch (face) {
    case Face::Fixed:
      font.setFamilies({"Liberation Mono", "DejaVu Sans Mono", "Cousine", "Monospace"});
      font.setStyleHint(QFont::TypeWriter);
      font.setFixedPitch(true);
      break;
    case Face::SansSerif:
    case Face::Arial:
      font.setFamilies({"Liberation Sans", "Arimo", "Arial", "DejaVu Sans", "Sans Serif"});
      font.setStyleHint(QFont::SansSerif);
      // The design's dialog face sets tighter than its stand-in; its captions fit only so.
      if (face == Face::SansSerif) font.setStretch(95);
      break;
  }
  // Points at the design's 96 dots per inch, so text keeps its size against the twips layout.
  font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
  font.setBold(bold);
  return font;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void paint(QWidget* widget, const QColor& text, const QColor& background, bool fill) {
  const QPalette system = QApplication::palette();
  QPalette palette = widget->palette();
  const QColor foreground = text.isValid() ? text : system.color(QPalette::ButtonText);
  const QColor back = background.isValid() ? background : system.color(QPalette::Button);
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, fill ? QPalette::Window : QPalette::Base, back);
    palette.setColor(group, fill ? QPalette::WindowText : QPalette::Text, foreground);
  }
  widget->setPalette(palette);
  widget->setAutoFillBackground(fill);
}

ClickLabel* makeLabel(QWidget* parent, const LabelDesign& design) {
  auto* label = new ClickLabel(design.caption, parent);
  label->setObjectName(design.name);
  label->setGeometry(twipsRect(design.left, design.top, design.width, design.height));
  label->setFont(designFont(design.face, design.points, design.bold));
  label->setAlignment(design.alignment | Qt::AlignTop);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  paint(label, design.text, design.background, true);
  label->setVisible(design.shown);
  return label;
}

QIcon SelenialStyle::standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const {
  if (which != SP_ToolBarHorizontalExtensionButton) return QProxyStyle::standardIcon(which, option, widget);
  const bool rightToLeft = widget ? widget->isRightToLeft() : QApplication::isRightToLeft();
  // Two chevrons pointing to where the hidden entries are, on a 16 x 16 grid. They are
  // filled outlines: stroking a path with joins would pull in libm's trigonometry
  // tables just for this picture.
  QPainterPath path;
  for (const double x : {3.5, 8.5}) {
    path.addPolygon(QPolygonF({{x, 4}, {x + 1.5, 4}, {x + 5, 8}, {x + 1.5, 12}, {x, 12}, {x + 3.5, 8}}));
    path.closeSubpath();
  }
  const QColor ink = (option ? option->palette : QApplication::palette()).color(QPalette::ButtonText);
  QIcon icon;
  for (const int side : {16, 32}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (rightToLeft) painter.setTransform(QTransform(-1, 0, 0, 1, side, 0));
    painter.scale(side / 16.0, side / 16.0);
    painter.fillPath(path, ink);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace ui
