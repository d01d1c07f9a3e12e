#include "lisp_session.h"

#include "app/arithmetic_functions.h"
#include "app/comparison_functions.h"
#include "app/lisp_error.h"
#include "app/list_functions.h"
#include "app/print_value.h"
#include "app/read_forms.h"
#include "app/text_functions.h"

LispSession::LispSession() : commandLine_(written_), evaluator_({&builtins_, &echo}) {
    kafcad::DefineArithmeticFunctions(builtins_);
    kafcad::DefineComparisonFunctions(builtins_);
    kafcad::DefineListFunctions(builtins_);
    kafcad::DefineTextFunctions(builtins_, commandLine_);
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
