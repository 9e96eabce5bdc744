#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

#include "../support/moments.h"
#include "runtime/date_time.h"
#include "ui/main_clock.h"

namespace uitest {

// A local clock that moves only when the test says so.
struct FakeClock {
  std::chrono::microseconds now{};  // since day zero
  std::chrono::microseconds costPerRead{};

  void setTo(runtime::DateTimeSerial moment) { now = std::chrono::seconds(std::llround(moment * 86400.0)); }
  runtime::ClockReading read() {
    const auto whole = std::chrono::floor<std::chrono::seconds>(now);
    const runtime::ClockReading reading{static_cast<double>(whole.count()) / 86400.0, now - whole};
    now += costPerRead;
    return reading;
  }
  void wait(std::chrono::microseconds span) { now += span; }
};

// Each test runs in a working directory of its own, as the program does.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    previous_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    QGuiApplication::clipboard()->clear();
  }
  void TearDown() override {
    window_.reset();
    QDir::setCurrent(previous_);
  }

  ui::MainCLock& open(const std::filesystem::path& offsetFile = settings::kOffsetFile) {
    ui::MainClockSeams seams;
    seams.offsetFile = offsetFile;
    seams.readClock = [this] { return clock_.read(); };
    seams.wait = [this](std::chrono::microseconds span) { clock_.wait(span); };
    seams.endProgram = [this] { ++ended_; };
    window_ = std::make_unique<ui::MainCLock>(seams);
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
  QString previous_;
  FakeClock clock_;
  int ended_ = 0;
  std::unique_ptr<ui::MainCLock> window_;
};

}  // namespace uitest
