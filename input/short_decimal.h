// ConvertShortDecimal(first, last, value): the value of the bytes [first, last) when they are
// exactly an optional '-', digits and at most one '.', with at least one digit, at most 19 digits
// in all and no more than 2^53 as an integer without the point.
// Such a number converts with a single division of two exactly held doubles, so value is the
// correctly rounded one, the same that std::from_chars gives. Gives false, with value unset, for
// any other text (exponents, longer digit strings) and where the platform's double arithmetic
// is not plain IEEE double precision (FLT_EVAL_METHOD != 0); std::from_chars must decide then.
#pragma once

bool ConvertShortDecimal(const char* first, const char* last, double& value);
