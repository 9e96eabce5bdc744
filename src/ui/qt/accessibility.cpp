#include "ui/qt/accessibility.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>

namespace ui::qt {

namespace {

// A one-line box whose text reads as one run. Qt's own gives each character a run
// that ends where it starts, and a screen reader then speaks only part of the text
// ("3" of "36"). A read-only box can be read and selected, not edited.
class OneLineBox : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit OneLineBox(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                              : QAccessibleWidget::interface_cast(type);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = box()->isReadOnly();
    state.editable = !state.readOnly;
    state.selectableText = true;
    return state;
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Value ? box()->text() : QAccessibleWidget::text(t);
  }

  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index == 0 && box()->hasSelectedText()) {
      *start = box()->selectionStart();
      *end = *start + box()->selectionLength();
    }
  }
  int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int /*index*/) override { box()->deselect(); }
  void setSelection(int /*index*/, int start, int end) override { box()->setSelection(start, end - start); }
  int cursorPosition() const override { return box()->cursorPosition(); }
  void setCursorPosition(int position) override { box()->setCursorPosition(position); }
  QString text(int start, int end) const override { return box()->text().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(box()->text().size()); }
  QRect characterRect(int offset) const override {
    // The text is right-aligned; measure from its right end.
    const QString text = box()->text();
    const QFontMetrics metrics(box()->font());
    const QRect area = box()->contentsRect().adjusted(2, 0, -2, 0);
    const int start = area.right() - metrics.horizontalAdvance(text) + metrics.horizontalAdvance(text.left(offset));
    const QRect rect(start, area.top(), metrics.horizontalAdvance(text.mid(offset, 1)), area.height());
    return QRect(box()->mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    return box()->cursorPositionAt(box()->mapFromGlobal(point));
  }
  void scrollToSubstring(int start, int /*end*/) override { box()->setCursorPosition(start); }
  QString attributes(int offset, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    (void)offset;
    return {};
  }

 private:
  QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* factory(const QString& /*className*/, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return nullptr;
  const QString name = widget->objectName();
  if (widget->isWindow() && (name == "MainCLock" || name == "coMath")) {
    return new QAccessibleWidget(widget, QAccessible::Window);
  }
  if (auto* box = qobject_cast<QLineEdit*>(widget)) return new OneLineBox(box);
  return nullptr;
}

}  // namespace

void installAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(factory);
    return true;
  }();
  (void)installed;
}

}  // namespace ui::qt
