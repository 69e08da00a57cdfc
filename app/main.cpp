#include <QApplication>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/program_folder.h"
#include "platform/qt/first_paint.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/toolbar_icons.h"
#include "shell/shell.h"

namespace {

// Without a display Qt stops with a long plug-in message; one plain line tells
// the teacher what to do instead. Windows and macOS always have their own.
bool displayAvailable() {
#if defined(__unix__) && !defined(__APPLE__)
    const auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v != nullptr && *v != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    tosbel::startupMark("main");
    if (!displayAvailable()) {
        std::fputs(
            "No display found (DISPLAY is not set): start the program from a desktop session, "
            "or under Xvfb: xvfb-run bash scripts/run.sh\n",
            stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TOSBEL"));
    // Every window and dialog shows the program's icon, and the desktop ties
    // the windows to the menu entry the package installs.
    QApplication::setWindowIcon(tosbel::namedWindowIcon("tosbel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tosbel"));
    tosbel::startupMark("Qt application");

    const tosbel::ProgramFolder folder = tosbel::findProgramFolder();
    tosbel::startupMark("program folder found");
    // Nothing in the first window uses the default files (the countdown, drags
    // and the sample roster come later): drawing them on a first start would
    // only keep that window off the screen.
    if (folder.writable) {
        tosbel::afterFirstPaint([path = folder.path, defaults = folder.defaults] {
            tosbel::addMissingDefaultFiles(path, defaults);
            tosbel::startupMark("default files checked");
        });
    }
    tosbel::QtPlatform platform(folder.path);
    tosbel::startupMark("translations and fonts");
    tosbel::Shell shell(platform);
    tosbel::exitAfterFirstPaintWhenAsked(QStringLiteral("TOSBEL"));
    tosbel::startupMark("shell start-up begins");
    shell.startUp();
    tosbel::startupMark("shell start-up done");
    return platform.run();
}
