// DecodeLispCall(data, size, fixture, files): turns a fuzz input into one call of one of the
// module's AutoLISP functions (kFunctionNames): the function, the argument chain, and the contents
// of two point files.
//
// Input layout:
//   byte 0            below 170: the function code (0 triangulate ... 9 kaf-changeMeshColor)
//                     modulo 10; from 10 to 169 also a host call to fail (kafhost::HostCall
//                     number byte / 10 - 1), at the occurrence given by the next byte (modulo 8,
//                     plus 1). From 170: the function code 10 + (byte - 170) modulo 8 (the
//                     surface functions, then the constrained surface functions); from 178 also a
//                     host call to fail, the next byte modulo the number of host calls, at the
//                     occurrence given by the byte after it (modulo 8, plus 1)
//   u16, bytes        length (little-endian, at most kMaxPointFileBytes taken) and contents of
//                     the first point file; then the same for the second
//   rest              the chain, one node (or run of nodes) per operation byte, by its value
//                     modulo 16:
//     0 RTLB  1 RTLE  8 RTNIL  9 RTT
//     2 RTPOINT x y   3 RT3DPOINT x y z   4 RTREAL v       (coordinates, below)
//     5 RTSHORT i16   6 RTLONG i32
//     7 RTSTR from a table (a byte): the fixture's handles (also lower case, with leading zeros
//       or a stray letter), other objects' handles, unknown and malformed handles, the layer
//       names, delimiters, 4000-character texts, the 3D polylines and the crossing outline, and
//       column layouts
//     10 a node of any type code (i16) with a zero value (an RTSTR code gives an empty string)
//     11 RTSTR naming a point file (a byte modulo 4: first, second, a missing file, a folder)
//     12 a run of points: count - 1, pattern, seed (bytes); the pattern picks the positions
//        (bits 0-2: scattered, lattice, collinear, clustered, on a circle, a fine lattice far from
//        the origin, scattered tiny, scattered huge) and 2D or 3D nodes (bit 3)
//     13 RTSTR of raw text: a length byte below 0xF0 and that many bytes (as code points
//        0-255); else an u16 count and one byte, repeated
//     14 an integer from a table (bits 0-3) as RTSHORT, or RTLONG when bit 4 is set
//     15 RTREAL from a table (bits 0-3): zeros, ones, NaN, infinities, extremes
//   A coordinate is one byte k: below 0xF0 (k - 120) / 2; 0xF0-0xF7 NaN, +inf, -inf, 1e300,
//   -1e300, the smallest subnormal, -0.0, 1e8 + 1/8; 0xF8-0xFB an i16 / 64; 0xFC-0xFF the eight
//   raw bytes of a double.
//
// The chain holds at most kMaxChainNodes nodes; decoding stops there. For the four functions that
// read a file list, every string before the first RTLE becomes a point file name (chosen by the
// string's length), so that no call opens a path the input made up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fixture_drawing.h"
#include "kafhost/host.h"
#include "kafhost/lisp_value.h"

constexpr std::size_t kMaxChainNodes = 2000;
constexpr std::size_t kMaxPointFileBytes = 32768;

struct PointFileNames {
    std::wstring first;
    std::wstring second;
    std::wstring missing;
    std::wstring folder;
};

struct LispCall {
    std::wstring function;
    // The host call to fail during the call, or none.
    bool injectFault = false;
    kafhost::HostCall fault = kafhost::HostCall::kCount;
    int faultOccurrence = 1;
    std::string firstFile;
    std::string secondFile;
    kafhost::Chain chain;
    std::size_t nodeCount = 0;
};

LispCall DecodeLispCall(const std::uint8_t* data, std::size_t size, const FixtureDrawing& fixture,
                        const PointFileNames& files);
