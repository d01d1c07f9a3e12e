#include "platform/files/read_file_text.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "kafhost/drawing_json.h"

namespace kafhost {

std::string readFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw DrawingFileError(path + ": cannot open: " + std::strerror(errno));
    }
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) {
        throw DrawingFileError(path + ": cannot read: " + std::strerror(errno));
    }
    return contents.str();
}

}  // namespace kafhost
