#include <benchmark/benchmark.h>

#include <cstdio>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "numerics/conversion.h"
#include "ui/qt/calculator_window.h"
#include "ui/qt/main_window.h"

namespace {

// One refresh of the real window: sample, StarDate, caption and four labels.
void BM_Display(benchmark::State& state) {
  // Each reading is a second later, so every refresh writes new texts.
  double moment = 46363.5;
  ui::qt::MainWindow::Seams seams;
  seams.readClock = [&moment] { return runtime::ClockReading{moment += 1.0 / 86400.0, {}}; };
  ui::qt::MainWindow window(seams);
  window.show();
  window.handlers().cmdOK_Click();
  for (auto _ : state) window.handlers().Display();
}
BENCHMARK(BM_Display);

// The same with readings of the system's clock, the offset following its zone
// (auto stored); each reading is put a second later, so that the texts change.
void BM_DisplayOnTheSystemClock(benchmark::State& state) {
  std::FILE* file = std::fopen("Selenial.ini", "wb");
  std::fputs("auto\r\n", file);
  std::fclose(file);
  double later = 0;
  ui::qt::MainWindow::Seams seams;
  seams.readClock = [&later] {
    runtime::ClockReading reading = runtime::readLocalClock();
    reading.moment += (later += 1.0 / 86400.0);
    return reading;
  };
  ui::qt::MainWindow window(seams);
  window.show();
  window.handlers().cmdOK_Click();
  for (auto _ : state) window.handlers().Display();
  std::remove("Selenial.ini");
}
BENCHMARK(BM_DisplayOnTheSystemClock);

// What a tick adds before its refresh: the system's zone looked up again.
void BM_RefreshZone(benchmark::State& state) {
  for (auto _ : state) runtime::refreshZone();
}
BENCHMARK(BM_RefreshZone);

// Baseline: a bare window writing a caption and four labels.
void BM_BaselineFourLabels(benchmark::State& state) {
  QWidget window;
  QLabel* labels[4];
  for (auto*& label : labels) label = new QLabel(&window);
  window.show();
  int n = 0;
  for (auto _ : state) {
    const QString text = QString::number(++n);
    window.setWindowTitle(text);
    for (QLabel* label : labels) label->setText("  " + text);
  }
}
BENCHMARK(BM_BaselineFourLabels);

// From a key event in the calculator's input to both results written.
void BM_Keystroke(benchmark::State& state) {
  ui::qt::MainWindow window;
  window.handlers().coMathCalc_Click();
  auto* input = window.calculator()->findChild<QLineEdit*>("DeciVal");
  const int length = static_cast<int>(state.range(0));
  const QString base = length > 20 ? "0." + QString(length - 3, '3') : QString(length - 1, '3');
  input->setText(base);
  for (auto _ : state) {
    QTest::keyClick(input, Qt::Key_7);
    state.PauseTiming();
    input->setText(base);
    state.ResumeTiming();
  }
  state.SetLabel(std::to_string(length) + " chars");
}
BENCHMARK(BM_Keystroke)->Arg(10)->Arg(numerics::kMaxInput)->Unit(benchmark::kMicrosecond);

// Baseline: the same key event into a bare line edit.
void BM_BaselineKeystroke(benchmark::State& state) {
  QLineEdit input;
  const int length = static_cast<int>(state.range(0));
  const QString base = QString(length - 1, '3');
  input.setText(base);
  for (auto _ : state) {
    QTest::keyClick(&input, Qt::Key_7);
    state.PauseTiming();
    input.setText(base);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BaselineKeystroke)->Arg(10)->Arg(numerics::kMaxInput)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
