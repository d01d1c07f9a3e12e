#include "input/short_decimal.h"

bool ConvertShortDecimal(const char* first, const char* last, double& value) {
    ScannedDecimal scanned;
    if (ScanDecimal<false>(first, last, scanned) != last || !scanned.exact) {
        return false;
    }
    value = scanned.Value();
    return true;
}
