#include "input/load_files.h"

#include "host/error_lines.h"

std::int32_t loadFiles(const resbuf*& cursor, std::vector<std::wstring>& files) {
    std::int32_t result = -1;
    const resbuf* node = cursor;
    while (node != nullptr) {
        switch (node->restype) {
            case RTSTR:
                files.emplace_back(node->resval.rstring != nullptr ? node->resval.rstring : L"");
                result = 1;
                break;
            case RTLB:
                break;
            case RTLE:
                cursor = node->rbnext;
                return result;
            default:
                ReportFunctionError(L"loadFiles", L"Error in file list!");
                return 3;
        }
        node = node->rbnext;
        if (node != nullptr && node->rbnext == nullptr) {
            break;  // the chain's last node is left unexamined
        }
    }
    cursor = node;
    return result;
}
