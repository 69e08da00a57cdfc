#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace tosbel {

// "Windows 95" … "Windows XP" from the version the system reports; the empty
// text for anything else, and where no version is known.
std::string osName(const std::optional<OsVersion>& v);

// Windows XP drew taller title bars; the chart windows grow by this much there.
inline constexpr int kXpHeightExtra = 120;

}  // namespace tosbel
