#pragma once

#include <QIcon>
#include <vector>

#include "ui/tray.h"

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace ui::qt {

// The icon in the notification area: a StatusNotifierItem where a watcher runs on the
// session bus, an XEmbed icon in an X11 tray otherwise (Qt picks).
class TrayIcon : public Tray {
 public:
  explicit TrayIcon(QIcon icon);
  ~TrayIcon();

  bool available() const override;
  void show(bool shown) override;
  void setToolTip(std::string_view text) override;
  void setEntryCaption(int entry, std::string_view caption) override;
  void checkEntry(int entry, bool checked) override;
  void enableEntry(int entry, bool enabled) override;

  QSystemTrayIcon* icon() const { return icon_; }
  QMenu* menu() const { return menu_; }

 private:
  void make();

  QIcon image_;
  // Made when first shown: most desktops without a notification area never pay for them.
  QSystemTrayIcon* icon_ = nullptr;
  QMenu* menu_ = nullptr;
  std::vector<QAction*> entries_;
};

}  // namespace ui::qt
