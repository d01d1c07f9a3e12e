#include "platform/files/fill_temporary_file.h"

#include <cerrno>

#include "kafhost/drawing_json.h"

namespace kafhost {

std::string cannotWrite(const std::string& path, const std::string& reason) {
    return path + ": cannot write: " + reason;
}

int fillTemporaryFile(const std::string& path, std::FILE* file,
                      const std::function<void(std::FILE*)>& write,
                      const std::function<void()>& discard, int (*commit)(std::FILE*)) {
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
    if (std::fflush(file) != 0 || commit(file) != 0) {
        error = errno;
    }
    if (std::fclose(file) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        discard();
    }
    return error;
}

}  // namespace kafhost
