#include "platform/clock.h"

#include <cstdio>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
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

// The program speaks Japanese whatever the system's own language: the
// designators are the Japanese locale's, and where the system has no such
// locale, the ones it would give.
constexpr const char* kJapaneseAm = "午前";
constexpr const char* kJapanesePm = "午後";

#ifdef _WIN32
std::string japaneseText(LCTYPE item, const char* fallback) {
    wchar_t wide[16];
    const int n = GetLocaleInfoEx(L"ja-JP", item, wide, 16);
    if (n <= 1) return fallback;
    char utf8[64];
    const int len =
        WideCharToMultiByte(CP_UTF8, 0, wide, n - 1, utf8, sizeof utf8, nullptr, nullptr);
    return len > 0 ? std::string(utf8, static_cast<size_t>(len)) : fallback;
}
#else
std::string japaneseText(nl_item item, const char* fallback) {
    locale_t loc = newlocale(LC_CTYPE_MASK | LC_TIME_MASK, "ja_JP.UTF-8", nullptr);
    if (loc == nullptr) return fallback;
    const std::string text = nl_langinfo_l(item, loc);
    freelocale(loc);
    return text.empty() ? fallback : text;
}
#endif

}  // namespace

#ifdef _WIN32
std::string SystemClock::amDesignator() {
    return japaneseText(LOCALE_S1159, kJapaneseAm);
}
std::string SystemClock::pmDesignator() {
    return japaneseText(LOCALE_S2359, kJapanesePm);
}
#else
std::string SystemClock::amDesignator() {
    return japaneseText(AM_STR, kJapaneseAm);
}
std::string SystemClock::pmDesignator() {
    return japaneseText(PM_STR, kJapanesePm);
}
#endif

}  // namespace tosbel
