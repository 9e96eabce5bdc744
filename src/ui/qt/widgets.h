#pragma once

#include <optional>
#include <string_view>

#include <QFont>
#include <QLabel>
#include <QProxyStyle>
#include <QRect>

#include "ui/window_design.h"

// The Qt face's pieces: controls made from their designs.
namespace ui::qt {

inline QString fromStd(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Layout is designed in twips; Qt's pixels are device-independent, at 96 to the inch.
QRect pixelRect(const Twips& twips);
QFont designFont(const Font& font);

// A label that reports clicks, as the design's labels do, and shows when it has the focus.
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

// Makes a control of a window from its design: a label keeps its designed size, wraps
// at word boundaries and paints its whole rectangle.
QWidget* makeControl(QWidget* parent, const ControlDesign& design, std::optional<std::string_view> text = {});

// Paints a control in its design's colours, with the system's for what the design leaves
// open, again whenever the system's palette changes; in high contrast, in the system's
// (`paintOf`). A failed control shows it in red.
void paint(QWidget* widget, const ControlDesign& design, bool failed = false);
// Whether the controls painted from now on take the system's high-contrast colours.
extern bool highContrast;
// Whether the desktop asks for high contrast: its settings, read once, and GTK_THEME.
bool desktopAsksHighContrast();

// The system's style, except that the menu bar's overflow chevron is drawn rather than
// decoded from an image file: a menu bar asks for it when it is made, and decoding
// loads every image-format plugin into the process.
class SelenialStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
  // Alt alone takes the keyboard to the menu bar, its first entry highlighted, as on Windows.
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                QStyleHintReturn* returned = nullptr) const override {
    return hint == SH_MenuBar_AltKeyNavigation ? 1 : QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

}  // namespace ui::qt
