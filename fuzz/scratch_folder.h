// ScratchFolder: a folder of the process's own under /dev/shm (else the temporary folder), for the
// files a fuzz target writes (point files, drawing files); removed with its files when the object
// goes. Path(name) gives the full path of a file in it, as a narrow (UTF-8) path; WidePath the
// same as a wide string, as a file list argument names it.
#pragma once

#include <filesystem>
#include <string>

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::wstring WidePath(const std::string& name) const { return (folder_ / name).wstring(); }
    // Writes the bytes as they are into the named file; gives its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path folder_;
};
