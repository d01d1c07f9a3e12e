// replaceFile on Windows: the temporary file is written through a wide-character path, flushed to
// the disk (FlushFileBuffers through _commit) and moved over the drawing with MoveFileExW, which
// replaces the earlier file and returns once the move itself is on the disk.
#include <windows.h>

#include <io.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "kafhost/drawing_json.h"
#include "kafhost/utf8_to_wide.h"
#include "platform/files/replace_file.h"

namespace kafhost {

namespace {

std::string cannotWrite(const std::string& path, const std::string& reason) {
    return path + ": cannot write: " + reason;
}

// The system's text for an error code, without its line end.
std::string systemMessage(DWORD code) {
    return std::system_category().message(static_cast<int>(code));
}

}  // namespace

void replaceFile(const std::string& path, const std::function<void(std::FILE*)>& write) {
    namespace fs = std::filesystem;
    const fs::path target(utf8ToWide(path));
    const fs::path temporary =
        target.parent_path() / (L"." + target.filename().wstring() + L"." +
                                std::to_wstring(GetCurrentProcessId()) + L".tmp");
    std::FILE* file = _wfopen(temporary.c_str(), L"wb");
    if (file == nullptr) {
        throw DrawingFileError(cannotWrite(path, std::strerror(errno)));
    }
    const auto discard = [&temporary]() {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    };
    try {
        write(file);
    } catch (const DrawingFileError& error) {
        std::fclose(file);
        discard();
        throw DrawingFileError(path + ": " + error.what());
    } catch (...) {
        std::fclose(file);
        discard();
        throw;
    }
    // The data must be on the disk before the move makes it the drawing.
    int error = 0;
    if (std::fflush(file) != 0 || _commit(_fileno(file)) != 0) {
        error = errno;
    }
    if (std::fclose(file) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        discard();
        throw DrawingFileError(cannotWrite(path, std::strerror(error)));
    }
    if (MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        const DWORD code = GetLastError();
        discard();
        throw DrawingFileError(cannotWrite(path, systemMessage(code)));
    }
}

}  // namespace kafhost
