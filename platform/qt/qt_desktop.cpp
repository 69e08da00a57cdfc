// What QtPlatform asks of the desktop and the system around the program: the
// trash, addresses and other programs, the environment, the clipboard, the
// screens, the system's version and its paths, and the session ending.
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QSessionManager>
#include <QStandardPaths>
#include <QUrl>

#include <cstdlib>

#include "platform/form.h"
#include "platform/qt/control_look.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX  // keeps std::min and std::max usable
#endif
#include <windows.h>
#endif

namespace tosbel {

bool QtPlatform::moveToTrash(const std::string& path) {
#if !defined(_WIN32) && !defined(__APPLE__)
    // The desktop's trash lies in its data folder; where that folder does not
    // exist yet Qt puts the trash beside the file, inside the program folder.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data)) return false;
#endif
    return QFile::moveToTrash(text(path));
}

bool QtPlatform::openAddress(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(text(address)));
}

bool QtPlatform::startProgram(const std::string& path) {
    return QProcess::startDetached(text(path), {});
}

std::optional<std::string> QtPlatform::environment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

std::string QtPlatform::clipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtPlatform::setClipboardText(const std::string& t) {
    QGuiApplication::clipboard()->setText(text(t));
}

ScreenTwips QtPlatform::screen() {
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {};
    const double dpi = s->logicalDotsPerInch();
    const QSize size = s->availableSize();
    return {static_cast<float>(size.width() * kTwipsPerInch / dpi),
            static_cast<float>(size.height() * kTwipsPerInch / dpi)};
}

std::vector<ScreenArea> QtPlatform::screens() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return {};
    // Windows are placed in the primary screen's twips, as the renderer draws them.
    const double perPixel = kTwipsPerInch / primary->logicalDotsPerInch();
    const auto twips = [perPixel](int px) { return static_cast<float>(px * perPixel); };
    std::vector<ScreenArea> areas;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect r = s->availableGeometry();
        areas.push_back({twips(r.x()), twips(r.y()), twips(r.width()), twips(r.height())});
    }
    return areas;
}

void QtPlatform::setOsVersion(std::optional<OsVersion> version) {
    osVersion_ = version;
}

std::optional<OsVersion> QtPlatform::osVersion() {
#ifdef _WIN32
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL ok = GetVersionExA(&info);
#if !defined(_MSC_VER)
#pragma GCC diagnostic pop
#endif
    if (!ok) return std::nullopt;
    return OsVersion{static_cast<int>(info.dwPlatformId), static_cast<int>(info.dwMajorVersion),
                     static_cast<int>(info.dwMinorVersion)};
#else
    return osVersion_;
#endif
}

bool QtPlatform::caseSensitivePaths() {
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

// The desktop session is ending: each form closes as at the system's end, the
// last shown first, and one that refuses keeps the session alive when the
// session manager lets the program ask.
void QtPlatform::endSession(QSessionManager& manager) {
    const bool mayAsk = manager.allowsInteraction();
    std::vector<Form*> forms;
    for (FormWindow* w : windows_)
        if (w->form()) forms.push_back(w->form());
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        Form* f = *it;
        if (!windowOf(*f)) continue;
        bool closed = true;
        handle([f, &closed] { closed = f->close(UnloadMode::SystemEnding); });
        if (!closed) {
            if (mayAsk) manager.cancel();
            return;
        }
    }
    if (mayAsk) manager.release();
}

}  // namespace tosbel
