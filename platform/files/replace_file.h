// replaceFile(path, write): writes a new file at path without ever losing the earlier one.
// write(file) fills a temporary file in the same folder, which is flushed to disk and then
// renamed over path. On any failure the temporary file is removed, the earlier file stays as it
// was, and DrawingFileError is thrown, starting with path. A DrawingFileError that write throws
// is passed on with path put before its text; any other exception is passed on unchanged.
// On POSIX systems Ctrl-C (SIGINT) is held back until the file is replaced or the save failed.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace kafhost {

void replaceFile(const std::string& path, const std::function<void(std::FILE*)>& write);

}  // namespace kafhost
