// ReadExpressions(texts): the expressions of every -e text, in order, read before any is
// evaluated. Throws UsageError naming the -e (counted from 1), the line and column and what is
// wrong, e.g. "malformed expression (-e 2, line 1, column 10): missing ")" for the "(" opened
// here", and for a text that holds no expression.
#pragma once

#include <string>
#include <vector>

#include "app/value.h"

namespace kafcad {

std::vector<Value> ReadExpressions(const std::vector<std::string>& texts);

}  // namespace kafcad
