// LispSession: kafcad's evaluator with all its built-in functions and a recording library of
// one function, ECHO (gives its arguments as a list), writing the command line to a string; for
// tests of the language without the host.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "app/lisp/builtins/library.h"
#include "app/lisp/command_line_output.h"
#include "app/lisp/evaluate.h"

class EchoLibrary : public kafcad::FunctionLibrary {
public:
    bool Has(const std::string& name) const override { return name == "ECHO"; }
    kafcad::Value Call(const std::string& name,
                       const std::vector<kafcad::Value>& arguments) override {
        calls.push_back(name);
        return kafcad::Value::list(arguments);
    }
    std::vector<std::string> calls;
};

class LispSession {
public:
    LispSession();
    // The value of the last form of text (read and evaluated in this session).
    kafcad::Value Run(const std::string& text, const std::string& folder = std::string());
    // The value of text printed as AutoLISP prints it.
    std::string Printed(const std::string& text);
    // The reason of the error text fails with, or "(no error)".
    std::string Failure(const std::string& text);
    // What the printing functions wrote so far.
    std::string Written() const { return written_.str(); }

    EchoLibrary echo;

private:
    std::ostringstream written_;
    kafcad::CommandLineOutput commandLine_;
    kafcad::BuiltinLibrary builtins_;
    kafcad::Evaluator evaluator_;
};
