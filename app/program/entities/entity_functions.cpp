// entget, entnext, entlast, handent, entdel, entmod and entmake (see drawing_lisp.h).
#include <algorithm>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"
#include "app/lisp/opaque_values.h"
#include "app/lisp/text_case.h"
#include "app/program/entities/drawing_lisp.h"
#include "app/program/entities/entity_groups.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

using kafhost::EntityInfo;
using kafhost::Host;

// The entity of a live entity name; false for an erased or unknown one.
bool LiveEntity(Host& host, const Value& name, EntityInfo& entity) {
    return host.entityInfo(EntityArgument(name), entity) && !entity.erased;
}

Value EntNext(Host& host, const std::vector<Value>& a) {
    CheckArgumentCount(a, 0, 1);
    const std::vector<std::wstring> handles = host.entityHandles();
    auto next = handles.begin();
    if (!a.empty() && !a[0].isNil()) {
        const std::wstring handle = EntityArgument(a[0]);
        next = std::find(handles.begin(), handles.end(), handle);
        if (next != handles.end()) {
            ++next;
        }
    }
    return next == handles.end() ? Value::nil() : EntityName(*next);
}

void EnsureLayer(Host& host, const std::wstring& layer) {
    host.addLayer(layer);
}

[[noreturn]] void Refused(const std::string& function, const std::wstring& error) {
    throw LispError(function + ": " + kafhost::wideToUtf8(error));
}

Value EntMod(Host& host, const std::vector<Value>& a) {
    CheckArgumentCount(a, 1, 1);
    Value name;
    for (const Value& group : ListArgument(a[0])) {
        if (GroupCode(group) == -1) {
            name = GroupValue(group);
        }
    }
    EntityInfo entity;
    if (name.isNil() || !LiveEntity(host, name, entity)) {
        return Value::nil();
    }
    EntityFromGroups(a[0], false, entity);
    EnsureLayer(host, entity.layer);
    // The drawing is rebuilt with the entity changed in place: its handle and its place in the
    // drawing stay, and a DXF drawing's save writes it anew.
    kafhost::DrawingSnapshot drawing = host.snapshot();
    for (EntityInfo& described : drawing.entities) {
        if (described.handle == entity.handle) {
            described = entity;
        }
    }
    std::wstring error;
    if (!host.loadSnapshot(drawing, error)) {
        Refused("entmod", error);
    }
    return a[0];
}

Value EntMake(Host& host, const std::vector<Value>& a) {
    CheckArgumentCount(a, 1, 1);
    EntityInfo entity;
    EntityFromGroups(a[0], true, entity);
    EnsureLayer(host, entity.layer);
    std::wstring error;
    if (host.addEntity(entity, error).empty()) {
        Refused("entmake", error);
    }
    return a[0];
}

}  // namespace

void DefineEntityFunctions(BuiltinLibrary& library, Host& host) {
    Host* h = &host;
    library.Define("entget", [h](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 2);
        EntityInfo entity;
        return LiveEntity(*h, a[0], entity) ? EntityGroups(entity) : Value::nil();
    });
    library.Define("entnext", [h](const std::vector<Value>& a) { return EntNext(*h, a); });
    library.Define("entlast", [h](const std::vector<Value>& a) {
        CheckArgumentCount(a, 0, 0);
        const std::vector<std::wstring> handles = h->entityHandles();
        return handles.empty() ? Value::nil() : EntityName(handles.back());
    });
    library.Define("handent", [h](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const std::wstring handle = UpperCaseText(StringArgument(a[0]));
        EntityInfo entity;
        if (!h->entityInfo(handle, entity) || entity.erased) {
            return Value::nil();
        }
        return EntityName(entity.handle);
    });
    library.Define("entdel", [h](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        EntityInfo entity;
        if (!LiveEntity(*h, a[0], entity)) {
            throw LispError("entdel: kafcad cannot bring back an erased entity " +
                            kafhost::wideToUtf8(a[0].symbolName()));
        }
        h->eraseObject(entity.handle);
        return a[0];
    });
    library.Define("entmod", [h](const std::vector<Value>& a) { return EntMod(*h, a); });
    library.Define("entmake", [h](const std::vector<Value>& a) { return EntMake(*h, a); });
}

}  // namespace kafcad
