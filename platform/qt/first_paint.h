#pragma once

// Around the first paint of the program's windows: work that waits for it, and
// the start-up benchmark's marks and exit.

#include <chrono>
#include <functional>

class QString;

namespace tosbel {

// For the start-up benchmark: when the environment variable
// TOSBEL_EXIT_AFTER_FIRST_PAINT is "1", the program ends with exit code 0 as
// soon as the top-level window with this object name (or a widget in it) has
// been painted for the first time. When TOSBEL_STARTUP_MARKS is "1", the
// steps of that window (its first widget, shown, first paint begun and done)
// are marked as startupMark() marks them. Otherwise nothing happens. Needs a
// running QApplication.
void exitAfterFirstPaintWhenAsked(const QString& windowName);

// When TOSBEL_STARTUP_MARKS is "1", prints one line to stderr:
//   startup mark: <what> <ms since the first mark> ms (steady <ns>)
// The steady clock's own reading lets a launcher that read the same clock
// before starting the process (the start-up benchmark) place the marks from
// the process's start. Otherwise does nothing, at the cost of one test.
void startupMark(const char* what);

// Runs `work` once, on the event loop just after the first paint of any of the
// program's windows, so that it never holds that paint up; at the latest once
// `deadline` has passed, should no window have been painted by then. Needs a
// QApplication.
void afterFirstPaint(std::function<void()> work,
                     std::chrono::milliseconds deadline = std::chrono::seconds(2));

}  // namespace tosbel
