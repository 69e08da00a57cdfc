#include "platform/file_moves.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/file_io.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#endif

namespace tosbel {

namespace fs = std::filesystem;

namespace {

MoveOutcome refused(MoveRefusal why) {
    return {why, {}};
}

MoveOutcome systemRefused(const std::error_code& ec) {
    return {MoveRefusal::SystemError, ec};
}

fs::path folderOf(const fs::path& p) {
    return p.parent_path().empty() ? fs::path(".") : p.parent_path();
}

// A name every file the program makes can carry to a USB stick or a Windows
// PC: not blanks alone, and none of the characters those cannot hold.
bool namesAFile(const fs::path& p) {
    const std::string name = utf8Of(p.filename());
    if (name.empty() || name == "." || name == "..") return false;
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos) return false;
    std::string_view rest = name;
    for (;;) {
        if (rest.starts_with(' ') || rest.starts_with('\t'))
            rest.remove_prefix(1);
        else if (rest.starts_with("\u3000"))
            rest.remove_prefix(std::string_view("\u3000").size());
        else
            break;
    }
    return !rest.empty();
}

// A plain rename would silently replace a file already under the new name;
// this one fails instead, checked by the system itself where it can.
std::error_code moveWithoutReplacing(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED)) return {};
    return {static_cast<int>(GetLastError()), std::system_category()};
#else
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    // Some file systems do not know the flag; the check below does instead.
    if (errno != EINVAL && errno != ENOSYS) return {errno, std::generic_category()};
#endif
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec))) return std::make_error_code(std::errc::file_exists);
    fs::rename(from, to, ec);
    return ec;
#endif
}

// `to` reaches the folder entry of `from` only because the system ignores
// letter case: the folder lists one of the two spellings, not both, and they
// differ. Two names listed are two links to one file.
bool sameEntryRespelled(const fs::path& from, const fs::path& to) {
    const std::string fromName = utf8Of(from.filename()), toName = utf8Of(to.filename());
    std::error_code ec;
    if (fromName == toName || !fs::equivalent(folderOf(from), folderOf(to), ec)) return false;
    int listed = 0;
    for (fs::directory_iterator it(folderOf(from), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = utf8Of(it->path().filename());
        if (name == fromName || name == toName) ++listed;
    }
    return !ec && listed == 1;
}

}  // namespace

MoveOutcome copyOver(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const fs::file_status source = fs::status(from, ec);
    if (source.type() == fs::file_type::not_found) return refused(MoveRefusal::SourceMissing);
    if (ec) return systemRefused(ec);
    if (!fs::is_regular_file(source)) return refused(MoveRefusal::SourceNotAFile);

    if (!namesAFile(to)) return refused(MoveRefusal::BadName);
    if (!fs::is_directory(folderOf(to), ec)) return refused(MoveRefusal::NoTargetFolder);
    const fs::file_status target = fs::status(to, ec);
    if (fs::exists(target)) {
        if (fs::equivalent(from, to, ec)) return refused(MoveRefusal::SameFile);
        if (fs::is_directory(target)) return refused(MoveRefusal::TargetIsFolder);
        if (!fs::is_regular_file(target)) return refused(MoveRefusal::TargetNotAFile);
        if ((target.permissions() & fs::perms::owner_write) == fs::perms::none)
            return refused(MoveRefusal::TargetReadOnly);
    }

    switch (copyFile(utf8Of(from), utf8Of(to))) {
        case CopyOutcome::Copied:
            return {};
        case CopyOutcome::SourceUnreadable:
            return refused(MoveRefusal::SourceUnreadable);
        case CopyOutcome::TargetFailed:
            break;
    }
    return refused(MoveRefusal::TargetUnwritable);
}

MoveOutcome renameTo(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::symlink_status(from, ec).type() == fs::file_type::not_found)
        return refused(MoveRefusal::SourceMissing);
    if (!namesAFile(to)) return refused(MoveRefusal::BadName);
    const fs::file_status target = fs::symlink_status(to, ec);
    if (fs::exists(target)) {
        if (fs::is_directory(target)) return refused(MoveRefusal::TargetIsFolder);
        if (fs::is_symlink(target) || !fs::equivalent(from, to, ec))
            return refused(MoveRefusal::NameTaken);
        // The very file under a second name (a link, or the same name again):
        // the system would "rename" it by changing nothing.
        if (!sameEntryRespelled(from, to)) return refused(MoveRefusal::SameFile);
        // The file itself under another spelling, as letter case is where the
        // system ignores it: that is a rename.
        fs::rename(from, to, ec);
    } else {
        ec = moveWithoutReplacing(from, to);
    }
    if (ec) return systemRefused(ec);
    flushFolder(utf8Of(folderOf(to)));
    if (!fs::equivalent(folderOf(from), folderOf(to), ec)) flushFolder(utf8Of(folderOf(from)));
    return {};
}

}  // namespace tosbel
