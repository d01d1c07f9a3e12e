// tblsearch and tblnext over the layer table (see drawing_lisp.h).
#include <memory>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/cons.h"
#include "app/lisp/text_case.h"
#include "app/program/entities/drawing_lisp.h"

namespace kafcad {
namespace {

bool IsLayerTable(const Value& name) {
    return SameIgnoringCase(StringArgument(name), L"LAYER");
}

Value LayerEntry(const kafhost::LayerInfo& layer) {
    return Value::list({Cons(Value::integer(0), Value::string(L"LAYER")),
                        Cons(Value::integer(2), Value::string(layer.name)),
                        Cons(Value::integer(70), Value::integer(0)),
                        Cons(Value::integer(62),
                             Value::integer(layer.hidden ? -layer.colorIndex : layer.colorIndex)),
                        Cons(Value::integer(6), Value::string(layer.linetype))});
}

}  // namespace

void DefineLayerTableFunctions(BuiltinLibrary& library, kafhost::Host& host) {
    kafhost::Host* h = &host;
    library.Define("tblsearch", [h](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 3);
        const std::wstring& name = StringArgument(a[1]);
        if (!IsLayerTable(a[0])) {
            return Value::nil();
        }
        for (const kafhost::LayerInfo& layer : h->layers()) {
            if (SameIgnoringCase(layer.name, name)) {
                return LayerEntry(layer);
            }
        }
        return Value::nil();
    });
    const auto next = std::make_shared<std::size_t>(0);
    library.Define("tblnext", [h, next](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 2);
        if (!IsLayerTable(a[0])) {
            return Value::nil();
        }
        if (a.size() == 2 && !a[1].isNil()) {
            *next = 0;
        }
        const std::vector<kafhost::LayerInfo> layers = h->layers();
        if (*next >= layers.size()) {
            return Value::nil();
        }
        return LayerEntry(layers[(*next)++]);
    });
}

}  // namespace kafcad
