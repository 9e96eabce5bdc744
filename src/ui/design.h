#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QList>
#include <QPalette>
#include <QProxyStyle>
#include <QRect>
#include <QString>

class QWidget;

namespace ui {

// Layout is designed in twips; 15 twips make one device-independent pixel.
constexpr int pixels(int twips) { return (twips * 2 + 15) / 30; }
QRect twipsRect(int left, int top, int width, int height);

// The faces the design names, replaced by installed look-alikes.
enum class Face { SansSerif, Fixed, Arial };
QFont designFont(Face face, double points, bool bold = false);

struct LabelDesign {
  const char* name;
  int left, top, width, height;  // twips
  QString caption;
  Face face;
  double points;
  bool bold;
  QColor text;        // invalid: the system's button text
  QColor background;  // invalid: the system's button face
  Qt::Alignment alignment;
  bool shown;
};

// A label that reports clicks, as the design's labels do.
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// Builds a label that keeps its designed size, wraps at word boundaries and
// paints its whole rectangle.
ClickLabel* makeLabel(QWidget* parent, const LabelDesign& design);

// A widget's text and background colours. A side the design leaves open takes the
// system's colour of its role. Where only the text is designed, the candidate that
// reads best on the system's background is used, and the system's text colour where
// none reads well (a dark theme under black text): a pair designed on both sides
// stays exactly as designed.
struct Colours {
  QList<QColor> text;  // empty: the system's
  QColor background;   // invalid: the system's
  QPalette::ColorRole textRole = QPalette::ButtonText;
  QPalette::ColorRole backgroundRole = QPalette::Button;
};

// Paints a label (fill: the whole rectangle) or a text box, and paints it again
// whenever the system's palette changes.
void paint(QWidget* widget, const Colours& colours, bool fill);

// Shows or hides a control. A control that hides while it has the keyboard focus
// passes it on to the next shown control, or else to its window, so that no key
// reaches a hidden control.
void setShown(QWidget* widget, bool shown);

// The system's style, except that the menu bar's overflow chevron is drawn rather than
// decoded from an image file: a menu bar asks for it when it is made, and decoding
// loads every image-format plugin into the process.
class SelenialStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace ui
