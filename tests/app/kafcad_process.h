// RunKafcadProcess(arguments): runs the kafcad program (KAFCAD_PATH) as a user would, with the
// arguments, and gives its exit status and what it wrote to standard output and error.
#pragma once

#include <string>
#include <vector>

struct KafcadRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

KafcadRun RunKafcadProcess(const std::vector<std::string>& arguments);
