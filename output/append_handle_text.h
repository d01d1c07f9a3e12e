// AppendHandleText(object, handles): appends the object's handle, as the host writes it in
// hexadecimal text, to the end of handles.
#pragma once

#include <string>
#include <vector>

#include "arxapi.h"

void AppendHandleText(const AcDbObject& object, std::vector<std::wstring>& handles);
