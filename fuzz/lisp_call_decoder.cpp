#include "fuzz/lisp_call_decoder.h"

#include <cmath>
#include <cwctype>
#include <limits>
#include <vector>

#include "fuzz/byte_reader.h"
#include "tests/support/function_names.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kMin = std::numeric_limits<double>::min();
constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

const double kSpecialCoordinates[8] = {kNaN,   kInf,       -kInf, 1e300,
                                       -1e300, kDenormMin, -0.0,  1e8 + 0.125};

const double kSpecialReals[16] = {0.0,   -0.0, 1.0,        -1.0,   kNaN, kInf,  -kInf, kMax,
                                  -kMax, kMin, kDenormMin, 1e-300, 1e15, 255.0, 256.0, 0.5};

const std::int32_t kSpecialIntegers[16] = {0,         1,         2,      3,     4,       -1,
                                           -3,        32766,     32767,  32768, 3000000, 3000001,
                                           kInt32Max, kInt32Min, -32768, 65535};

constexpr int kFunctionCount = static_cast<int>(sizeof kFunctionNames / sizeof kFunctionNames[0]);
constexpr std::uint8_t kLaterFunctions = 170;
constexpr std::uint8_t kLaterFunctionsWithFault = 178;

bool IsFileListFunction(int code) {
    return code == 4 || code == 7 || code == 16 || code == 17;
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return text;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

std::vector<std::wstring> NamedStrings(const FixtureDrawing& f) {
    return {f.mesh,
            f.secondMesh,
            f.polyFaceMesh,
            f.outline,
            f.openPolyline,
            f.face,
            f.erasedMesh,
            f.paperMesh,
            Lower(f.mesh),
            L"000" + f.mesh,
            f.mesh + L"G",
            L" " + Upper(f.outline),
            L"0",
            L"1",
            L"2",
            L"3",
            L"FFFFFFFF",
            L"FFFFFFFFFFFFFFFFFF",
            L"",
            L"ZZ",
            L"-1",
            L"TIN",
            L"HIDDEN",
            L"missing layer",
            std::wstring(4000, L'F'),
            std::wstring(4000, L'x'),
            L";",
            L",",
            L" ",
            L"\t",
            f.breakline,
            f.boundary3d,
            f.crossingOutline,
            L"PNEZD",
            L"xyz",
            L"ENZ",
            L"PNN"};
}

class ChainDecoder {
public:
    ChainDecoder(ByteReader& input, int function, const FixtureDrawing& fixture,
                 const PointFileNames& files)
        : input_(input),
          named_(NamedStrings(fixture)),
          files_(files),
          fileListPosition_(IsFileListFunction(function)) {}

    kafhost::Chain Decode(std::size_t& nodeCount) {
        while (!input_.AtEnd() && nodes_ < kMaxChainNodes) {
            DecodeOperation(input_.Byte());
        }
        nodeCount = nodes_;
        return builder_.build();
    }

private:
    void DecodeOperation(std::uint8_t op) {
        switch (op % 16) {
            case 0:
                Count().lb();
                break;
            case 1:
                Count().le();
                fileListPosition_ = false;
                break;
            case 2: {
                const double x = Coordinate();
                const double y = Coordinate();
                Count().point(x, y);
                break;
            }
            case 3: {
                const double x = Coordinate();
                const double y = Coordinate();
                const double z = Coordinate();
                Count().point3(x, y, z);
                break;
            }
            case 4:
                Count().real(Coordinate());
                break;
            case 5:
                Count().shortInt(input_.I16());
                break;
            case 6:
                Count().longInt(input_.I32());
                break;
            case 7:
                String(named_[input_.Byte() % named_.size()]);
                break;
            case 8:
                Count().nil();
                break;
            case 9:
                Count().t();
                break;
            case 10: {
                const short type = input_.I16();
                if (type == RTSTR) {
                    String(L"");
                } else {
                    Count().node(type);
                }
                break;
            }
            case 11:
                FileName(input_.Byte());
                break;
            case 12:
                PointRun();
                break;
            case 13:
                String(RawText());
                break;
            case 14: {
                const std::uint8_t b = input_.Byte();
                const std::int32_t value = kSpecialIntegers[b & 0x0F];
                if (b & 0x10) {
                    Count().longInt(value);
                } else {
                    Count().shortInt(static_cast<short>(value));
                }
                break;
            }
            default:
                Count().real(kSpecialReals[input_.Byte() & 0x0F]);
                break;
        }
    }

    kafhost::ChainBuilder& Count() {
        ++nodes_;
        return builder_;
    }

    double Coordinate() {
        const std::uint8_t k = input_.Byte();
        if (k < 0xF0) {
            return (k - 120) * 0.5;
        }
        if (k < 0xF8) {
            return kSpecialCoordinates[k - 0xF0];
        }
        if (k < 0xFC) {
            return input_.I16() / 64.0;
        }
        return input_.RawDouble();
    }

    std::wstring RawText() {
        const std::uint8_t length = input_.Byte();
        if (length >= 0xF0) {
            const std::uint16_t count = input_.U16();
            return std::wstring(count, static_cast<wchar_t>(input_.Byte()));
        }
        std::wstring text;
        for (const char c : input_.Bytes(length)) {
            text += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
        return text;
    }

    // A string argument; in a file list a point file name instead.
    void String(const std::wstring& text) {
        if (fileListPosition_) {
            FileName(static_cast<std::uint8_t>(text.size()));
        } else {
            Count().str(text);
        }
    }

    void FileName(std::uint8_t choice) {
        const std::wstring* names[4] = {&files_.first, &files_.second, &files_.missing,
                                        &files_.folder};
        Count().str(*names[choice % 4]);
    }

    void PointRun() {
        const std::size_t count = input_.Byte() + 1u;
        const std::uint8_t pattern = input_.Byte();
        std::uint32_t state = input_.Byte() * 2654435761u + 1u;
        auto next = [&state]() {
            state = state * 1664525u + 1013904223u;
            return static_cast<double>(state >> 8) / static_cast<double>(1u << 24);
        };
        for (std::size_t i = 0; i < count && nodes_ < kMaxChainNodes; ++i) {
            const double k = static_cast<double>(i);
            double x;
            double y;
            switch (pattern & 7) {
                case 0:  // scattered
                    x = 100.0 * next();
                    y = 100.0 * next();
                    break;
                case 1:  // lattice: many cocircular quadruples
                    x = 5.0 * static_cast<double>(i % 16);
                    y = 5.0 * static_cast<double>(i / 16);
                    break;
                case 2:  // one line
                    x = k;
                    y = 2.0 * k;
                    break;
                case 3:  // few positions, many duplicates
                    x = 10.0 * static_cast<double>(i % 5);
                    y = 10.0 * static_cast<double>(i % 3);
                    break;
                case 4:  // one circle, up to rounding
                    x = 50.0 * std::cos(6.283185307179586 * k / static_cast<double>(count));
                    y = 50.0 * std::sin(6.283185307179586 * k / static_cast<double>(count));
                    break;
                case 5:  // a fine lattice far from the origin, nearly degenerate in doubles
                    x = 1e7 + 1e-3 * static_cast<double>(i % 16) + 1e-9 * next();
                    y = 1e7 + 1e-3 * static_cast<double>(i / 16);
                    break;
                case 6:  // scattered, tiny
                    x = 1e-300 * next();
                    y = 1e-300 * next();
                    break;
                default:  // scattered, so large that squared distances overflow
                    x = 1e80 * next();
                    y = 1e80 * next();
                    break;
            }
            const double z = 10.0 * next();
            if (pattern & 8) {
                Count().point(x, y);
            } else {
                Count().point3(x, y, z);
            }
        }
    }

    ByteReader& input_;
    const std::vector<std::wstring> named_;
    const PointFileNames& files_;
    bool fileListPosition_;
    kafhost::ChainBuilder builder_;
    std::size_t nodes_ = 0;
};

std::string PointFile(ByteReader& input) {
    const std::size_t length = input.U16();
    std::string contents = input.Bytes(length);
    if (contents.size() > kMaxPointFileBytes) {
        contents.resize(kMaxPointFileBytes);
    }
    return contents;
}

}  // namespace

LispCall DecodeLispCall(const std::uint8_t* data, std::size_t size, const FixtureDrawing& fixture,
                        const PointFileNames& files) {
    ByteReader input(data, size);
    LispCall call;
    const std::uint8_t first = input.Byte();
    int function = first % 10;
    int fault = first / 10 - 1;
    if (first >= kLaterFunctions) {
        function = (10 + (first - kLaterFunctions) % 8) % kFunctionCount;
        fault = first >= kLaterFunctionsWithFault
                    ? input.Byte() % static_cast<int>(kafhost::HostCall::kCount)
                    : -1;
    }
    call.function = kFunctionNames[function];
    if (fault >= 0 && fault < static_cast<int>(kafhost::HostCall::kCount)) {
        call.injectFault = true;
        call.fault = static_cast<kafhost::HostCall>(fault);
        call.faultOccurrence = input.Byte() % 8 + 1;
    }
    call.firstFile = PointFile(input);
    call.secondFile = PointFile(input);
    call.chain = ChainDecoder(input, function, fixture, files).Decode(call.nodeCount);
    return call;
}
