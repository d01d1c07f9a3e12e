// ParsePointFieldByStream(field, value): the number rule of point files. The field is read into a
// wide string stream in the classic locale, a double is extracted (optional leading white space,
// sign, digits with an optional point and fraction, optional exponent), and the conversion holds
// only when the extraction succeeded and nothing but white space follows it in the field. Gives
// whether it holds; value is set only then.
#pragma once

#include <string>

bool ParsePointFieldByStream(const std::wstring& field, double& value);
