#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "ui/global_key.h"

class QWidget;

namespace ui::qt {

// The system-wide key and the typing of the platform Qt runs on.
class SystemKeys : public GlobalKey, public Typist {
 public:
  virtual ~SystemKeys() = default;
};

// X11's where the program runs on it; elsewhere (Wayland lets no program take a key)
// keys that say they cannot be taken.
std::unique_ptr<SystemKeys> makeSystemKeys();

// A small dialog that waits for a chord of modifiers and a key: none when cancelled (Esc).
std::optional<KeyChord> askKeyChord(QWidget* parent, const QString& title, const QString& prompt);

}  // namespace ui::qt
