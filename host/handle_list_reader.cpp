#include "host/handle_list_reader.h"

std::vector<std::wstring> ReadHandleList(const resbuf*& cursor) {
    std::vector<std::wstring> handles;
    while (cursor != nullptr) {
        if (cursor->restype == RTSTR) {
            handles.emplace_back(cursor->resval.rstring != nullptr ? cursor->resval.rstring : L"");
        } else if (cursor->restype == RTLE) {
            return handles;
        }
        cursor = cursor->rbnext;
        // The chain's last node is never examined.
        if (cursor != nullptr && cursor->rbnext == nullptr) {
            cursor = nullptr;
            break;
        }
    }
    for (const std::wstring& handle : handles) {
        acutPrintf(L"End Handle: %s\n", handle.c_str());
    }
    return handles;
}
