// Names and texts in DXF.
//
// encodeDxfName(name, what): the UTF-8 value of a table name such as a layer's (DXF from AutoCAD
//   2007 on is UTF-8). Throws DrawingFileError, naming it as what, for a name that DXF names
//   cannot hold: empty, or with a line break or one of < > / \ " : ; ? * | = `.
// decodeDxfText(value, utf8): a value read back: UTF-8 for files of AutoCAD 2007 or later, else
//   one byte per character (Latin-1); \U+XXXX escapes become their character.
// dxfNameKey(name): the name in upper case, for comparing names regardless of case as DXF does.
#pragma once

#include <string>
#include <string_view>

namespace kafhost {

std::string encodeDxfName(const std::wstring& name, const std::string& what);
// checkDxfName(name, what, line): refuses, as a malformed file at that line, a name read from a
// file that encodeDxfName would refuse to write, so that every drawing read can be saved again.
void checkDxfName(const std::wstring& name, const std::string& what, std::size_t line);
std::wstring decodeDxfText(std::string_view value, bool utf8);
std::wstring dxfNameKey(const std::wstring& name);

}  // namespace kafhost
