// TempPointFiles: a folder of its own under the system's temporary folder, removed with all its
// files when the object goes. Write(name, bytes) writes a file byte for byte and gives its full
// path as a wide string, as a file list argument names it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TempPointFiles {
public:
    TempPointFiles() {
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() /
                  ("kaf_point_files_" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(folder_);
    }
    ~TempPointFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TempPointFiles(const TempPointFiles&) = delete;
    TempPointFiles& operator=(const TempPointFiles&) = delete;

    std::wstring Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.wstring();
    }
    // The full path of a file that is not there.
    std::wstring Missing(const std::string& name) const { return (folder_ / name).wstring(); }
    // The folder itself.
    std::wstring Folder() const { return folder_.wstring(); }

private:
    std::filesystem::path folder_;
};
