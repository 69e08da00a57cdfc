// Writes the program folder's default files into a folder, for the package to
// install under share/tosbel: drawn once when the package is built, the same
// files the program draws for itself when it runs from a folder of its own.
//
//     write_default_files <folder>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <string>

#include "app/program_folder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: write_default_files <folder>\n", stderr);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::string folder = argv[1];
    if (!QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const auto written = tosbel::addMissingDefaultFiles(folder);
    if (written.size() != tosbel::defaultFileNames().size()) {
        std::fprintf(stderr, "%s: only %zu of the default files were written\n", argv[1],
                     written.size());
        return 1;
    }
    return 0;
}
