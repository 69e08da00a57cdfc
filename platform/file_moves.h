#pragma once

#include <filesystem>
#include <system_error>

namespace tosbel {

// Why copyOver() or renameTo() left the files as they were; the caller words
// it for the teacher. Done when the work was done.
enum class MoveRefusal {
    Done,
    SourceMissing,     // nothing under the source's name
    SourceNotAFile,    // a folder or a device
    SourceUnreadable,  // the source could not be read to its end
    BadName,           // blanks alone, or a character a USB stick or Windows cannot hold
    NoTargetFolder,
    SameFile,  // the target is the source itself under a second name
    TargetIsFolder,
    TargetNotAFile,
    TargetReadOnly,
    TargetUnwritable,  // the copy could not be written or moved into place
    NameTaken,         // another file or a link already has the new name
    SystemError,       // the system refused; `error` says why
};

struct MoveOutcome {
    MoveRefusal refusal = MoveRefusal::Done;
    std::error_code error;  // set with SystemError

    bool done() const { return refusal == MoveRefusal::Done; }
};

// Whole or not at all: the copy is written beside the destination and moved
// over it once complete, so a failure leaves a file already there as it was.
MoveOutcome copyOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Gives a file a new name, never over another file's; a new spelling of the
// same name counts as a rename where the system ignores letter case. The new
// name is flushed to the disk.
MoveOutcome renameTo(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace tosbel
