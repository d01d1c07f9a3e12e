// ShowMessageBox(text, caption, style): shows a modal message box owned by the host's main window
// (no owner when the host has none) and gives the button the user pressed.
#pragma once

#include "arxapi.h"

int ShowMessageBox(const wchar_t* text, const wchar_t* caption, UINT style);
