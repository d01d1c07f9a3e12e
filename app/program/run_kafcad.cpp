#include "app/program/run_kafcad.h"

#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

#include "app/gis/coordinate_system.h"
#include "app/gis/gis_library.h"
#include "app/lisp/builtins/library.h"
#include "app/lisp/builtins/standard.h"
#include "app/lisp/byte_text.h"
#include "app/lisp/command_line_output.h"
#include "app/lisp/error.h"
#include "app/lisp/evaluate.h"
#include "app/program/default_module_path.h"
#include "app/program/drawing_files.h"
#include "app/program/drawing_output.h"
#include "app/program/entities/drawing_lisp.h"
#include "app/program/exit_status.h"
#include "app/program/gis_functions.h"
#include "app/program/host_function_library.h"
#include "app/program/read_inputs.h"
#include "app/program/usage_error.h"
#include "app/program/usage_text.h"
#include "app/system/system.h"
#include "app/terminal/escape_controls.h"
#include "app/terminal/interactive_session.h"
#include "app/terminal/interrupt_keys.h"
#include "app/terminal/progress_display.h"
#include "app/terminal/show_value.h"
#include "kafhost/drawing_json.h"
#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

// A step of the run that failed before or after evaluation: the message and the exit status.
struct RunFailure {
    std::string message;
    int exitStatus;
};

void LoadDrawing(kafhost::Host& host, const std::string& path, const Options& options) {
    kafhost::DrawingSnapshot drawing;
    try {
        drawing = ReadDrawingFile(path);
    } catch (const kafhost::DrawingFileError& error) {
        throw RunFailure{std::string("cannot load drawing ") + error.what(), kExitUsage};
    }
    // A save that would lose what the file holds is refused before anything runs.
    try {
        if (options.savePath) {
            CheckDrawingFileKeeps(drawing, *options.savePath);
        }
    } catch (const kafhost::DrawingFileError& error) {
        throw RunFailure{std::string("cannot save drawing ") + error.what(), kExitUsage};
    }
    std::wstring error;
    if (!host.loadSnapshot(drawing, error)) {
        throw RunFailure{"cannot load drawing " + path + ": " + kafhost::wideToUtf8(error),
                         kExitUsage};
    }
}

void AddLayers(kafhost::Host& host, const std::vector<LayerOption>& layers) {
    // A layer the drawing has already keeps its style unless the option gives one.
    for (const LayerOption& layer : layers) {
        ApplyLayerOption(host, layer);
    }
}

void LoadModule(kafhost::Host& host, const Options& options) {
    const std::string path =
        options.modulePath ? *options.modulePath : DefaultModulePath(ExecutableDirectory());
    std::string error;
    if (!host.loadModule(path, error)) {
        throw RunFailure{"cannot load module " + path + ": " + error, kExitUsage};
    }
}

// Evaluates the sources in order; gives the exit status.
int EvaluateSources(Evaluator& evaluator, const std::vector<Source>& sources,
                    CommandLineOutput& commandLine,
                    const std::function<void(const std::string&)>& reportError) {
    for (const Source& source : sources) {
        for (const Value& form : source.forms) {
            try {
                const Value value = evaluator.EvaluateInFolder(form, source.folder);
                if (source.showValues) {
                    ShowValue(value, commandLine);
                }
            } catch (const LispError& error) {
                commandLine.EndLine();
                if (!error.HandledByUser()) {
                    reportError(error.what());
                }
                return kExitFailed;
            } catch (const std::bad_alloc&) {
                // What the failed step held is freed by now; the drawing is as it was.
                commandLine.EndLine();
                reportError(kOutOfMemory);
                return kExitFailed;
            }
        }
    }
    commandLine.EndLine();
    return kExitOk;
}

// Connects the host's command line, meter and message boxes to the console for one run, and
// disconnects them and unloads the module at its end.
class HostConnection {
public:
    HostConnection(kafhost::Host& host, CommandLineOutput& commandLine, ProgressDisplay& display)
        : host_(host) {
        commandLine.SetObserver(&display);
        // The module's texts quote file names and handles as they were given; its own line ends
        // (it rewrites a line with a carriage return) stay.
        host.setPrintSink([&commandLine](const std::wstring& text) {
            commandLine.Write(EscapeControls(kafhost::wideToUtf8(text), KeptControls::kLineEnds));
        });
        host.setMeterSink(
            [&display](const kafhost::MeterEvent& event) { display.OnMeterEvent(event); });
        host.setMessageBoxEcho(false);
        host.setMessageBoxSink([&display](const kafhost::MessageBoxRecord& box) {
            // A box may quote a file's contents: a row of a point file.
            display.WriteMessage(EscapeControls(kafhost::wideToUtf8(box.caption + L": " + box.text),
                                                KeptControls::kLineFeeds) +
                                 "\n");
        });
    }
    ~HostConnection() {
        host_.unloadModule();
        host_.setPrintSink(nullptr);
        host_.setMeterSink(nullptr);
        host_.setMessageBoxSink(nullptr);
        host_.setMessageBoxEcho(true);
    }

private:
    kafhost::Host& host_;
};

// The drawing's coordinate system from --crs, before anything runs.
void SetCoordinateSystem(const Options& options) {
    if (!options.crs) {
        return;
    }
    try {
        DrawingCoordinateSystem() = ResolveCoordinateSystem(*options.crs);
    } catch (const GisError& error) {
        throw RunFailure{std::string("option --crs: ") + error.what(), kExitUsage};
    }
}

// A target that no save could replace (a folder, a device, /dev/stdout) is refused before
// anything runs, as is a layer name that the drawing file could not hold.
void CheckOutputTargets(const Options& options) {
    try {
        // A GeoPackage is written with GDAL: a kafcad that cannot load it says so now.
        if (options.savePath && IsGeoPackagePath(*options.savePath)) {
            try {
                LoadGisLibrary();
            } catch (const GisError& error) {
                throw kafhost::DrawingFileError(*options.savePath + ": " + error.what());
            }
        }
        if (options.savePath) {
            kafhost::checkSaveTarget(*options.savePath);
            std::vector<std::wstring> layers;
            for (const LayerOption& layer : options.layers) {
                layers.push_back(BytesToWide(layer.name));
            }
            CheckLayerNames(layers, *options.savePath);
        }
    } catch (const kafhost::DrawingFileError& error) {
        throw RunFailure{std::string("cannot save drawing ") + error.what(), kExitUsage};
    }
    try {
        if (options.pngPath) {
            kafhost::checkSaveTarget(*options.pngPath);
        }
    } catch (const kafhost::DrawingFileError& error) {
        throw RunFailure{PictureFailure(*options.pngPath, error.what()), kExitUsage};
    }
}

// What a run that ends early leaves unwritten: "; the drawing was not saved to FILE", ...
std::string UnsavedNote(const Options& options) {
    std::string note;
    if (options.savePath) {
        note += "; the drawing was not saved to " + EscapeControls(*options.savePath);
    }
    if (options.pngPath) {
        note += "; the picture was not written to " + EscapeControls(*options.pngPath);
    }
    return note;
}

int RunInHost(const Options& options, const std::vector<Source>& sources, bool interactive,
              const Console& console) {
    SetGisLibraryFolder(ExecutableDirectory());
    CheckOutputTargets(options);
    SetCoordinateSystem(options);
    kafhost::Host& host = kafhost::Host::instance();
    if (options.drawingPath) {
        LoadDrawing(host, *options.drawingPath, options);
    }
    AddLayers(host, options.layers);

    CommandLineOutput commandLine(console.out, console.outIsTerminal);
    ProgressDisplay display(console.err, console.errIsTerminal, console.outIsTerminal,
                            console.columns);
    HostConnection connection(host, commandLine, display);
    LoadModule(host, options);

    BuiltinLibrary builtins;
    DefineStandardFunctions(builtins, commandLine);
    DefineDrawingFunctions(builtins, host);
    DefineDrawingLispFunctions(builtins, host);
    DefineLayerFunctions(builtins, host);
    DefineGisFunctions(builtins, host, commandLine);
    HostFunctionLibrary moduleFunctions(host);
    Evaluator evaluator({&builtins, &moduleFunctions});
    const auto reportError = [&display](const std::string& reason) {
        display.WriteMessage("; error: " + EscapeControls(reason) + "\n");
    };

    int status = kExitOk;
    if (interactive) {
        RunInteractiveSession(evaluator, commandLine, reportError);
    } else {
        // Until the scripts have run; the saves after them hold Ctrl-C back while they write.
        const EndOnInterrupt interrupts(UnsavedNote(options));
        status = EvaluateSources(evaluator, sources, commandLine, reportError);
    }
    if (status != kExitOk) {
        // A run that failed part-way leaves a drawing half done: it is not written, and the
        // user is told so.
        if (options.savePath) {
            display.WriteMessage("kafcad: the drawing was not saved to " +
                                 EscapeControls(*options.savePath) +
                                 ": the run ended with an error\n");
        }
        if (options.pngPath) {
            display.WriteMessage("kafcad: the picture was not written to " +
                                 EscapeControls(*options.pngPath) +
                                 ": the run ended with an error\n");
        }
        return status;
    }
    try {
        if (options.savePath || options.pngPath) {
            // One snapshot of the drawing serves both; the DXF writer and the picture read the
            // meshes' faces in place.
            const bool inPlace = !options.savePath || IsDxfPath(*options.savePath);
            const kafhost::DrawingSnapshot drawing =
                inPlace ? host.outputSnapshot() : host.snapshot();
            if (options.savePath) {
                SaveDrawing(drawing, *options.savePath);
            }
            if (options.pngPath) {
                WritePicture(drawing, *options.pngPath, options.pngSize);
            }
        }
    } catch (const OutputError& error) {
        throw RunFailure{error.what(), kExitFailed};
    }
    return kExitOk;
}

}  // namespace

int RunKafcad(const Options& options, const Console& console) {
    if (options.help) {
        console.out << UsageText();
        return kExitOk;
    }
    if (options.version) {
        console.out << VersionText();
        return kExitOk;
    }
    try {
        std::vector<Input> inputs = options.inputs;
        const bool interactive = inputs.empty() && console.inIsTerminal;
        if (inputs.empty() && !interactive) {
            inputs.push_back({Input::Kind::kScript, "-"});
        }
        return RunInHost(options, ReadInputs(inputs), interactive, console);
    } catch (const UsageError& error) {
        console.err << "kafcad: " << EscapeControls(error.what()) << "\n";
        return kExitUsage;
    } catch (const RunFailure& failure) {
        console.err << "kafcad: " << EscapeControls(failure.message) << "\n";
        return failure.exitStatus;
    } catch (const std::bad_alloc&) {
        console.err << "kafcad: " << kOutOfMemory << "\n";
        return kExitFailed;
    }
}

}  // namespace kafcad
