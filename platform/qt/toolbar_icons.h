#pragma once

#include <QIcon>

#include "platform/form.h"

namespace tosbel {

// The picture of a toolbar button: one compiled in under ":/toolbar/", the
// style's own for the commands every program has, one drawn here for the
// editing commands, or a numbered tile.
QIcon toolIcon(const ToolButton& b);

}  // namespace tosbel
