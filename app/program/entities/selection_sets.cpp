// ssget and the functions over selection sets (see drawing_lisp.h).
#include <algorithm>
#include <map>
#include <memory>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"
#include "app/lisp/opaque_values.h"
#include "app/program/entities/drawing_lisp.h"
#include "app/program/entities/entity_groups.h"
#include "app/program/entities/selection_filter.h"

namespace kafcad {
namespace {

// The selection sets made so far, by number; each the handles of its entities in order.
class SelectionSets {
public:
    Value Make(std::vector<std::wstring> handles) {
        const int id = nextId_++;
        sets_[id] = std::move(handles);
        return SelectionSet(id);
    }
    std::vector<std::wstring>& Members(const Value& set) {
        const std::optional<int> id = SelectionSetId(set);
        const auto found = id ? sets_.find(*id) : sets_.end();
        if (found == sets_.end()) {
            BadArgumentType("lselsetp", set);
        }
        return found->second;
    }

private:
    std::map<int, std::vector<std::wstring>> sets_;
    int nextId_ = 1;
};

Value SsGet(kafhost::Host& host, SelectionSets& sets, const std::vector<Value>& a) {
    CheckArgumentCount(a, 0, 2);
    const std::wstring mode =
        !a.empty() && a[0].kind() == Value::Kind::kString ? a[0].asString() : std::wstring();
    if (mode != L"X" && mode != L"_X" && mode != L"A" && mode != L"_A") {
        throw LispError(
            "ssget: kafcad has no pointer to pick with; select with (ssget \"X\" "
            "[filter])");
    }
    const SelectionFilter filter(a.size() == 2 ? a[1] : Value::nil());
    std::vector<std::wstring> selected;
    for (const kafhost::EntityInfo& entity : host.snapshot().entities) {
        if (!entity.erased && filter.Matches(EntityGroups(entity, false))) {
            selected.push_back(entity.handle);
        }
    }
    return selected.empty() ? Value::nil() : sets.Make(std::move(selected));
}

}  // namespace

std::wstring EntityArgument(const Value& value) {
    const std::optional<std::wstring> handle = EntityHandle(value);
    if (!handle) {
        BadArgumentType("lentityp", value);
    }
    return *handle;
}

void DefineSelectionSetFunctions(BuiltinLibrary& library, kafhost::Host& host) {
    const auto sets = std::make_shared<SelectionSets>();
    kafhost::Host* h = &host;
    library.Define("ssget", [h, sets](const std::vector<Value>& a) { return SsGet(*h, *sets, a); });
    library.Define("sslength", [sets](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        return Value::integer(static_cast<std::int32_t>(sets->Members(a[0]).size()));
    });
    library.Define("ssname", [sets](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::vector<std::wstring>& members = sets->Members(a[0]);
        const double index = NumberArgument(a[1]);
        if (index < 0.0 || index >= static_cast<double>(members.size())) {
            return Value::nil();
        }
        return EntityName(members[static_cast<std::size_t>(index)]);
    });
    library.Define("ssadd", [sets](const std::vector<Value>& a) {
        CheckArgumentCount(a, 0, 2);
        if (a.empty()) {
            return sets->Make({});
        }
        const std::wstring handle = EntityArgument(a[0]);
        if (a.size() == 1) {
            return sets->Make({handle});
        }
        std::vector<std::wstring>& members = sets->Members(a[1]);
        if (std::find(members.begin(), members.end(), handle) == members.end()) {
            members.push_back(handle);
        }
        return a[1];
    });
    library.Define("ssdel", [sets](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::wstring handle = EntityArgument(a[0]);
        std::vector<std::wstring>& members = sets->Members(a[1]);
        const auto found = std::find(members.begin(), members.end(), handle);
        if (found == members.end()) {
            return Value::nil();
        }
        members.erase(found);
        return a[1];
    });
    library.Define("ssmemb", [sets](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::wstring handle = EntityArgument(a[0]);
        const std::vector<std::wstring>& members = sets->Members(a[1]);
        return std::find(members.begin(), members.end(), handle) == members.end() ? Value::nil()
                                                                                  : a[0];
    });
    library.Define("kafcad-handles", [sets](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        if (a[0].isNil()) {
            return Value::nil();
        }
        std::vector<Value> handles;
        for (const std::wstring& handle : sets->Members(a[0])) {
            handles.push_back(Value::string(handle));
        }
        return Value::list(std::move(handles));
    });
}

}  // namespace kafcad
