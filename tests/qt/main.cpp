#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// The offscreen platform says so at every window it cannot raise or resize to
// its hints; those lines would bury the tests' own output.
QtMessageHandler standardHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    standardHandler(type, context, message);
}

}  // namespace

// The Qt tests need one QApplication for the whole run, made before any test.
int main(int argc, char** argv) {
    // No display needed; a run by hand can still ask for a real one.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings go to a test folder (~/.qttest), never over the user's own, and
    // under a home of this process's own: CTest runs test cases side by side,
    // and one of them blocks the settings folder on purpose.
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
    standardHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
