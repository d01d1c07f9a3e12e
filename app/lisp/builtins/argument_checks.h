// Argument checks shared by the built-in functions. Each throws LispError with AutoLISP's
// reason when the check fails:
//   CheckArgumentCount(arguments, least, most): "too few arguments" / "too many arguments"
//     (kUnlimited: no upper bound).
//   NumberArgument(value): the number as a double; "bad argument type: numberp: X".
//   IntegerArgument(value): the integer; "bad argument type: fixnump: X".
//   StringArgument(value): the text; "bad argument type: stringp X".
//   ListArgument(value): the elements (none for nil); "bad argument type: listp X", and "bad
//     list: X" for a list with a dotted tail.
//   ConsArgument(value): as ListArgument for car and cdr; "bad argument type: consp X".
//   SymbolArgument(value): the symbol's name; "bad argument type: symbolp X".
//   BadArgumentType(predicate, value): throws "bad argument type: PREDICATE X" (the predicate
//     with its colon where AutoLISP writes one, "numberp:").
//   BadArgumentValue(what, value): throws "bad argument value: WHAT X".
//   FileNameArgument(value): a string as the file system's bytes (BytesToWide reversed, so a
//     name read as bytes that are not UTF-8 reaches the file system unchanged); "bad argument
//     type: stringp X", or "bad argument value: file name with a NUL character: X", since the
//     system would take the name to end there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "app/lisp/value.h"

namespace kafcad {

constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

void CheckArgumentCount(const std::vector<Value>& arguments, std::size_t least, std::size_t most);
double NumberArgument(const Value& value);
std::int32_t IntegerArgument(const Value& value);
const std::wstring& StringArgument(const Value& value);
const std::vector<Value>& ListArgument(const Value& value);
const std::vector<Value>& ConsArgument(const Value& value);
const std::wstring& SymbolArgument(const Value& value);
std::string FileNameArgument(const Value& value);
[[noreturn]] void BadArgumentType(const std::string& predicate, const Value& value);
[[noreturn]] void BadArgumentValue(const std::string& what, const Value& value);

}  // namespace kafcad
