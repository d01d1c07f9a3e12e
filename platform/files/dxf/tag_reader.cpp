#include "platform/files/dxf/tag_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "kafhost/drawing_json.h"
#include "kafhost/drawing_snapshot.h"
#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"

namespace kafhost {
namespace {

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string shown(text.substr(0, kShown));
    if (text.size() > kShown) {
        shown += "...";
    }
    return "\"" + shown + "\"";
}

}  // namespace

DxfTagReader::DxfTagReader(std::string_view text) : text_(text) {
    if (text_.substr(0, kBinarySentinel.size()) == kBinarySentinel) {
        throw DrawingFileError("line 1: binary DXF is not supported, only text DXF");
    }
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
        pos_ = 3;
    }
    readTag();
}

const DxfTag& DxfTagReader::tag() const {
    if (!hasTag_) {
        throw DrawingFileError("line " + std::to_string(line_) + ": the file ends early");
    }
    return tag_;
}

bool DxfTagReader::is(int code, std::string_view value) const {
    const DxfTag& current = tag();
    return current.code == code && trim(current.value) == value;
}

void DxfTagReader::next() {
    readTag();
}

void DxfTagReader::skipToNextObject() {
    do {
        readTag();
    } while (hasTag_ && tag_.code != 0);
}

void DxfTagReader::readTag() {
    if (pos_ >= text_.size()) {
        hasTag_ = false;
        return;
    }
    const std::size_t codeEnd = text_.find('\n', pos_);
    const std::string_view codeLine = text_.substr(
        pos_, codeEnd == std::string_view::npos ? std::string_view::npos : codeEnd - pos_);
    const std::string_view codeText = trim(codeLine);
    if (codeEnd == std::string_view::npos && codeText.empty()) {
        pos_ = text_.size();
        hasTag_ = false;
        return;
    }
    tag_.line = line_;
    tag_.offset = pos_;
    int code = 0;
    const auto parsed = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
    if (codeText.empty() || parsed.ec != std::errc() ||
        parsed.ptr != codeText.data() + codeText.size()) {
        throw DrawingFileError("line " + std::to_string(line_) + ": expected a group code, found " +
                               quoted(codeText));
    }
    if (codeEnd == std::string_view::npos || codeEnd + 1 == text_.size()) {
        throw DrawingFileError("line " + std::to_string(line_) + ": group code " +
                               std::to_string(code) + " has no value (the file ends early)");
    }
    const std::size_t valueStart = codeEnd + 1;
    const std::size_t valueEnd = text_.find('\n', valueStart);
    std::string_view value =
        text_.substr(valueStart, valueEnd == std::string_view::npos ? std::string_view::npos
                                                                    : valueEnd - valueStart);
    if (!value.empty() && value.back() == '\r') {
        value.remove_suffix(1);
    }
    tag_.code = code;
    tag_.value = value;
    hasTag_ = true;
    pos_ = valueEnd == std::string_view::npos ? text_.size() : valueEnd + 1;
    line_ += 2;
    if (code == 0) {
        objectLine_ = tag_.line;
        objectHandleRead_ = false;
    } else if (code == 5 || code == 105) {
        noteHandle();
    }
}

void DxfTagReader::noteHandle() {
    const std::string_view number = trim(tag_.value);
    std::uint64_t value = 0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value, 16);
    const bool isHandle = parsed.ec == std::errc() && parsed.ptr == number.data() + number.size();
    if (isHandle && !objectHandleRead_ && value != 0) {
        objectHandles_.emplace_back(value, objectLine_);
    }
    objectHandleRead_ = true;
    if (isHandle && value > highestHandle_) {
        // The seed may lie one above the largest handle.
        if (value > kLargestHandle + 1) {
            fail("handle " + std::string(number) +
                 " is too large: kafcad takes handles up to FFFFFFFF00000000");
        }
        highestHandle_ = value;
    }
}

void DxfTagReader::forgetHandles() {
    highestHandle_ = 0;
    objectHandles_.clear();
}

void DxfTagReader::checkHandlesUnique() {
    std::sort(objectHandles_.begin(), objectHandles_.end());
    // Of several handles used twice, the one whose second use comes first in the file.
    const std::pair<std::uint64_t, std::size_t>* first = nullptr;
    const std::pair<std::uint64_t, std::size_t>* second = nullptr;
    for (std::size_t i = 1; i < objectHandles_.size(); ++i) {
        if (objectHandles_[i].first == objectHandles_[i - 1].first &&
            (second == nullptr || objectHandles_[i].second < second->second)) {
            first = &objectHandles_[i - 1];
            second = &objectHandles_[i];
        }
    }
    if (second != nullptr) {
        throw DrawingFileError("line " + std::to_string(second->second) + ": handle " +
                               wideToUtf8(handleText(second->first)) +
                               " is used twice (first on line " + std::to_string(first->second) +
                               ")");
    }
}

std::string_view DxfTagReader::numberText() const {
    return trim(tag().value);
}

double DxfTagReader::real() const {
    const std::string_view number = numberText();
    double value = 0.0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || parsed.ec != std::errc() || parsed.ptr != number.data() + number.size() ||
        !std::isfinite(value)) {
        failValue("expected a number for group code " + std::to_string(tag_.code) + ", found " +
                  quoted(tag_.value));
    }
    return value;
}

long long DxfTagReader::integer() const {
    const std::string_view number = numberText();
    long long value = 0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || parsed.ec != std::errc() || parsed.ptr != number.data() + number.size()) {
        failValue("expected an integer for group code " + std::to_string(tag_.code) + ", found " +
                  quoted(tag_.value));
    }
    return value;
}

std::uint64_t DxfTagReader::handle() const {
    const std::string_view number = numberText();
    std::uint64_t value = 0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value, 16);
    if (number.empty() || number.size() > 16 || parsed.ec != std::errc() ||
        parsed.ptr != number.data() + number.size()) {
        failValue("expected a hexadecimal handle for group code " + std::to_string(tag_.code) +
                  ", found " + quoted(tag_.value));
    }
    return value;
}

void DxfTagReader::fail(const std::string& what) const {
    throw DrawingFileError("line " + std::to_string(hasTag_ ? tag_.line : line_) + ": " + what);
}

void DxfTagReader::failValue(const std::string& what) const {
    throw DrawingFileError("line " + std::to_string(hasTag_ ? tag_.line + 1 : line_) + ": " + what);
}

}  // namespace kafhost
