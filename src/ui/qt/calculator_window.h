#pragma once

#include "ui/co_math.h"
#include "ui/qt/designed_window.h"

namespace ui::qt {

// The calculator's Qt face: a tool window without owner, a fixed frame, no task-bar entry.
class CalculatorWindow : public DesignedWindow<CalculatorFace> {
 public:
  CalculatorWindow();

  coMath& handlers() { return calculator_; }
  // Shows the window, from any state, in front.
  void bringBack();

  void setCaption(std::string_view caption) override;
  void hide() override { QWidget::hide(); }
  void discard() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  coMath calculator_;
};

}  // namespace ui::qt
