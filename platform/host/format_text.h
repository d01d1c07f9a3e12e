// formatHostText(format, args): formats like the host's command line. The format is wide;
// conversions: d i u o x X (with h, hh, l, ll, I32, I64, z, j, t), f F e E g G a A (with L),
// c (a wide character; hc and C narrow), s (a wide string; hs and S narrow, taken as UTF-8 with
// malformed bytes as U+FFFD), p, n (consumed, nothing written), %%; flags - + space # 0, width
// and precision (also *). A null string prints as "(null)". An unknown conversion is copied as
// written.
#pragma once

#include <cstdarg>
#include <string>

namespace kafhost {

std::wstring formatHostText(const wchar_t* format, va_list args);

}  // namespace kafhost
