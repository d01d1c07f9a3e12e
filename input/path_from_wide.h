// PathFromWide(name): the file-system path a wide file name stands for.
//
// Where paths are wide (Windows) the name is taken as it is. Elsewhere it is encoded as UTF-8, the
// encoding of file names there (UTF-32 where wchar_t has 32 bits, UTF-16 where it has 16), except
// that a lone U+DC80 ... U+DCFF stands for the byte 0x80 ... 0xFF that was not part of UTF-8 where
// the name was read (a Latin-1 name, say): that byte is put back, so such a name reaches the file
// system unchanged. A name of valid text alone is encoded as plain UTF-8.
#pragma once

#include <filesystem>
#include <string>

std::filesystem::path PathFromWide(const std::wstring& name);
