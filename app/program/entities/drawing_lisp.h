// The AutoLISP functions over the stand-in host's drawing: selection sets, entity data and the
// layer table, as the host's AutoLISP gives them (see docs/kafcad.md for how kafcad differs).
//
// DefineDrawingLispFunctions(library, host) defines all of them:
// DefineSelectionSetFunctions (selection_sets.cpp):
//   (ssget "X" [filter])     a new selection set of the drawing's entities (not erased) that
//                            pass the filter (SelectionFilter); nil when none does. "_X", "A" and
//                            "_A" mean the same; other modes (picking) fail: kafcad has no pointer
//   (sslength ss)            the number of entities in the set
//   (ssname ss i)            the entity name at index i (from 0), nil past the end
//   (ssadd [e [ss]])         a new empty set, a new set of e, or ss with e added; gives the set
//   (ssdel e ss)             ss without e; nil when e was not in it
//   (ssmemb e ss)            e when it is in ss, else nil
//   (kafcad-handles ss)      the handles of the set's entities as a list of strings, the handle
//                            lists the module's functions take (nil for nil)
// DefineEntityFunctions (entity_functions.cpp):
//   (entget e)               the entity's group list (EntityGroups); nil when erased or unknown
//   (entnext [e]) (entlast)  the first entity / the one after e / the last one; nil at the end
//   (handent "2A")           the entity name of a handle; nil when there is no such entity
//   (entdel e)               erases the entity; gives e
//   (entmod list)            changes the entity (-1 . e) names as the list says; gives the list
//   (entmake list)           adds an entity to model space; gives the list. A layer it names that
//                            the drawing lacks is added, as the host does.
// DefineLayerTableFunctions (layer_table.cpp):
//   (tblsearch "LAYER" name)   ((0 . "LAYER") (2 . name) (70 . 0) (62 . colour) (6 . linetype)),
//                            62 negative when the layer is hidden; nil when there is none;
//                            other tables are empty
//   (tblnext "LAYER" [rewind]) the next layer's list, the first again after rewind is not nil;
//                            nil after the last
#pragma once

#include "app/lisp/builtins/library.h"
#include "kafhost/host.h"

namespace kafcad {

void DefineSelectionSetFunctions(BuiltinLibrary& library, kafhost::Host& host);
void DefineEntityFunctions(BuiltinLibrary& library, kafhost::Host& host);
void DefineLayerTableFunctions(BuiltinLibrary& library, kafhost::Host& host);

inline void DefineDrawingLispFunctions(BuiltinLibrary& library, kafhost::Host& host) {
    DefineSelectionSetFunctions(library, host);
    DefineEntityFunctions(library, host);
    DefineLayerTableFunctions(library, host);
}

// The handle an entity-name argument holds; "bad argument type: lentityp X" for anything else.
std::wstring EntityArgument(const Value& value);

}  // namespace kafcad
