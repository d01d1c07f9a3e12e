// kafcad's system calls on Windows. The prompt is a plain line prompt: there is no line editor
// (libedit has no Windows build), so no history either; the console's own line editing applies.
#include <windows.h>

#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "app/system/system.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

HANDLE StreamHandle(int stream) {
    switch (stream) {
        case 0:
            return GetStdHandle(STD_INPUT_HANDLE);
        case 1:
            return GetStdHandle(STD_OUTPUT_HANDLE);
        default:
            return GetStdHandle(STD_ERROR_HANDLE);
    }
}

}  // namespace

// The arguments as the system keeps them, in UTF-16: argv holds them in the ANSI code page,
// which cannot spell every file name.
std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(kafhost::wideToUtf8(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

void PrepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
    // Text goes out as it is: no CR added before LF, so output is the same as on other systems.
    _setmode(_fileno(stdout), 0x8000 /* _O_BINARY */);
    _setmode(_fileno(stderr), 0x8000 /* _O_BINARY */);
}

bool IsTerminal(int stream) {
    DWORD mode = 0;
    return GetConsoleMode(StreamHandle(stream), &mode) != 0;
}

int TerminalColumns(int stream) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(StreamHandle(stream), &info) != 0) {
        const int columns = info.srWindow.Right - info.srWindow.Left + 1;
        if (columns > 0) {
            return columns;
        }
    }
    return 80;
}

std::string ExecutableDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::string();
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return kafhost::wideToUtf8(std::filesystem::path(path).parent_path().wstring());
}

bool ReadPromptLine(const char* prompt, std::string& line, bool (*)()) {
    std::cout << prompt << std::flush;
    if (!std::getline(std::cin, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

void StartLineHistory() {}

void AddLineHistory(const std::string&) {}

void EndLineHistory() {}

}  // namespace kafcad
