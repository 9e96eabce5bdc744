#include "ui/qt/designed_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "ui/contrast.h"

#include "ui/qt/widgets.h"

namespace ui::qt {

namespace {

QString textOf(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (const auto* box = qobject_cast<const QLineEdit*>(widget)) return box->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  return {};
}

// The keys the design gives a meaning.
std::optional<Key> designKey(const QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) return Key::Enter;
  if (plain && event->key() == Qt::Key_Escape) return Key::Escape;
  if (event->matches(QKeySequence::Copy)) return Key::Copy;
  if (event->key() == Qt::Key_Q && event->modifiers() == Qt::ControlModifier) return Key::Quit;
  return std::nullopt;
}

}  // namespace

template <typename FaceBase>
DesignedWindow<FaceBase>::DesignedWindow(const WindowDesign& design)
    : design_(design), widgets_(design.controls.size(), nullptr) {
  setObjectName(fromStd(design.name));
  setWindowTitle(fromStd(design.caption));
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::build(QWidget* area, Events& handlers, const std::set<Control>& late) {
  area_ = area;
  handlers_ = &handlers;
  // The area draws the ring round a focused button or box (a value draws its own), and
  // again whenever the focus moves.
  area_->installEventFilter(this);
  QObject::connect(qApp, &QApplication::focusChanged, this, [this] { area_->update(); });
  for (Control c = 0; c < static_cast<Control>(widgets_.size()); ++c) {
    if (!late.count(c)) make(c);
  }
  restack();
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::make(Control control) {
  const ControlDesign& design = design_.controls[control];
  const auto text = texts_.find(control);
  QWidget* widget = makeControl(area_, design, text != texts_.end() ? std::optional<std::string_view>(text->second)
                                                                    : std::nullopt);
  widgets_[control] = widget;
  if (text != texts_.end()) texts_.erase(text);
  if (auto* label = qobject_cast<ClickLabel*>(widget); label && design.clickable) {
    QObject::connect(label, &ClickLabel::clicked, this, [this, control] { handlers_->clicked(control); });
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(label, &QWidget::customContextMenuRequested, this,
                     [this, control] { handlers_->contextMenu(control); });
    // A focused value's keys reach the handlers first, as a box's do.
    label->installEventFilter(this);
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    QObject::connect(button, &QAbstractButton::clicked, this, [this, control] { handlers_->clicked(control); });
  }
  if (auto* box = qobject_cast<QLineEdit*>(widget)) {
    // Every change but those the handlers make themselves.
    QObject::connect(box, &QLineEdit::textChanged, this, [this, control](const QString& text) {
      if (!settingText_) handlers_->edited(control, text.toStdString());
    });
    box->installEventFilter(this);
    if (const auto failure = failures_.find(control); failure != failures_.end()) {
      showFailure(control, failure->second);
    }
  }
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::restack() {
  // Front to back in the design: raise from the back.
  for (auto c = static_cast<Control>(widgets_.size()) - 1; c >= 0; --c) {
    if (widgets_[c]) widgets_[c]->raise();
  }
  QWidget* previous = nullptr;
  for (const Control c : tabOrder(design_)) {
    if (!widgets_[c]) continue;
    if (previous) setTabOrder(previous, widgets_[c]);
    previous = widgets_[c];
  }
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::setText(Control control, std::string_view text) {
  QWidget* widget = widgets_[control];
  if (!widget) {
    texts_[control] = text;
    return;
  }
  const QString value = fromStd(text);
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(value);
  } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
    settingText_ = true;
    box->setText(value);
    settingText_ = false;
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(value);
  }
}

template <typename FaceBase>
std::string DesignedWindow<FaceBase>::text(Control control) const {
  if (const QWidget* widget = widgets_[control]) return textOf(widget).toStdString();
  const auto text = texts_.find(control);
  return text != texts_.end() ? text->second : std::string(design_.controls[control].caption);
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::show(Control control, bool shown) {
  if (shown && !widgets_[control]) {
    make(control);
    restack();
  }
  if (QWidget* widget = widgets_[control]) widget->setVisible(shown);
}

template <typename FaceBase>
bool DesignedWindow<FaceBase>::shown(Control control) const {
  return widgets_[control] && !widgets_[control]->isHidden();
}

template <typename FaceBase>
std::optional<Control> DesignedWindow<FaceBase>::focused() const {
  const QWidget* focus = focusWidget();
  for (Control c = 0; c < static_cast<Control>(widgets_.size()); ++c) {
    if (focus && widgets_[c] == focus) return c;
  }
  return std::nullopt;
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::focus(std::optional<Control> control) {
  if (!control || !widgets_[*control]) {
    setFocus();
    return;
  }
  widgets_[*control]->setFocus();
  if (auto* box = qobject_cast<QLineEdit*>(widgets_[*control])) box->selectAll();
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::showFailure(Control control, std::string_view why) {
  failures_[control] = why;
  QWidget* widget = widgets_[control];
  if (!widget) return;
  const ControlDesign& design = design_.controls[control];
  paint(widget, design, !why.empty());
  const QString tip = why.empty() ? fromStd(design.toolTip) : fromStd(why);
  widget->setToolTip(tip);
  widget->setAccessibleDescription(why.empty() ? fromStd(design.accessibleDescription) : tip);
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::copyToClipboard(std::string_view text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(fromStd(text));
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::paintFocusRing() {
  const auto current = focused();
  if (!current || design_.controls[*current].kind == Kind::Label) return;
  // Two pixels just outside the control, in the colour that stands out most from the
  // area's own: the toolkit's blue ring vanishes on the clock's blue.
  QPainter painter(area_);
  const auto ring = focusRing(area_->palette().color(QPalette::Window).rgb() & 0xFFFFFF);
  painter.setPen(QPen(QColor::fromRgb(ring), 2));
  painter.drawRect(QRectF(widgets_[*current]->geometry()).adjusted(-2, -2, 2, 2));
}

template <typename FaceBase>
bool DesignedWindow<FaceBase>::eventFilter(QObject* watched, QEvent* event) {
  if (watched == area_) {
    if (event->type() == QEvent::Paint) paintFocusRing();
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      qobject_cast<QLineEdit*>(watched)) {
    for (Control c = 0; c < static_cast<Control>(widgets_.size()); ++c) {
      if (widgets_[c] == watched && design_.controls[c].clickable) handlers_->clicked(c);
    }
  }
  // A box's keys reach the handlers before the box: those they use, the box never sees.
  if (event->type() == QEvent::KeyPress) {
    if (const auto key = designKey(static_cast<QKeyEvent*>(event)); key && handlers_->keyPressed(*key)) return true;
  }
  return QWidget::eventFilter(watched, event);
}

template <typename FaceBase>
void DesignedWindow<FaceBase>::keyPressEvent(QKeyEvent* event) {
  const auto key = designKey(event);
  if (key && handlers_->keyPressed(*key)) return;
  // What the handlers leave: Enter clicks a focused value, as it clicks a focused button.
  if (const auto current = focused(); key == Key::Enter && current && design_.controls[*current].clickable) {
    handlers_->clicked(*current);
    return;
  }
  QWidget::keyPressEvent(event);
}

template class DesignedWindow<MainFace>;
template class DesignedWindow<CalculatorFace>;

}  // namespace ui::qt
