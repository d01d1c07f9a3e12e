// The values AutoLISP has beyond data: entity names, selection sets and open files. kafcad
// keeps each as a symbol whose name is its printed form, holding a space so that the reader can
// never make one: <Entity name: 2A> (the entity's handle), <Selection set: 3>, <File #1:
// "report.txt">. They evaluate to themselves and compare equal when they name the same thing.
//
// EntityName(handle) / EntityHandle(value): an entity name and back (nullopt for anything else).
// SelectionSet(id) / SelectionSetId(value), FileValue(id, name) / FileId(value): the same.
// OpaqueTypeName(value): "ENAME", "PICKSET" or "FILE"; "" for other values.
// IsOpaque(value): whether the value is one of them.
#pragma once

#include <optional>
#include <string>

#include "app/lisp/value.h"

namespace kafcad {

Value EntityName(const std::wstring& handle);
std::optional<std::wstring> EntityHandle(const Value& value);
Value SelectionSet(int id);
std::optional<int> SelectionSetId(const Value& value);
Value FileValue(int id, const std::wstring& name);
std::optional<int> FileId(const Value& value);
std::string OpaqueTypeName(const Value& value);
bool IsOpaque(const Value& value);

}  // namespace kafcad
