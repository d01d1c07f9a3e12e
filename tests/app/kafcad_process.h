// RunKafcadProcess(arguments, input, folder): runs the kafcad program (KAFCAD_PATH) as a user
// would, with the arguments, the text input on standard input (not a terminal) and folder as the
// working directory (empty: the test's own), and gives its exit status and what it wrote to
// standard output and error.
// RunShellCommand(command, folder): the same for a shell command line (sh -c), with kafcad's
// folder first on PATH.
// The pieces both process harnesses use: TakeFile(path), the text of a file, which is then removed;
// TemporaryPath(), a new empty file's path; ArgvOf(arguments), the arguments as execv takes them.
#pragma once

#include <string>
#include <vector>

struct KafcadRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

KafcadRun RunKafcadProcess(const std::vector<std::string>& arguments,
                           const std::string& input = std::string(),
                           const std::string& folder = std::string());
KafcadRun RunShellCommand(const std::string& command, const std::string& folder);

std::string TakeFile(const std::string& path);
std::string TemporaryPath();
std::vector<char*> ArgvOf(std::vector<std::string>& arguments);
