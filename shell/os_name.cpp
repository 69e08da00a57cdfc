#include "shell/os_name.h"

namespace tosbel {

std::string osName(const std::optional<OsVersion>& v) {
    if (!v) return {};
    if (v->platformId == 1) {
        if (v->minor == 0) return "Windows 95";
        if (v->minor == 10) return "Windows 98";
        return "Windows Me";
    }
    if (v->platformId == 2) {
        if (v->major == 4) return "Windows NT";
        return v->minor == 0 ? "Windows 2000" : "Windows XP";
    }
    return {};
}

}  // namespace tosbel
