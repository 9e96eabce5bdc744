#pragma once

#include <chrono>

// What the command needs of the system that each system does its own way.
namespace cli {

// Makes SIGINT and SIGTERM end --follow at its next tick rather than at once.
void catchStopSignals();
bool stopRequested();
// Waits, cut short by a stop signal where the system allows.
void waitFor(std::chrono::microseconds rest);
// Whether a write failed with `error` because the reader is gone.
bool readerGone(int error);

}  // namespace cli
