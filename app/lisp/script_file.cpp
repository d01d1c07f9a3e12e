#include "app/lisp/script_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace kafcad {

std::string UnreadableKind(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode)) {
        return std::string();
    }
    return S_ISDIR(status.st_mode) ? "it is a folder" : "not a regular file";
}

std::string ReadScriptFile(const std::string& path) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    const std::string kind = UnreadableKind(path);
    if (!kind.empty()) {
        throw std::runtime_error("cannot read script " + path + ": " + kind);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read script " + path + ": " + std::strerror(errno));
    }
    text << in.rdbuf();
    return text.str();
}

}  // namespace kafcad
