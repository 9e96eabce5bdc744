#include "ui/design.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>
#include <QPalette>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "ui/contrast.h"

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

namespace {

QRgb rgbOf(const QColor& colour) { return colour.rgb() & 0xFFFFFF; }

// Keeps a widget's colours in step with the system's palette.
class Painter : public QObject {
 public:
  Painter(QWidget* widget, Colours colours, bool fill) : QObject(widget), widget_(widget), fill_(fill) {
    widget->installEventFilter(this);
    set(std::move(colours));
  }
  void set(Colours colours) {
    colours_ = std::move(colours);
    apply();
  }

 protected:
  // A change of the system's palette reaches each widget as a change of its own.
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::PaletteChange && !applying_) apply();
    return false;
  }

 private:
  void apply() {
    const QPalette system = QApplication::palette();
    const QColor back =
        colours_.background.isValid() ? colours_.background : system.color(colours_.backgroundRole);
    QColor text = system.color(colours_.textRole);
    if (!colours_.text.isEmpty()) {
      const auto contrast = [&](const QColor& c) { return contrastRatio(rgbOf(c), rgbOf(back)); };
      const QColor best = *std::max_element(colours_.text.begin(), colours_.text.end(),
                                            [&](const QColor& a, const QColor& b) { return contrast(a) < contrast(b); });
      if (colours_.background.isValid() || contrast(best) >= kReadableContrast) text = best;
    }
    QPalette palette = widget_->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, fill_ ? QPalette::Window : QPalette::Base, back);
      palette.setColor(group, fill_ ? QPalette::WindowText : QPalette::Text, text);
    }
    applying_ = true;
    widget_->setPalette(palette);
    applying_ = false;
    widget_->setAutoFillBackground(fill_);
  }

  QWidget* widget_;
  bool fill_;
  bool applying_ = false;
  Colours colours_;
};

}  // namespace

void paint(QWidget* widget, const Colours& colours, bool fill) {
  for (QObject* child : widget->children()) {
    if (auto* painter = dynamic_cast<Painter*>(child)) return painter->set(colours);
  }
  new Painter(widget, colours, fill);
}

void setShown(QWidget* widget, bool shown) {
  widget->setVisible(shown);
  if (shown) return;
  // The toolkit moves the focus on already, but only to a control that is shown at that
  // moment; a panel hidden control by control can leave it on one that hides next.
  QWidget* focus = widget->window()->focusWidget();
  if (focus && !focus->isVisible()) widget->window()->setFocus();
}

ClickLabel* makeLabel(QWidget* parent, const LabelDesign& design) {
  auto* label = new ClickLabel(design.caption, parent);
  label->setObjectName(design.name);
  label->setGeometry(twipsRect(design.left, design.top, design.width, design.height));
  label->setFont(designFont(design.face, design.points, design.bold));
  label->setAlignment(design.alignment | Qt::AlignTop);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  Colours colours{{}, design.background};
  if (design.text.isValid()) colours.text = {design.text};
  paint(label, colours, true);
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
