#pragma once

#include <string>
#include <vector>

namespace tosbel {

struct ProgramFolder {
    std::string path;
    // False when no folder could be written: the program then runs from the
    // executable's folder with what it holds, and adds no default files.
    bool writable = false;
    // Where an installed program's default files lie; empty for a portable one.
    std::string defaults;
};

// The folder the program keeps its files in. A program installed from the
// package (its executable in ".../bin" beside ".../share/tosbel") keeps them in
// the per-user data folder, whoever runs it. Otherwise the executable's folder
// when the program may write there (a portable install, as the program has
// always been used), else the per-user folder. Needs a QGuiApplication whose
// application name is set. The default files are the caller's to add.
ProgramFolder findProgramFolder();

// The installed default files beside an executable's folder (".../bin" →
// ".../share/tosbel"), or empty when the program is not installed that way.
std::string installedDefaultsFor(const std::string& executableFolder);

// The executable's folder when a file can be created in it, otherwise the
// per-user folder, created when missing. Empty when neither can be written.
std::string chooseProgramFolder(const std::string& executableFolder, const std::string& userFolder);

// Writes each default file the folder lacks: the countdown pictures "ONE.BMP"
// … "TEN.BMP", the drag pictures "DRAG.ICO" and "DRAG2.ICO" and the sample
// roster "サンプル.MEM" (on the first start only). Each is copied from
// `installedDefaults` when that folder holds it, so the pictures a school puts
// there reach every teacher, and drawn here otherwise. A file that is there
// already is never touched, so the teacher's own pictures survive every start.
// Answers the names written.
std::vector<std::string> addMissingDefaultFiles(const std::string& folder,
                                                const std::string& installedDefaults = {});

// The names of the default files, in the order they are written.
std::vector<std::string> defaultFileNames();

// The names the sample roster holds, in attendance order.
const std::vector<std::string>& sampleRosterNames();

}  // namespace tosbel
