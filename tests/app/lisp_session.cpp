#include "lisp_session.h"

#include "app/lisp/builtins/standard.h"
#include "app/lisp/error.h"
#include "app/lisp/print_value.h"
#include "app/lisp/read_forms.h"

LispSession::LispSession() : commandLine_(written_), evaluator_({&builtins_, &echo}) {
    kafcad::DefineStandardFunctions(builtins_, commandLine_);
}

kafcad::Value LispSession::Run(const std::string& text, const std::string& folder) {
    return evaluator_.EvaluateScript(kafcad::ReadForms(text), folder);
}

std::string LispSession::Printed(const std::string& text) {
    return kafcad::PrintValue(Run(text));
}

std::string LispSession::Failure(const std::string& text) {
    try {
        Run(text);
    } catch (const kafcad::LispError& error) {
        return error.what();
    }
    return "(no error)";
}
