#include "input/parse_csv.h"

#include "arxapi.h"
#include "host/add_finite_point.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/point_field.h"
#include "input/point_file.h"
#include "input/show_message_box.h"
#include "input/widen_bytes.h"

namespace {

void ShowReadError(const std::wstring& text) {
    ShowMessageBox(text.c_str(), L"Nimbora", MB_OK | MB_ICONERROR);
}

void ShowRowError(const wchar_t* what, std::int64_t row, const char* first, const char* last,
                  const std::wstring& name) {
    ShowReadError(what + std::to_wstring(row) + L":\n\n" + WidenBytes(first, last) +
                  L"\n\nin file '" + name);
}

}  // namespace

std::int32_t parseCSV(const std::vector<std::wstring>& files, const std::wstring& delimiter,
                      geom::CDCT& dct, double transX, double transY, double scaleZ) {
    // Ends the progress display however the reader is left, a thrown failure included.
    const EndProgressMeterOnExit endMeter;
    const wchar_t separator = delimiter.empty() ? L'\0' : delimiter[0];
    std::int32_t rowTotal = 0;
    for (const std::wstring& name : files) {
        PointFile file(name);
        if (!file.IsOpen()) {
            ShowReadError(L"File '" + name + L"' not found!");
            return 0;
        }
        PumpMessagesThrottled();
        const std::int64_t lines = file.CountLines();
        ProgressMeterState meter;
        StartProgressMeter(meter, name.c_str(), static_cast<double>(lines));

        std::int64_t row = 0;
        const char* first = nullptr;
        const char* last = nullptr;
        while (file.NextLine(first, last)) {
            ++row;
            ++rowTotal;
            UpdateProgressMeter(meter, name.c_str(), static_cast<double>(row));
            if (first == last) {
                continue;
            }
            double xyz[3];
            switch (ParsePointRow(first, last, separator, xyz)) {
                case PointRowStatus::kUnparsable:
                    ShowRowError(L"Can not parse row ", row, first, last, name);
                    return 0;
                case PointRowStatus::kTooFewValues:
                    ShowRowError(L"Too few values in row ", row, first, last, name);
                    return 0;
                case PointRowStatus::kPoint:
                    AddFinitePoint(dct, xyz[0] + transX, xyz[1] + transY, xyz[2] * scaleZ);
                    break;
            }
        }
    }
    return rowTotal;
}
