// Text that keeps every byte, for strings that may be file names.
//
// BytesToWide(bytes): UTF-8 text as a wide string, one wchar_t per code point; each byte that is
//   not part of well-formed UTF-8 (a Latin-1 name, say) becomes U+DC80 + its value (a lone
//   surrogate, never a character), so that nothing is lost.
// WideToBytes(text): the reverse: UTF-8, with U+DC80 ... U+DCFF turned back into their bytes.
//   WideToBytes(BytesToWide(b)) == b for any bytes b.
#pragma once

#include <string>

namespace kafcad {

std::wstring BytesToWide(const std::string& bytes);
std::string WideToBytes(const std::wstring& text);

}  // namespace kafcad
