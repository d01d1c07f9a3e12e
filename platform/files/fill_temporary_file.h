// The part of replaceFile that every system shares: filling the temporary file and putting it on
// the disk.
//
// fillTemporaryFile(path, file, write, discard, commit): runs write(file); if write throws, the
// file is closed, discard() removes it, and the exception goes on (a DrawingFileError with path
// put before its text). Otherwise the file is flushed, commit(file) puts it on the disk
// (0 on success, errno set on failure), and the file is closed. Returns 0, or the errno of the
// first step that failed; the file is closed either way and, on a failure, discarded.
//
// cannotWrite(path, reason): the text of a failed save, "PATH: cannot write: REASON".
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace kafhost {

std::string cannotWrite(const std::string& path, const std::string& reason);

int fillTemporaryFile(const std::string& path, std::FILE* file,
                      const std::function<void(std::FILE*)>& write,
                      const std::function<void()>& discard, int (*commit)(std::FILE*));

}  // namespace kafhost
