#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QPalette>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <string>

#include "../../support/moments.h"
#include "../fake_clock.h"
#include "ui/qt/main_window.h"

namespace uitest {

// A dark theme's palette, as GTK's Adwaita-dark gives it.
inline QPalette darkPalette() {
  QPalette dark;
  const std::pair<QPalette::ColorRole, QColor> roles[] = {
      {QPalette::Window, "#353535"}, {QPalette::WindowText, "#eeeeec"}, {QPalette::Button, "#323232"},
      {QPalette::ButtonText, "#f0f0f0"}, {QPalette::Base, "#242424"}, {QPalette::Text, "#ffffff"},
      {QPalette::Highlight, "#15539e"}};
  for (const auto& [role, colour] : roles) dark.setColor(role, colour);
  return dark;
}

// Each test runs in a working directory of its own, as the program does.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    previous_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    QGuiApplication::clipboard()->clear();
    systemPalette_ = QApplication::palette();
  }
  void TearDown() override {
    window_.reset();
    QApplication::setPalette(systemPalette_);
    QDir::setCurrent(previous_);
  }

  ui::qt::MainWindow& open(std::string offsetFile = std::string(settings::kOffsetFile)) {
    ui::qt::MainWindow::Seams seams;
    seams.offsetFile = std::move(offsetFile);
    seams.readClock = [this] { return clock_.read(); };
    seams.wait = [this](std::chrono::microseconds span) { clock_.wait(span); };
    seams.endProgram = [this] { ++ended_; };
    window_ = std::make_unique<ui::qt::MainWindow>(seams);
    return *window_;
  }
  static void store(const QByteArray& bytes, const QString& name = "Selenial.ini") {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static QByteArray stored(const QString& name = "Selenial.ini") {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return "(no file)";
    return file.readAll();
  }
  static QString clipboardText() { return QGuiApplication::clipboard()->text(); }

  QTemporaryDir dir_;
  QPalette systemPalette_;  // tests may switch to a dark theme
  QString previous_;
  FakeClock clock_;
  int ended_ = 0;
  std::unique_ptr<ui::qt::MainWindow> window_;
};

}  // namespace uitest
