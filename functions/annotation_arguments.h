// The first four arguments kaf-contourLabels and kaf-spotLevels share: (handles layer height
// decimals ...).
//
// ReadAnnotationArgument(position, cursor, out): reads the argument at cursor by its position
// (1 to 4): a handle list (read to its end, ReadSurfaceArgument), a layer (a string or nil), the
// text height (a real) and the decimals (an integer). Gives the argument's error text, or null.
// AnnotationArgumentFault(out): after all arguments were read, the text for a height that is not
// finite and positive or decimals outside 0 ... 6; null when both are good.
// IsPositiveNumber(value): whether a value is finite and above 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "arxapi.h"

struct AnnotationArguments {
    std::vector<std::wstring> handles;
    std::optional<std::wstring> layer;
    double height = 0.0;
    std::int32_t decimals = 0;
};

const wchar_t* ReadAnnotationArgument(int position, const resbuf*& cursor,
                                      AnnotationArguments& out);
const wchar_t* AnnotationArgumentFault(const AnnotationArguments& out);
bool IsPositiveNumber(double value);
