#pragma once

#include <string>
#include <vector>

namespace tosbel {

struct ProgramFolder {
    std::string path;
    // False when no folder could be written: the program then runs from the
    // executable's folder with what it holds, and adds no default files.
    bool writable = false;
};

// The folder the program keeps its files in: the executable's folder when the
// program may write there (a portable install, as the program has always been
// used), otherwise the per-user data folder. Needs a QGuiApplication whose
// application name is set. The default files are the caller's to add.
ProgramFolder findProgramFolder();

// The executable's folder when a file can be created in it, otherwise the
// per-user folder, created when missing. Empty when neither can be written.
std::string chooseProgramFolder(const std::string& executableFolder, const std::string& userFolder);

// Writes each default file the folder lacks: the countdown pictures "ONE.BMP"
// … "TEN.BMP", the drag pictures "DRAG.ICO" and "DRAG2.ICO" and the sample
// roster "サンプル.MEM" (on the first start only). A file that is there already
// is never touched, so the teacher's own pictures survive every start. Answers
// the names written.
std::vector<std::string> addMissingDefaultFiles(const std::string& folder);

// The names the sample roster holds, in attendance order.
const std::vector<std::string>& sampleRosterNames();

}  // namespace tosbel
