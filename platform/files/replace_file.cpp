#include "platform/files/replace_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "kafhost/drawing_json.h"

namespace kafhost {

namespace {

std::string cannotWrite(const std::string& path, int error) {
    return path + ": cannot write: " + std::strerror(error);
}

}  // namespace

void replaceFile(const std::string& path, const std::function<void(std::FILE*)>& write) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path temporary = target.parent_path() / ("." + target.filename().string() + "." +
                                                       std::to_string(::getpid()) + ".tmp");
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        throw DrawingFileError(cannotWrite(path, errno));
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
    // The data must be on the disk before the rename makes it the drawing.
    int error = 0;
    if (std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0) {
        error = errno;
    }
    if (std::fclose(file) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        discard();
        throw DrawingFileError(cannotWrite(path, error));
    }
    std::error_code renameError;
    fs::rename(temporary, target, renameError);
    if (renameError) {
        discard();
        throw DrawingFileError(path + ": cannot write: " + renameError.message());
    }
}

}  // namespace kafhost
