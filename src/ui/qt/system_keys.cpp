#include "ui/qt/system_keys.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/qt/x11_keys.h"

namespace ui::qt {

namespace {

class NoKeys final : public SystemKeys {
 public:
  Grab grab(const KeyChord& /*chord*/) override { return Grab::Unsupported; }
  std::string_view systemName() const override {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? "Wayland" : "This desktop";
  }
  void release() override {}
  void type(std::string_view /*text*/) override {}
};

// The key names a chord can hold, as Qt reports the key.
std::optional<std::string> keyName(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::string(1, static_cast<char>('A' + (key - Qt::Key_A)));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return std::string(1, static_cast<char>('0' + (key - Qt::Key_0)));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return std::string("F").append(std::to_string(key - Qt::Key_F1 + 1));
  return std::nullopt;
}

class KeyChordDialog final : public QDialog {
 public:
  KeyChordDialog(QWidget* parent, const QString& title, const QString& prompt) : QDialog(parent) {
    setObjectName("keyChordDialog");
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(prompt, this);
    label->setWordWrap(true);
    layout->addWidget(label);
  }
  std::optional<KeyChord> chord;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) return reject();
    const auto name = keyName(event->key());
    if (!name) return;  // a modifier alone, or a key a chord cannot hold: wait for more
    const Qt::KeyboardModifiers held = event->modifiers();
    KeyChord pressed{(held & Qt::ControlModifier) != 0, (held & Qt::ShiftModifier) != 0,
                     (held & Qt::MetaModifier) != 0, (held & Qt::AltModifier) != 0, *name};
    // The same rule as a chord read from the preferences: more than Shift.
    if (!readKeyChord(keyChordText(pressed))) return;
    chord = pressed;
    accept();
  }
};

}  // namespace

std::unique_ptr<SystemKeys> makeSystemKeys() {
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    if (auto keys = makeX11Keys()) return keys;
  }
  return std::make_unique<NoKeys>();
}

std::optional<KeyChord> askKeyChord(QWidget* parent, const QString& title, const QString& prompt) {
  KeyChordDialog dialog(parent, title, prompt);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chord;
}

}  // namespace ui::qt
