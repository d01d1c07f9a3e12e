#include "input/short_decimal.h"

bool ConvertShortDecimal(const char* first, const char* last, double& value) {
    double scanned = 0.0;
    bool exact = false;
    if (ScanDecimal<false>(first, last, scanned, exact) != last || !exact) {
        return false;
    }
    value = scanned;
    return true;
}
