// The module's name, first in every error line it prints.
#pragma once

constexpr const wchar_t* kModuleName = L"kaf";
