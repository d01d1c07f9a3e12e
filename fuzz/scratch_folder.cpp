#include "fuzz/scratch_folder.h"

#include <unistd.h>

#include <fstream>
#include <random>

#include "fuzz/fuzz_failure.h"

namespace {

// A memory file system when there is one: drawing saves replace their file by renaming, which
// some disk file systems answer with a flush, at milliseconds per save.
std::filesystem::path BaseFolder() {
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    if (std::filesystem::is_directory(memory, error) &&
        access(memory.string().c_str(), W_OK) == 0) {
        return memory;
    }
    return std::filesystem::temp_directory_path();
}

}  // namespace

ScratchFolder::ScratchFolder() {
    std::random_device random;
    folder_ =
        BaseFolder() / ("kaf_fuzz_" + std::to_string(getpid()) + "_" + std::to_string(random()));
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) {
        FuzzFailure("cannot create " + folder_.string() + ": " + error.message());
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = Path(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
        FuzzFailure("cannot write " + path);
    }
    return path;
}
