// WriteThroughGdal(path, make): make(memoryPath) writes the whole file with GDAL at memoryPath,
// a file in GDAL's memory, and closes it; only then are its bytes written to path, through a
// temporary file that then replaces path (replaceFile). A failure anywhere leaves path as it was
// and throws GisError "PATH: REASON"; make reports its failures as GisError.
// DatasetHandle: a GDAL dataset closed when it goes out of scope.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace kafcad {

struct DatasetCloser {
    void operator()(void* dataset) const;
};
using DatasetHandle = std::unique_ptr<void, DatasetCloser>;

void WriteThroughGdal(const std::string& path,
                      const std::function<void(const std::string& memoryPath)>& make);

}  // namespace kafcad
