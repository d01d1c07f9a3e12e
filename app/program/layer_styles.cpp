#include "app/program/layer_styles.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/byte_text.h"
#include "app/lisp/error.h"
#include "app/program/usage_error.h"
#include "kafhost/drawing_dxf.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

// AutoCAD's lineweights, in hundredths of a millimetre.
constexpr int kLineweights[] = {0,  5,  9,  13, 15, 18,  20,  25,  30,  35,  40,  50,
                                53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};

// The lineweight of a width in millimetres; -1 when it is none of AutoCAD's.
int LineweightOf(double millimetres) {
    for (const int weight : kLineweights) {
        if (std::fabs(millimetres * 100.0 - weight) < 1e-6) {
            return weight;
        }
    }
    return -1;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// "#RRGGBB" as 0xRRGGBB; -1 for other text.
std::int32_t TrueColourOf(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') {
        return -1;
    }
    std::int32_t rgb = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) {
            return -1;
        }
        rgb = rgb * 16 + digit;
    }
    return rgb;
}

// A whole number 1 ... 255 written in decimal digits; -1 for other text.
int ColourIndexOf(const std::string& text) {
    if (text.empty() || text.size() > 3) {
        return -1;
    }
    int index = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        index = index * 10 + (c - '0');
    }
    return index >= 1 && index <= 255 ? index : -1;
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string::npos;
         comma = text.find(',', start)) {
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

LayerStyle ParseStyle(const std::string& name, const std::string& text) {
    const std::string where = "option --layer " + name + ": ";
    const std::vector<std::string> parts = SplitAtCommas(text);
    if (parts.size() > 3) {
        throw UsageError(where + "expected COLOUR[,LINETYPE[,LINEWEIGHT]], found \"" + text + "\"");
    }
    LayerStyle style;
    style.trueColor = TrueColourOf(parts[0]);
    if (style.trueColor < 0) {
        style.colorIndex = ColourIndexOf(parts[0]);
        if (style.colorIndex < 0) {
            throw UsageError(where + "colour \"" + parts[0] +
                             "\" is neither a colour index 1 to 255 nor a true colour #RRGGBB");
        }
    }
    if (parts.size() > 1) {
        style.linetype = kafhost::dxfLinetypeName(kafhost::utf8ToWide(parts[1]));
        if (style.linetype.empty()) {
            throw UsageError(where + "linetype \"" + parts[1] +
                             "\" is not one of Continuous, DASHED, HIDDEN, CENTER, DOT, "
                             "DASHDOT, PHANTOM");
        }
    }
    if (parts.size() > 2) {
        char* end = nullptr;
        const double millimetres = std::strtod(parts[2].c_str(), &end);
        style.lineweight = end != parts[2].c_str() && *end == '\0' ? LineweightOf(millimetres) : -1;
        if (style.lineweight < 0) {
            throw UsageError(where + "lineweight \"" + parts[2] +
                             "\" is not one of AutoCAD's, in millimetres (0.25, 0.5, ...)");
        }
    }
    return style;
}

LayerStyle LispStyle(const std::vector<Value>& arguments) {
    LayerStyle style;
    const Value& colour = arguments[1];
    if (colour.isList()) {
        if (colour.items().size() != 3) {
            throw LispError("bad argument value: a true colour is a list of red, green and blue");
        }
        style.trueColor = 0;
        for (const Value& channel : colour.items()) {
            const std::int32_t value = IntegerArgument(channel);
            if (value < 0 || value > 255) {
                throw LispError("bad argument value: colour channel " + std::to_string(value) +
                                " (0 to 255)");
            }
            style.trueColor = style.trueColor * 256 + value;
        }
    } else {
        style.colorIndex = IntegerArgument(colour);
        if (style.colorIndex < 1 || style.colorIndex > 255) {
            throw LispError("bad argument value: colour index " + std::to_string(style.colorIndex) +
                            " (1 to 255)");
        }
    }
    if (arguments.size() > 2) {
        const std::wstring& linetype = StringArgument(arguments[2]);
        style.linetype = kafhost::dxfLinetypeName(linetype);
        if (style.linetype.empty()) {
            throw LispError("bad argument value: linetype \"" + kafhost::wideToUtf8(linetype) +
                            "\" (Continuous, DASHED, HIDDEN, CENTER, DOT, DASHDOT, PHANTOM)");
        }
    }
    if (arguments.size() > 3) {
        const double millimetres = NumberArgument(arguments[3]);
        style.lineweight = LineweightOf(millimetres);
        if (style.lineweight < 0) {
            throw LispError("bad argument value: lineweight " + std::to_string(millimetres) +
                            " mm is not one of AutoCAD's");
        }
    }
    return style;
}

}  // namespace

LayerOption ParseLayerOption(const std::string& text) {
    LayerOption option;
    const std::size_t equals = text.find('=');
    option.name = text.substr(0, equals);
    if (option.name.empty()) {
        throw UsageError("option --layer needs a non-empty layer name");
    }
    if (equals != std::string::npos) {
        option.style = ParseStyle(option.name, text.substr(equals + 1));
    }
    return option;
}

void ApplyLayerOption(kafhost::Host& host, const LayerOption& option) {
    // A name that is not UTF-8 keeps its bytes, as a script's strings do.
    const std::wstring name = BytesToWide(option.name);
    host.addLayer(name);
    if (option.style) {
        const LayerStyle& style = *option.style;
        host.styleLayer(name, style.colorIndex, style.trueColor, style.linetype, style.lineweight);
    }
}

void DefineLayerFunctions(BuiltinLibrary& library, kafhost::Host& host) {
    library.Define("kafcad-layer", [&host](const std::vector<Value>& arguments) {
        CheckArgumentCount(arguments, 2, 4);
        const std::wstring& name = StringArgument(arguments[0]);
        if (name.empty() || name.find(L'=') != std::wstring::npos) {
            throw LispError("bad argument value: layer name \"" + kafhost::wideToUtf8(name) +
                            "\" (not empty, without \"=\")");
        }
        const LayerStyle style = LispStyle(arguments);
        host.addLayer(name);
        if (!host.styleLayer(name, style.colorIndex, style.trueColor, style.linetype,
                             style.lineweight)) {
            throw LispError("kafcad-layer: there is no drawing to add layer \"" +
                            kafhost::wideToUtf8(name) + "\" to");
        }
        return arguments[0];
    });
}

}  // namespace kafcad
