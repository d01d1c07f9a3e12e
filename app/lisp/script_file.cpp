#include "app/lisp/script_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace kafcad {

std::string ReadScriptFile(const std::string& path) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        throw std::runtime_error("cannot read script " + path + ": it is a folder");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read script " + path + ": " + std::strerror(errno));
    }
    text << in.rdbuf();
    return text.str();
}

}  // namespace kafcad
