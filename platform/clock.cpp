#include "platform/clock.h"

#include <cstdio>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>

#include <cstring>
#endif

namespace tosbel {

std::string dateText(const LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", t.year, t.month, t.day);
    return buf;
}

std::string timeText(const LocalTime& t, const std::string& am, const std::string& pm) {
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    char buf[16];
    std::snprintf(buf, sizeof buf, " %02d:%02d", hour12, t.minute);
    return (t.hour < 12 ? am : pm) + buf;
}

LocalTime SystemClock::now() {
    const std::time_t secs = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &secs);
#else
    localtime_r(&secs, &tm);
#endif
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

namespace {

#ifdef _WIN32
std::string localeText(LCTYPE item, const char* fallback) {
    wchar_t wide[16];
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, wide, 16);
    if (n <= 1) return fallback;
    char utf8[64];
    const int len =
        WideCharToMultiByte(CP_UTF8, 0, wide, n - 1, utf8, sizeof utf8, nullptr, nullptr);
    return len > 0 ? std::string(utf8, static_cast<size_t>(len)) : fallback;
}
#else
// Only a UTF-8 locale's designator can be used as it stands; any other locale
// falls back to the plain Latin designators.
std::string localeText(nl_item item, const char* fallback) {
    locale_t loc = newlocale(LC_CTYPE_MASK | LC_TIME_MASK, "", nullptr);
    if (loc == nullptr) return fallback;
    std::string text;
    if (std::strcmp(nl_langinfo_l(CODESET, loc), "UTF-8") == 0) text = nl_langinfo_l(item, loc);
    freelocale(loc);
    return text.empty() ? fallback : text;
}
#endif

}  // namespace

#ifdef _WIN32
std::string SystemClock::amDesignator() {
    return localeText(LOCALE_S1159, "AM");
}
std::string SystemClock::pmDesignator() {
    return localeText(LOCALE_S2359, "PM");
}
#else
std::string SystemClock::amDesignator() {
    return localeText(AM_STR, "AM");
}
std::string SystemClock::pmDesignator() {
    return localeText(PM_STR, "PM");
}
#endif

}  // namespace tosbel
