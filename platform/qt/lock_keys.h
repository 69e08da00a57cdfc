#pragma once

#include <optional>

namespace tosbel {

// Whether Caps Lock and Insert are on, for the status panels; nothing where the
// system does not tell (Insert is no lock key under X11, and the offscreen
// platform has no keyboard at all).
std::optional<bool> capsLockOn();
std::optional<bool> insertOn();

}  // namespace tosbel
