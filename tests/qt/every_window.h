#pragma once

#include <QWidget>

#include <functional>

#include "platform/form.h"
#include "platform/qt/qt_platform.h"

namespace tosbel {

// Every window of the program, one at a time, drawn by the Qt renderer with a
// class of three on its chart: `look` gets each form and its window while it
// is shown, non-modal, and the window is closed afterwards.
void forEveryWindow(QtPlatform& platform, const std::function<void(Form&, QWidget&)>& look);

}  // namespace tosbel
