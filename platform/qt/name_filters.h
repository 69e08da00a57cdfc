#pragma once

#include <QStringList>

#include <string_view>

namespace tosbel {

// A file dialog's filter "desc|pattern|desc|pattern" as Qt lists it: "desc
// (patterns)". Each pattern comes in both letter cases as well, so "*.MEM" finds
// x.mem and X.MEM on a file system that tells them apart.
QStringList nameFilters(std::string_view filter);

}  // namespace tosbel
