// FindStatusBarProgressControl(): the progress control inside the host's status bar, or null.
// The status bar is the first child of the main window, from its second child on, whose class is
// "msctls_statusbar32" (any case); the control is the status bar's second child.
#pragma once

#include "arxapi.h"

HWND FindStatusBarProgressControl();
