#include "app/run_kafcad.h"

#include <vector>

#include "app/command_line_output.h"
#include "app/default_module_path.h"
#include "app/drawing_files.h"
#include "app/evaluate.h"
#include "app/exit_status.h"
#include "app/host_function_library.h"
#include "app/lisp_error.h"
#include "app/print_value.h"
#include "app/read_expressions.h"
#include "app/usage_error.h"
#include "app/usage_text.h"
#include "kafhost/drawing_json.h"
#include "kafhost/host.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

// A step of the run that failed before or after evaluation: the message and the exit status.
struct RunFailure {
    std::string message;
    int exitStatus;
};

void LoadDrawing(kafhost::Host& host, const std::string& path) {
    kafhost::DrawingSnapshot drawing;
    try {
        drawing = ReadDrawingFile(path);
    } catch (const kafhost::DrawingFileError& error) {
        throw RunFailure{std::string("cannot load drawing ") + error.what(), kExitUsage};
    }
    std::wstring error;
    if (!host.loadSnapshot(drawing, error))
        throw RunFailure{"cannot load drawing " + path + ": " + kafhost::wideToUtf8(error),
                         kExitUsage};
}

void AddLayers(kafhost::Host& host, const std::vector<std::string>& layers) {
    // A layer the drawing has already is kept as it is.
    for (const std::string& layer : layers)
        host.addLayer(kafhost::utf8ToWide(layer));
}

void LoadModule(kafhost::Host& host, const Options& options) {
    const std::string path =
        options.modulePath ? *options.modulePath : DefaultModulePath(ExecutableDirectory());
    std::string error;
    if (!host.loadModule(path, error))
        throw RunFailure{"cannot load module " + path + ": " + error, kExitUsage};
}

// Evaluates the expressions in order; gives the exit status.
int EvaluateAll(kafhost::Host& host, const std::vector<Value>& expressions,
                CommandLineOutput& commandLine, std::ostream& err) {
    HostFunctionLibrary functions(host);
    for (const Value& expression : expressions) {
        try {
            const Value value = Evaluate(expression, functions);
            commandLine.EndLine();
            commandLine.Write(PrintValue(value) + "\n");
        } catch (const LispError& error) {
            commandLine.EndLine();
            err << "; error: " << error.what() << "\n";
            return error.exitStatus();
        }
    }
    return kExitOk;
}

void SaveDrawing(kafhost::Host& host, const std::string& path) {
    try {
        WriteDrawingFile(host.snapshot(), path);
    } catch (const kafhost::DrawingFileError& error) {
        throw RunFailure{std::string("cannot save drawing ") + error.what(), kExitFailed};
    }
}

int RunInHost(const Options& options, const std::vector<Value>& expressions, std::ostream& out,
              std::ostream& err) {
    kafhost::Host& host = kafhost::Host::instance();
    if (options.drawingPath)
        LoadDrawing(host, *options.drawingPath);
    AddLayers(host, options.layers);

    CommandLineOutput commandLine(out);
    host.setPrintSink(
        [&commandLine](const std::wstring& text) { commandLine.Write(kafhost::wideToUtf8(text)); });
    int status = kExitOk;
    try {
        LoadModule(host, options);
        status = EvaluateAll(host, expressions, commandLine, err);
        if (status == kExitOk && options.savePath)
            SaveDrawing(host, *options.savePath);
    } catch (...) {
        host.unloadModule();
        host.setPrintSink(nullptr);
        throw;
    }
    host.unloadModule();
    host.setPrintSink(nullptr);
    return status;
}

}  // namespace

int RunKafcad(const Options& options, std::ostream& out, std::ostream& err) {
    if (options.help) {
        out << UsageText();
        return kExitOk;
    }
    if (options.version) {
        out << VersionText();
        return kExitOk;
    }
    try {
        return RunInHost(options, ReadExpressions(options.expressions), out, err);
    } catch (const UsageError& error) {
        err << "kafcad: " << error.what() << "\n";
        return kExitUsage;
    } catch (const RunFailure& failure) {
        err << "kafcad: " << failure.message << "\n";
        return failure.exitStatus;
    }
}

}  // namespace kafcad
