#pragma once

#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "ui/main_clock.h"
#include "ui/qt/designed_window.h"
#include "ui/qt/system_keys.h"
#include "ui/qt/tray_icon.h"
#include "ui/qt/autostart.h"

class QAction;
class QTimer;

namespace ui::qt {

class CalculatorWindow;

// The clock window's Qt face.
class MainWindow : public DesignedWindow<MainFace> {
 public:
  struct Seams : MainClockSeams {
    std::function<void()> endProgram;  // default: quit the application
  };

  explicit MainWindow(Seams seams = {});
  ~MainWindow() override;

  MainCLock& handlers() { return clock_; }
  CalculatorWindow* calculator() const;

  void setCaption(std::string_view caption) override;
  void enableMenu(int entry, bool enabled) override;
  void checkMenu(int entry, bool checked) override;
  void setMenuCaption(int entry, std::string_view caption) override;
  std::optional<int> popUpMenu(const std::vector<int>& entries) override;
  std::optional<std::string> askText(std::string_view title, std::string_view prompt,
                                     std::string_view text) override;
  std::optional<KeyChord> askKeyChord(std::string_view title, std::string_view prompt) override;
  bool minimized() const override;
  void armTimer(std::chrono::milliseconds interval) override;
  void stopTimer() override;
  void showCalculator() override;
  void endProgram() override;
  void showWindow(bool shown) override;
  bool inFront() const override;
  bool canStayOnTop() const override;
  void stayOnTop(bool on) override;
  void setMenuToolTip(int entry, std::string_view tip) override;
  std::optional<Point> position(Which window) const override;
  void place(Which window, Point at) override;
  std::vector<Rect> screens() const override;

  TrayIcon& tray() { return tray_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::function<void()> endProgram_;
  bool ended_ = false;  // the session's end may come after Quit, or twice
  std::unique_ptr<SystemKeys> keys_;  // before the clock, which takes its key at load
  TrayIcon tray_;                     // the same
  XdgAutostart autostart_;
  MainCLock clock_;
  std::vector<QAction*> menu_;
  QTimer* startimer_ = nullptr;
  QPointer<QWidget> calculator_;  // the calculator, while it exists
  std::optional<Point> calculatorPlace_;
};

}  // namespace ui::qt
