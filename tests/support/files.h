// Files for tests and fuzz targets.
//
// TempFolder: a folder of its own under base (the system's temporary folder unless given), made
// when the object is made and removed with everything in it when the object goes (write
// permissions a test took away are given back first). Folder() is the folder; Path(name) a path
// inside it, whether or not there is a file; Write(name, bytes) writes a file byte for byte,
// making the folders on its way, and gives its path (std::runtime_error when it cannot).
//
// FileText(path): the whole content of a file, byte for byte ("" when it cannot be read).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

class TempFolder {
public:
    explicit TempFolder(
        const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::random_device random;
        folder_ = base / ("kaf_test_" + std::to_string(random()) + "_" + std::to_string(random()) +
                          std::to_string(random()));
        std::filesystem::create_directories(folder_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(folder_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path Path(const std::string& name) const { return folder_ / name; }

    std::filesystem::path Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path path = folder_ / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream file(path, std::ios::binary);
        if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
            throw std::runtime_error("cannot write " + path.string());
        }
        return path;
    }

private:
    std::filesystem::path folder_;
};

inline std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
