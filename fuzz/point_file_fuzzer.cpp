// Fuzz target point_file: the input as a point file read by parseCSV into a CDCT, then
// triangulated. Byte 0 picks the delimiter (a table of common and odd ones below 16, else that
// byte as the character), byte 1 the shift and scale (bits 0-1) and whether the file is named
// twice (bit 6) or followed by a missing file (bit 7); the rest, at most kMaxFileBytes, is the
// file. parseCSV may refuse a point that the shift or scale made infinite, Triangulate may fail
// only with its own texts (each a thrown const char*). Every triangle must name three vertices of
// the vertex list and carry copies of them.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/byte_reader.h"
#include "fuzz/fuzz_failure.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/scratch_folder.h"
#include "fuzz/start_over.h"
#include "geom/dct/dct.h"
#include "geom/kernel/geometry_error.h"
#include "input/parse_csv.h"
#include "kafhost/host.h"

namespace {

constexpr std::size_t kMaxFileBytes = 65536;

const wchar_t* const kDelimiters[16] = {L";", L",", L" ", L"\t", L"",  L", ", L"\n", L"\r",
                                        L"0", L".", L"e", L"-",  L"+", L";;", L"|",  L"\x00e9"};

struct Placement {
    double transX;
    double transY;
    double scaleZ;
};
const Placement kPlacements[4] = {
    {0.0, 0.0, 1.0}, {1e6, -1e6, 2.0}, {0.5, 0.5, -1.0}, {1e300, 1e300, 1e300}};

std::unique_ptr<TempFolder> folder;

bool SameVertex(const geom::CVertex& a, const geom::CVertex& b) {
    return std::memcmp(&a.x, &b.x, sizeof a.x) == 0 && std::memcmp(&a.y, &b.y, sizeof a.y) == 0 &&
           std::memcmp(&a.z, &b.z, sizeof a.z) == 0;
}

void CheckTriangles(const std::vector<geom::CTriangle>& triangles,
                    const std::vector<geom::CVertex>& vertices) {
    for (const geom::CTriangle& t : triangles) {
        const long long indices[3] = {t.i1, t.i2, t.i3};
        const geom::CVertex* copies[3] = {&t.p1, &t.p2, &t.p3};
        for (int k = 0; k < 3; ++k) {
            if (indices[k] < 0 || indices[k] >= static_cast<long long>(vertices.size())) {
                FuzzFailure("triangle index " + std::to_string(indices[k]) + " outside " +
                            std::to_string(vertices.size()) + " vertices");
            }
            if (!SameVertex(*copies[k], vertices[static_cast<std::size_t>(indices[k])])) {
                FuzzFailure("triangle vertex copy differs from the vertex list");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kafhost::Host::instance().reset();
    kafhost::Host::instance().setMessageBoxEcho(false);
    folder = std::make_unique<TempFolder>(ScratchBase());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::uint8_t delimiterByte = input.Byte();
    const std::uint8_t options = input.Byte();
    const std::wstring delimiter = delimiterByte < 16
                                       ? kDelimiters[delimiterByte]
                                       : std::wstring(1, static_cast<wchar_t>(delimiterByte));
    const Placement& placement = kPlacements[options & 3];

    folder->Write("points.csv", input.Bytes(kMaxFileBytes));
    std::vector<std::wstring> files = {folder->Path("points.csv").wstring()};
    if (options & 0x40) {
        files.push_back(files.front());
    }
    if (options & 0x80) {
        files.push_back(folder->Path("missing.csv").wstring());
    }

    geom::CDCT dct;
    try {
        parseCSV(files, delimiter, dct, placement.transX, placement.transY, placement.scaleZ);
        const std::vector<geom::CTriangle> triangles = dct.Triangulate();
        CheckTriangles(triangles, dct.GetVertices());
    } catch (const geom::GeometryError&) {
        // The triangulator's own failure texts, e.g. fewer than three distinct points, and the
        // reader's refusal of a point that the shift or scale made infinite.
    }
    if (kafhost::Host::instance().openObjectCount() != 0) {
        FuzzFailure("objects left open");
    }
    StartOver(kafhost::Host::instance());
    return 0;
}
