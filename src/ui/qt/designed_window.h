#pragma once

#include <QWidget>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ui/face.h"
#include "ui/window_design.h"

class QKeyEvent;

namespace ui::qt {

// A Qt window made from a window design: it makes the controls, implements what every
// face does to them, and hands their events to the window's handlers.
template <typename FaceBase>
class DesignedWindow : public QWidget, public FaceBase {
 public:
  explicit DesignedWindow(const WindowDesign& design);

  using QWidget::show;

  void setText(Control control, std::string_view text) override;
  std::string text(Control control) const override;
  void show(Control control, bool shown) override;
  bool shown(Control control) const override;
  std::optional<Control> focused() const override;
  void focus(std::optional<Control> control) override;
  void showFailure(Control control, std::string_view why) override;
  void copyToClipboard(std::string_view text) override;

  // The widget of a control; null while a late one is not made yet.
  QWidget* widget(Control control) const { return widgets_[control]; }

 protected:
  // Makes the controls in `area`, whose events go to `handlers`. Controls listed as late
  // are made when they are first shown: most runs never show them, and a line edit costs
  // memory from the first moment.
  void build(QWidget* area, Events& handlers, const std::set<Control>& late = {});

  // The window's handlers, as the face hands them events.
  Events& events() const { return *handlers_; }

  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void make(Control control);
  void paintFocusRing();
  void restack();

  const WindowDesign& design_;
  QWidget* area_ = nullptr;
  Events* handlers_ = nullptr;
  std::vector<QWidget*> widgets_;
  std::map<Control, std::string> texts_;     // of controls not made yet
  std::map<Control, std::string> failures_;  // why a box's text could not be kept
  bool settingText_ = false;
};

}  // namespace ui::qt
