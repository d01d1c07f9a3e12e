#include "platform/files/replace_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "kafhost/drawing_json.h"
#include "platform/files/fill_temporary_file.h"

namespace kafhost {

namespace {

using kafhost::cannotWrite;

std::string cannotWrite(const std::string& path, int error) {
    return cannotWrite(path, std::strerror(error));
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isDescriptorFolder(const std::string& folder) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(folder.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        return false;
    }
    const std::string real = resolved.get();
    const std::string suffix = "/fd";
    return real.rfind("/proc/", 0) == 0 && real.size() > suffix.size() &&
           real.compare(real.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Whether path, directly or through symbolic links, names one of the process's open descriptors
// (/dev/stdout, /dev/fd/N, /proc/self/fd/N). Such a name leads to whatever file the descriptor
// has open, a log that standard output is appended to, say, which a save must not replace.
bool namesOpenDescriptor(std::string path) {
    // As many links as the system follows in one name.
    for (int links = 0; links < 40; ++links) {
        if (isDescriptorFolder(folderOf(path))) {
            return true;
        }
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return false;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0) {
            return false;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target[0] == '/' ? target : folderOf(path) + "/" + target;
    }
    return false;
}

// Where the save goes: path itself, or the file a symbolic link at path points to, so that the
// link stays a link. existing is set to the file's status when there is one. Anything but a
// regular file or a name not yet taken is refused: a device, a pipe, /dev/stdout or a folder is
// never replaced by a regular file, nor is the file that /dev/stdout leads to.
std::string saveTarget(const std::string& path, struct stat& existing, bool& exists) {
    if (::stat(path.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode) || namesOpenDescriptor(path)) {
            throw DrawingFileError(cannotWrite(
                path, S_ISDIR(existing.st_mode) ? "is a folder" : "not a regular file"));
        }
        exists = true;
        std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                             &std::free);
        if (!resolved) {
            throw DrawingFileError(cannotWrite(path, errno));
        }
        return resolved.get();
    }
    const int error = errno;
    struct stat link {};
    if (error == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        throw DrawingFileError(cannotWrite(path, "a symbolic link to a missing file"));
    }
    if (error != ENOENT) {
        throw DrawingFileError(cannotWrite(path, error));
    }
    exists = false;
    return path;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Gives the new file the earlier file's permission bits, owner and group; a process that may not
// give the owner keeps its own and still tries the group. A new name gets what fopen would give.
void copyAccess(int file, const struct stat& existing, bool exists) {
    if (!exists) {
        ::fchmod(file, 0666 & ~currentUmask());
        return;
    }
    if (::fchown(file, existing.st_uid, existing.st_gid) != 0) {
        if (::fchown(file, static_cast<uid_t>(-1), existing.st_gid) != 0) {
            // Owner and group stay the process's own, as for a new file.
        }
    }
    ::fchmod(file, existing.st_mode & 07777);
}

// Syncs the folder so that the rename itself survives a crash; a folder that cannot be opened or
// synced (some file systems) leaves the rename as the system keeps it.
void syncFolder(const std::string& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

int syncFile(std::FILE* file) {
    return ::fsync(::fileno(file));
}

// Holds SIGINT back while it lives: Ctrl-C during a save takes effect once the save has ended,
// so that it never leaves a temporary file behind or an earlier file half replaced.
class DeferredInterrupts {
public:
    DeferredInterrupts() {
        sigset_t interrupt;
        sigemptyset(&interrupt);
        sigaddset(&interrupt, SIGINT);
        ::sigprocmask(SIG_BLOCK, &interrupt, &earlier_);
    }
    ~DeferredInterrupts() { ::sigprocmask(SIG_SETMASK, &earlier_, nullptr); }
    DeferredInterrupts(const DeferredInterrupts&) = delete;
    DeferredInterrupts& operator=(const DeferredInterrupts&) = delete;

private:
    sigset_t earlier_{};
};

}  // namespace

void checkSaveTarget(const std::string& path) {
    struct stat existing {};
    bool exists = false;
    saveTarget(path, existing, exists);
}

void replaceFile(const std::string& path, const std::function<void(std::FILE*)>& write) {
    const DeferredInterrupts deferred;
    struct stat existing {};
    bool exists = false;
    const std::string target = saveTarget(path, existing, exists);
    // The temporary name is short whatever the target's name, so a name up to the system's
    // limit can be saved, and unpredictable; mkostemp creates it with O_CREAT | O_EXCL, which
    // never follows a link planted at that name.
    std::string temporary = folderOf(target) + "/.kafcad-XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) {
        throw DrawingFileError(cannotWrite(path, errno));
    }
    const auto discard = [&temporary]() { ::unlink(temporary.c_str()); };
    copyAccess(descriptor, existing, exists);
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(descriptor);
        discard();
        throw DrawingFileError(cannotWrite(path, error));
    }
    int error = fillTemporaryFile(path, file, write, discard, syncFile);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        discard();
    }
    if (error != 0) {
        throw DrawingFileError(cannotWrite(path, error));
    }
    syncFolder(folderOf(target));
}

}  // namespace kafhost
