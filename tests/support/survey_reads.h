// The survey reader as the constrained functions read: ReadKeepingFirsts(files, layout,
// delimiter, points, counts) reads the files with ReadSurveyPointFiles into a CDCT that drops
// the points at an earlier point's plan position (SurveyReadOptions::dropRepeats), and gives
// whether the read succeeded; points then holds the points the CDCT kept, in the order added
// (-0 kept as the row wrote it).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "geom/dct/dct.h"
#include "input/survey_point_file.h"

using SurveyPoints = std::vector<std::array<double, 3>>;

inline bool ReadKeepingFirsts(const std::vector<std::wstring>& files, const std::wstring& layout,
                              wchar_t delimiter, SurveyPoints& points, SurveyReadCounts& counts) {
    SurveyColumns columns;
    if (!ParseSurveyLayout(layout, columns)) {
        return false;
    }
    geom::CDCT sink;
    SurveyReadOptions options;
    options.dropRepeats = [&sink] { return sink.DropRepeatedPositions(0); };
    const bool read = ReadSurveyPointFiles(
        files, columns, delimiter, L"test",
        [&sink](double x, double y, double z) { sink.AddPoint(x, y, z); }, counts, options);
    points.clear();
    for (std::int32_t k = 0; read && k < counts.read; ++k) {
        const geom::DctStoredPoint& p = sink.AddedPoint(static_cast<std::uint32_t>(k));
        points.push_back({p.x, p.y, p.z});
    }
    return read;
}
