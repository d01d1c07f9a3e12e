#include "kafcad_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "support/files.h"

std::string TakeFile(const std::string& path) {
    const std::string text = FileText(path);
    std::remove(path.c_str());
    return text;
}

std::string TemporaryPath() {
    char name[] = "/tmp/kafcad_test_XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) {
        throw std::runtime_error("cannot make a temporary file");
    }
    ::close(fd);
    return name;
}

std::vector<char*> ArgvOf(std::vector<std::string>& arguments) {
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

namespace {

KafcadRun RunProgram(std::vector<std::string> argv, const std::string& input,
                     const std::string& folder) {
    const std::string inPath = TemporaryPath();
    const std::string outPath = TemporaryPath();
    const std::string errPath = TemporaryPath();
    std::ofstream(inPath, std::ios::binary) << input;
    std::vector<char*> pointers = ArgvOf(argv);

    const pid_t child = ::fork();
    if (child == 0) {
        const int in = ::open(inPath.c_str(), O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_TRUNC);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_TRUNC);
        if (out < 0 || err < 0 || in < 0 || (!folder.empty() && ::chdir(folder.c_str()) != 0)) {
            ::_exit(126);
        }
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(pointers[0], pointers.data());
        ::_exit(127);
    }
    KafcadRun run;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        run.exitStatus = WEXITSTATUS(status);
    }
    std::remove(inPath.c_str());
    run.out = TakeFile(outPath);
    run.err = TakeFile(errPath);
    return run;
}

}  // namespace

KafcadRun RunKafcadProcess(const std::vector<std::string>& arguments, const std::string& input,
                           const std::string& folder) {
    std::vector<std::string> argv{KAFCAD_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunProgram(argv, input, folder);
}

KafcadRun RunShellCommand(const std::string& command, const std::string& folder) {
    const std::string kafcadFolder = std::filesystem::path(KAFCAD_PATH).parent_path().string();
    const std::string withKafcad = "PATH='" + kafcadFolder + "':\"$PATH\"; export PATH; " + command;
    return RunProgram({"/bin/sh", "-c", withKafcad}, std::string(), folder);
}
