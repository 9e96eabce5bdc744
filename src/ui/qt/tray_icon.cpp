#include "ui/qt/tray_icon.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QToolTip>

#include "ui/qt/widgets.h"

namespace ui::qt {

TrayIcon::TrayIcon(QIcon icon) : image_(std::move(icon)) {}

TrayIcon::~TrayIcon() {
  delete icon_;
  delete menu_;
}

void TrayIcon::make() {
  menu_ = new QMenu;
  menu_->setObjectName("trayMenu");
  for (int entry = 0; entry < trayentry::count; ++entry) {
    const MenuDesign& item = trayMenu()[entry];
    if (item.separatorBefore) menu_->addSeparator();
    QAction* action = menu_->addAction(fromStd(item.caption));
    action->setObjectName(fromStd(item.name));
    action->setCheckable(item.kind == MenuKind::Check);
    QObject::connect(action, &QAction::triggered, [this, entry] {
      if (chosen) chosen(entry);
    });
    entries_.push_back(action);
  }
  icon_ = new QSystemTrayIcon(image_);
  icon_->setObjectName("trayIcon");
  icon_->setContextMenu(menu_);
  QObject::connect(icon_, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger && clicked) clicked();
  });
}

bool TrayIcon::available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::show(bool shown) {
  if (!icon_ && !shown) return;
  if (!icon_) make();
  icon_->setVisible(shown);
}

void TrayIcon::setToolTip(std::string_view text) {
  if (!icon_) return;
  const QString tip = fromStd(text);
  icon_->setToolTip(tip);
  // An X11 tray's tip is drawn by this program once, when it shows: it would stand still
  // while the pointer rests on the icon. A host of the item protocol draws its own.
  const QRect place = icon_->geometry();
  if (QToolTip::isVisible() && place.contains(QCursor::pos())) {
    QToolTip::showText(QCursor::pos(), tip, nullptr, place);
  }
}

void TrayIcon::setEntryCaption(int entry, std::string_view caption) {
  if (icon_) entries_[entry]->setText(fromStd(caption));
}

void TrayIcon::checkEntry(int entry, bool checked) {
  if (icon_) entries_[entry]->setChecked(checked);
}

void TrayIcon::enableEntry(int entry, bool enabled) {
  if (icon_) entries_[entry]->setEnabled(enabled);
}

}  // namespace ui::qt
