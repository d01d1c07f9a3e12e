// Names in DXF text: EncodeDxfText(name, what) gives the UTF-8 value of a name (DXF from AutoCAD
// 2007 on is UTF-8) and throws DrawingFileError for a name DXF cannot hold on one line (what names
// it in the message). DecodeDxfText(value, utf8) reads a value back: UTF-8 for files of AutoCAD
// 2007 or later, else one byte per character (Latin-1); \U+XXXX escapes become their character.
#pragma once

#include <string>
#include <string_view>

namespace kafhost {

std::string EncodeDxfText(const std::wstring& name, const std::string& what);
std::wstring DecodeDxfText(std::string_view value, bool utf8);

}  // namespace kafhost
