#include "input/las_point_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "arxapi.h"
#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/path_from_wide.h"

namespace {

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

bool OpenRegularFile(const std::wstring& name, std::ifstream& stream, std::uint64_t& size) {
    const std::filesystem::path path = PathFromWide(name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    size = std::filesystem::file_size(path, error);
    if (error) {
        return false;
    }
    stream.open(path, std::ios::in | std::ios::binary);
    return stream.is_open();
}

}  // namespace

bool StartsAsLasFile(const std::wstring& name) {
    std::ifstream stream;
    std::uint64_t size = 0;
    if (!OpenRegularFile(name, stream, size)) {
        return false;
    }
    char bytes[4] = {};
    stream.read(bytes, sizeof bytes);
    return IsLasSignature(bytes, static_cast<std::size_t>(stream.gcount()));
}

bool ReadLasPointFile(const std::wstring& name, const LasChoices& choices, const wchar_t* label,
                      const SurveyPointSink& add, bool quiet) {
    std::ifstream stream;
    std::uint64_t size = 0;
    if (!OpenRegularFile(name, stream, size)) {
        ReportFunctionError(label, (L"File " + name + L" cannot be opened!").c_str());
        return false;
    }
    LasReader reader(stream, size);
    const std::string refusal = reader.Open();
    if (!refusal.empty()) {
        ReportFunctionError(
            label,
            (L"File " + name + L" is no readable LAS file: " + Widen(refusal) + L"!").c_str());
        return false;
    }
    const LasHeader& header = reader.Header();
    ProgressMeterState meter;
    StartProgressMeter(meter, name.c_str(), static_cast<double>(header.pointCount));
    std::uint64_t index = 0;
    std::uint64_t keptCount = 0;
    LasPoint point;
    bool kept = false;
    while (reader.Next(choices, point, kept)) {
        if ((++index & 0xFFFF) == 0) {
            UpdateProgressMeter(meter, name.c_str(), static_cast<double>(index));
            PumpMessagesThrottled();
        }
        if (kept) {
            ++keptCount;
            add(point.x, point.y, point.z);
        }
    }
    if (!quiet) {
        acutPrintf(L"\n%s: LAS %d.%d, point format %d, %s points, %s kept", name.c_str(),
                   header.versionMajor, header.versionMinor, header.pointFormat,
                   std::to_wstring(header.pointCount).c_str(), std::to_wstring(keptCount).c_str());
    }
    if (reader.Failed()) {
        ReportFunctionError(label, (L"File " + name + L" ends inside its point records!").c_str());
        return false;
    }
    if (keptCount == 0) {
        acutPrintf(L"\n");
        ReportFunctionError(label, (L"File " + name + L" has no point the layout keeps!").c_str());
        return false;
    }
    return true;
}
