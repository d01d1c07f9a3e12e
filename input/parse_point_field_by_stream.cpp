#include "input/parse_point_field_by_stream.h"

#include <istream>
#include <locale>
#include <sstream>

bool ParsePointFieldByStream(const std::wstring& field, double& value) {
    std::wistringstream stream(field);
    stream.imbue(std::locale::classic());
    double extracted = 0.0;
    stream >> extracted;
    if (stream.fail()) {
        return false;
    }
    // After a number that ends the field, eofbit is already set and ws only adds failbit; what
    // counts is that the whole field was used.
    stream >> std::ws;
    if (!stream.eof()) {
        return false;
    }
    value = extracted;
    return true;
}
