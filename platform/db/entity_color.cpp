// AcCmEntityColor: the colour method in the high byte, then red, green and blue, as the host
// keeps it.
#include "arxapi.h"

namespace {

Adesk::UInt32 packColour(AcCmEntityColor::ColorMethod method, Adesk::UInt8 red, Adesk::UInt8 green,
                         Adesk::UInt8 blue) {
    return static_cast<Adesk::UInt32>(method) << 24 | static_cast<Adesk::UInt32>(red) << 16 |
           static_cast<Adesk::UInt32>(green) << 8 | blue;
}

}  // namespace

AcCmEntityColor::AcCmEntityColor(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue)
    : value_(packColour(kByColor, red, green, blue)) {}

Acad::ErrorStatus AcCmEntityColor::setColorMethod(ColorMethod method) {
    if (method < kByLayer || method > kNone) {
        return Acad::eInvalidInput;
    }
    value_ = (value_ & 0x00FFFFFFu) | static_cast<Adesk::UInt32>(method) << 24;
    return Acad::eOk;
}

AcCmEntityColor::ColorMethod AcCmEntityColor::colorMethod() const {
    return static_cast<ColorMethod>(value_ >> 24);
}

// Setting the channels makes the colour a true colour.
Acad::ErrorStatus AcCmEntityColor::setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue) {
    value_ = packColour(kByColor, red, green, blue);
    return Acad::eOk;
}

Adesk::UInt8 AcCmEntityColor::red() const {
    return static_cast<Adesk::UInt8>(value_ >> 16);
}
Adesk::UInt8 AcCmEntityColor::green() const {
    return static_cast<Adesk::UInt8>(value_ >> 8);
}
Adesk::UInt8 AcCmEntityColor::blue() const {
    return static_cast<Adesk::UInt8>(value_);
}
