#pragma once

class QString;

namespace tosbel {

// For the start-up benchmark: when the environment variable
// TOSBEL_EXIT_AFTER_FIRST_PAINT is "1", the program ends with exit code 0 as
// soon as the top-level window with this object name (or a widget in it) has
// been painted for the first time. Otherwise nothing happens. Needs a running
// QApplication.
void exitAfterFirstPaintWhenAsked(const QString& windowName);

}  // namespace tosbel
