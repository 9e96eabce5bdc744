#include "ui/qt/widgets.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyleOption>
#include <cmath>

#include "ui/contrast.h"

namespace ui::qt {

QRect pixelRect(const Twips& twips) {
  return {pixels(twips.left), pixels(twips.top), pixels(twips.width), pixels(twips.height)};
}

QFont designFont(const Font& design) {
  QFont font;
  switch (design.face) {
    case Typeface::Fixed:
      font.setFamilies({"Liberation Mono", "DejaVu Sans Mono", "Cousine", "Monospace"});
      font.setStyleHint(QFont::TypeWriter);
      font.setFixedPitch(true);
      break;
    case Typeface::SansSerif:
    case Typeface::Arial:
      font.setFamilies({"Liberation Sans", "Arimo", "Arial", "DejaVu Sans", "Sans Serif"});
      font.setStyleHint(QFont::SansSerif);
      // The design's dialog face sets tighter than its stand-in; its captions fit only so.
      if (design.face == Typeface::SansSerif) font.setStretch(95);
      break;
  }
  // Points at the design's 96 dots per inch, so text keeps its size against the twips layout.
  font.setPixelSize(static_cast<int>(std::lround(design.points * 96.0 / 72.0)));
  font.setBold(design.bold);
  return font;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void ClickLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  // Two pixels wide, in the colour that stands out most from the label's own background.
  QPainter painter(this);
  const auto ring = focusRing(palette().color(QPalette::Window).rgb() & 0xFFFFFF);
  painter.setPen(QPen(QColor::fromRgb(ring), 2));
  painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

namespace {

std::uint32_t rgbOf(const QColor& colour) { return colour.rgb() & 0xFFFFFF; }

// Keeps a widget's colours in step with the system's palette.
class Painter : public QObject {
 public:
  explicit Painter(QWidget* widget) : QObject(widget), widget_(widget) { widget->installEventFilter(this); }

  void set(const ControlDesign& design, bool failed) {
    design_ = design;
    failed_ = failed;
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
    const SystemColours colours{.buttonFace = rgbOf(system.color(QPalette::Button)),
                                .buttonText = rgbOf(system.color(QPalette::ButtonText)),
                                .boxBackground = rgbOf(system.color(QPalette::Base)),
                                .boxText = rgbOf(system.color(QPalette::Text)),
                                .activeTitle = rgbOf(system.color(QPalette::Highlight)),
                                .highContrast = highContrast};
    const Paint base = paintOf(design_, colours);
    const QColor back = QColor::fromRgb(base.background);
    const QColor text = QColor::fromRgb(failed_ ? failureText(base.background) : base.text);
    // A label or an area paints its whole rectangle in the window colours; a box uses its own.
    const bool label = qobject_cast<QLineEdit*>(widget_) == nullptr;
    QPalette palette = widget_->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, label ? QPalette::Window : QPalette::Base, back);
      palette.setColor(group, label ? QPalette::WindowText : QPalette::Text, text);
    }
    applying_ = true;
    widget_->setPalette(palette);
    applying_ = false;
    widget_->setAutoFillBackground(label);
  }

  QWidget* widget_;
  ControlDesign design_;
  bool failed_ = false;
  bool applying_ = false;
};

Qt::Alignment alignmentOf(Align align) {
  switch (align) {
    case Align::Left: return Qt::AlignLeft;
    case Align::Centre: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
  }
  return Qt::AlignLeft;
}

}  // namespace

bool highContrast = false;

bool desktopAsksHighContrast() {
  // One short process for each setting, and only where GNOME's settings tool is.
  const QString gsettings = QStandardPaths::findExecutable("gsettings");
  const auto read = [&gsettings](const QString& schema, const QString& key) -> std::string {
    if (gsettings.isEmpty()) return {};
    QProcess process;
    process.start(gsettings, {"get", schema, key});
    if (!process.waitForFinished(2000)) return {};
    return process.readAllStandardOutput().toStdString();
  };
  const std::string setting = read("org.gnome.desktop.a11y.interface", "high-contrast");
  const std::string variable = qEnvironmentVariable("GTK_THEME").toStdString();
  if (highContrastAsked(setting, variable, {}) || !variable.empty()) return highContrastAsked(setting, variable, {});
  return highContrastAsked(setting, variable, read("org.gnome.desktop.interface", "gtk-theme"));
}

void paint(QWidget* widget, const ControlDesign& design, bool failed) {
  Painter* painter = nullptr;
  for (QObject* child : widget->children()) {
    if (auto* p = dynamic_cast<Painter*>(child)) painter = p;
  }
  if (!painter) painter = new Painter(widget);
  painter->set(design, failed);
}

QWidget* makeControl(QWidget* parent, const ControlDesign& design, std::optional<std::string_view> text) {
  QWidget* widget = nullptr;
  // Given to the constructor: a text set afterwards would reach a screen reader as an
  // edit and a caret move, which it takes for the focus when the control is focused next.
  const QString caption = fromStd(text.value_or(design.caption));
  switch (design.kind) {
    case Kind::Label: {
      auto* label = new ClickLabel(caption, parent);
      label->setAlignment(alignmentOf(design.align) | Qt::AlignTop);
      label->setWordWrap(true);
      label->setTextFormat(Qt::PlainText);
      widget = label;
      break;
    }
    case Kind::TextBox: {
      auto* box = new QLineEdit(caption, parent);
      box->setAlignment(alignmentOf(design.align));
      // Read-only before a screen reader first asks, which it may do as soon as it is named.
      box->setReadOnly(design.readOnly);
      if (design.maxLength > 0) box->setMaxLength(design.maxLength);
      widget = box;
      break;
    }
    case Kind::Button: {
      auto* button = new QPushButton(caption, parent);
      // As on the desktop the design comes from: Enter clicks the focused button.
      button->setAutoDefault(true);
      widget = button;
      break;
    }
  }
  widget->setObjectName(fromStd(design.name));
  widget->setGeometry(pixelRect(design.at));
  widget->setFont(designFont(design.font));
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    // Where this desktop's font needs more room than the design's box, the box grows down:
    // no line is cut. A value's box is measured for one line of its text.
    const QRect box = label->geometry();
    const int needed = label->fontMetrics()
                           .boundingRect(QRect(0, 0, box.width(), 100000), int(label->alignment()) | Qt::TextWordWrap,
                                         caption.isEmpty() ? QStringLiteral("0") : caption)
                           .height();
    if (needed > box.height()) label->resize(box.width(), needed);
  }
  if (design.kind != Kind::Button) paint(widget, design);
  if (!design.toolTip.empty()) widget->setToolTip(fromStd(design.toolTip));
  if (!design.accessibleName.empty()) widget->setAccessibleName(fromStd(design.accessibleName));
  if (!design.accessibleDescription.empty()) widget->setAccessibleDescription(fromStd(design.accessibleDescription));
  widget->setEnabled(design.enabled);
  if (design.tabIndex < 0) widget->setFocusPolicy(Qt::NoFocus);
  if (design.tabIndex >= 0 && design.kind == Kind::Label) widget->setFocusPolicy(Qt::StrongFocus);
  widget->setVisible(design.shown);
  return widget;
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

}  // namespace ui::qt
