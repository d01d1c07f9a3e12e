// PathFromWide(name): a file-system path for a wide file name. Where paths are wide the name is
// taken as it is; elsewhere it is encoded as UTF-8, the encoding of file names there.
#pragma once

#include <filesystem>
#include <string>

std::filesystem::path PathFromWide(const std::wstring& name);
