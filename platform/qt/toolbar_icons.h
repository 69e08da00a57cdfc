#pragma once

#include <QIcon>
#include <QString>

#include <string>

#include "platform/form.h"

namespace tosbel {

// The picture of a toolbar button, compiled in under ":/toolbar/": the 16 px
// picture and its 32 px one for screens of high density.
QIcon toolIcon(const ToolButton& b);

// Where a toolbar picture is kept among the resources.
QString toolbarPicturePath(const std::string& image, bool large);

// A window's icon, compiled in under ":/icons/" as "<name>-16.png" … "<name>-256.png";
// empty when there is none of that name.
QIcon namedWindowIcon(const std::string& name);

}  // namespace tosbel
