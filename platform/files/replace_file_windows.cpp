// replaceFile on Windows: the temporary file gets an unpredictable name beside the drawing and is
// created with CREATE_NEW, so that nothing already at that name (a file or a link planted there)
// is opened or followed. It is written through a wide-character path, flushed to the disk
// (FlushFileBuffers through _commit) and moved over the drawing with MoveFileExW, which replaces
// the earlier file and returns once the move itself is on the disk.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <random>
#include <system_error>

#include "kafhost/drawing_json.h"
#include "kafhost/utf8_to_wide.h"
#include "platform/files/fill_temporary_file.h"
#include "platform/files/replace_file.h"

namespace kafhost {

namespace {

// The system's text for an error code, without its line end.
std::string systemMessage(DWORD code) {
    return std::system_category().message(static_cast<int>(code));
}

int commitFile(std::FILE* file) {
    return _commit(_fileno(file));
}

// Creates a new, empty file ".kafcad-XXXXXXXX" in folder, with eight random hexadecimal digits,
// trying other names while the name is taken. Sets temporary to its path; returns the handle,
// or INVALID_HANDLE_VALUE with the error in code.
HANDLE createTemporary(const std::filesystem::path& folder, std::filesystem::path& temporary,
                       DWORD& code) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[32];
        std::swprintf(name, sizeof name / sizeof name[0], L".kafcad-%08x",
                      static_cast<unsigned>(random()));
        temporary = folder / name;
        const HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return handle;
        }
        code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

// Windows has no names for a process's descriptors; a folder or device as the target is refused
// by MoveFileExW when the save ends.
void checkSaveTarget(const std::string&) {}

void replaceFile(const std::string& path, const std::function<void(std::FILE*)>& write) {
    namespace fs = std::filesystem;
    const fs::path target(utf8ToWide(path));
    fs::path temporary;
    DWORD code = 0;
    const HANDLE handle = createTemporary(
        target.parent_path().empty() ? fs::path(L".") : target.parent_path(), temporary, code);
    if (handle == INVALID_HANDLE_VALUE) {
        throw DrawingFileError(cannotWrite(path, systemMessage(code)));
    }
    const auto discard = [&temporary]() {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    };
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    std::FILE* file = descriptor < 0 ? nullptr : _fdopen(descriptor, "wb");
    if (file == nullptr) {
        const int error = errno;
        if (descriptor < 0) {
            CloseHandle(handle);
        } else {
            _close(descriptor);
        }
        discard();
        throw DrawingFileError(cannotWrite(path, std::strerror(error)));
    }
    const int error = fillTemporaryFile(path, file, write, discard, commitFile);
    if (error != 0) {
        throw DrawingFileError(cannotWrite(path, std::strerror(error)));
    }
    if (MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        code = GetLastError();
        discard();
        throw DrawingFileError(cannotWrite(path, systemMessage(code)));
    }
}

}  // namespace kafhost
