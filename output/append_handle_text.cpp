#include "output/append_handle_text.h"

void AppendHandleText(const AcDbObject& object, std::vector<std::wstring>& handles) {
    AcDbHandle handle;
    object.getAcDbHandle(handle);
    ACHAR text[17] = {};
    handle.getIntoAsciiBuffer(text, sizeof text / sizeof text[0]);
    handles.emplace_back(text);
}
