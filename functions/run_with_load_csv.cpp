#include "functions/run_with_load_csv.h"

#include <optional>

#include "geom/dct/dct.h"
#include "host/argument_readers.h"
#include "host/error_lines.h"
#include "host/pump_messages.h"
#include "host/result_lists.h"
#include "input/load_files.h"
#include "input/parse_csv.h"

namespace {

constexpr std::int32_t kDefaultMaximum = 32767;

// The arguments after the file list.
struct CsvArguments {
    std::wstring delimiter;
    std::optional<std::wstring> layer;
    double transX = 0.0;
    double transY = 0.0;
    double scaleZ = 1.0;
    std::int32_t maximum = kDefaultMaximum;
};

// Reads the arguments from the delimiter (at node) on; where the chain ends, the rest keep their
// defaults. Gives false after the argument error has been reported (with the result set to nil).
bool ReadCsvArguments(const resbuf* node, const WithLoadCsvVariant& variant, CsvArguments& out) {
    if (node == nullptr || node->restype != RTSTR) {
        ReportFunctionError(L"parseCSV", L"No delimiter!");
        return false;
    }
    out.delimiter = node->resval.rstring != nullptr ? node->resval.rstring : L"";

    if ((node = node->rbnext) == nullptr) {
        return true;
    }
    if (node->restype == RTSTR) {
        out.layer = node->resval.rstring != nullptr ? node->resval.rstring : L"";
    } else if (node->restype != RTNIL) {
        ReportFunctionError(variant.step, L"Layer name has to be a string or nil!");
        return false;
    }

    struct RealArgument {
        double* value;
        const wchar_t* error;
    };
    const RealArgument reals[] = {
        {&out.transX, L"The value of transX has to be a double!"},
        {&out.transY, L"The value of transY has to be a double!"},
        {&out.scaleZ, L"The value of scaleZ has to be a double!"},
    };
    for (const RealArgument& real : reals) {
        if ((node = node->rbnext) == nullptr) {
            return true;
        }
        if (node->restype != RTREAL) {
            ReportFunctionError(variant.step, real.error);
            return false;
        }
        *real.value = node->resval.rreal;
    }

    if ((node = node->rbnext) == nullptr) {
        return true;
    }
    if (!ReadInteger(node, out.maximum)) {
        ReportFunctionError(variant.step, variant.notAnInteger);
        return false;
    }
    if (out.maximum < 3 || out.maximum > variant.largestMaximum) {
        ReportFunctionError(variant.step, variant.outOfRange);
        return false;
    }
    return true;
}

}  // namespace

int RunWithLoadCsv(const resbuf* args, const WithLoadCsvVariant& variant) {
    PumpMessagesThrottled();
    acutPrintf(L"\nPlease wait ...\n");
    acutPrintf(L"\nLoading files ... ");
    std::vector<std::wstring> files;
    const resbuf* cursor = args;
    const std::int32_t listed = loadFiles(cursor, files);
    if (listed == -1) {
        return ReportFunctionError(L"parseCSV", L"No files!");
    }
    if (listed == 3) {
        return RSERR;
    }
    acutPrintf(L"finished.");

    CsvArguments arguments;
    if (!ReadCsvArguments(cursor, variant, arguments)) {
        return RSERR;
    }
    const wchar_t* layer = arguments.layer ? arguments.layer->c_str() : nullptr;

    std::vector<std::wstring> handles;
    geom::CDCT dct;
    PumpMessagesThrottled();
    acutPrintf(L"\nParsing ... ");
    const std::int32_t rows = parseCSV(files, arguments.delimiter, dct, arguments.transX,
                                       arguments.transY, arguments.scaleZ);
    if (rows == 0) {
        acutPrintf(L"canceled");
        if (variant.printsFinished) {
            acutPrintf(L"finished");
        }
        acedRetNil();
        return RSRSLT;
    }
    PumpMessagesThrottled();
    acutPrintf(L"finished");
    acutPrintf(L"\nVertex count: %i", rows);
    PumpMessagesThrottled();
    acutPrintf(L"\nStart Calculation ... ");

    const int status = TriangulateAndWrite(dct, rows, arguments.maximum, layer, variant.writers,
                                           variant.timingLine, handles);
    if (status != RTNORM) {
        acedRetNil();
        return RSERR;
    }
    if (variant.printsFinished) {
        acutPrintf(L"finished");
    }
    return ReturnList(StringsToResultList(handles));
}
