// Options: what one run of kafcad is asked to do.
//
// ParseOptions(arguments): reads the command-line arguments after the program name:
//   --drawing FILE.json   start from this drawing instead of a new one
//   --layer NAME          add a layer (repeatable)
//   --save FILE.json      save the drawing after the expressions
//   --module PATH         load this module instead of the one installed with kafcad
//   -e EXPR               evaluate the expression (repeatable, at least one)
//   --help, --version
// Every option that takes a value also accepts --option=VALUE. Throws UsageError for an unknown
// option, a missing value, a repeated single-valued option, or no expression.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kafcad {

struct Options {
    std::optional<std::string> drawingPath;
    std::vector<std::string> layers;
    std::optional<std::string> savePath;
    std::optional<std::string> modulePath;
    std::vector<std::string> expressions;
    bool help = false;
    bool version = false;
};

Options ParseOptions(const std::vector<std::string>& arguments);

}  // namespace kafcad
