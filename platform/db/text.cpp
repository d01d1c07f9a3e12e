// AcDbText: one line of text with its position, height, rotation and alignment.
#include <cmath>

#include "platform/db/object_state.h"

using namespace kafhost;

namespace {

constexpr double kDefaultTextHeight = 2.5;

bool isValidHeight(double height) {
    return std::isfinite(height) && height > 0.0;
}

bool isOneLine(const ACHAR* text) {
    for (const ACHAR* c = text; *c != 0; ++c) {
        if (*c == L'\n' || *c == L'\r') {
            return false;
        }
    }
    return true;
}

}  // namespace

AcDbText::AcDbText() = default;

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId /*style*/,
                   double height, double rotation)
    : text_(text != nullptr && isOneLine(text) ? text : L""),
      position_(position),
      alignment_(position),
      height_(isValidHeight(height) ? height : kDefaultTextHeight),
      rotation_(std::isfinite(rotation) ? rotation : 0.0) {}

AcGePoint3d AcDbText::position() const {
    return position_;
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    position_ = position;
    return Acad::eOk;
}

AcGePoint3d AcDbText::alignmentPoint() const {
    return alignment_;
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& point) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    alignment_ = point;
    return Acad::eOk;
}

bool AcDbText::isDefaultAlignment() const {
    return horizontal_ == AcDb::kTextLeft && vertical_ == AcDb::kTextBase;
}

double AcDbText::height() const {
    return height_;
}

Acad::ErrorStatus AcDbText::setHeight(double height) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (!isValidHeight(height)) {
        return Acad::eInvalidInput;
    }
    height_ = height;
    return Acad::eOk;
}

double AcDbText::rotation() const {
    return rotation_;
}

Acad::ErrorStatus AcDbText::setRotation(double rotation) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (!std::isfinite(rotation)) {
        return Acad::eInvalidInput;
    }
    rotation_ = rotation;
    return Acad::eOk;
}

const ACHAR* AcDbText::textStringConst() const {
    return text_.c_str();
}

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (text == nullptr || !isOneLine(text)) {
        return Acad::eInvalidInput;
    }
    text_ = text;
    return Acad::eOk;
}

AcDb::TextHorzMode AcDbText::horizontalMode() const {
    return horizontal_;
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (mode < AcDb::kTextLeft || mode > AcDb::kTextFit) {
        return Acad::eInvalidInput;
    }
    horizontal_ = mode;
    return Acad::eOk;
}

AcDb::TextVertMode AcDbText::verticalMode() const {
    return vertical_;
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
    if (!isWritable(*this)) {
        return Acad::eNotOpenForWrite;
    }
    if (mode < AcDb::kTextBase || mode > AcDb::kTextTop) {
        return Acad::eInvalidInput;
    }
    vertical_ = mode;
    return Acad::eOk;
}
