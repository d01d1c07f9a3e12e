#include "host/kaf20_app.h"

#include "host/lisp_function_table.h"

Ckaf20App::Ckaf20App() : AcRxArxApp(kLispFunctionTable) {}

void Ckaf20App::RegisterServerComponents() {}
