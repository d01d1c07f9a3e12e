// What kafcad asks of the operating system, one implementation per system (system_posix.cpp,
// system_windows.cpp):
//  CommandLineArguments(argc, argv): the arguments after the program's name, as UTF-8.
//  PrepareConsole(): readies the standard streams for UTF-8 text (a Windows console is switched to
//      the UTF-8 code page) and, on POSIX systems, ignores SIGXFSZ, so that a file that outgrows
//      the size limit is a failed write, reported, not the end of kafcad.
//  IsTerminal(stream): whether standard input (0), output (1) or error (2) is a terminal.
//  TerminalColumns(stream): the width of that terminal in characters, 80 when unknown.
//  ExecutableDirectory(): the folder of the running program, as UTF-8; empty when unknown.
//  ReadPromptLine(prompt, line, cancelled): shows prompt and reads one line of input into line
//      (without its line end); false at end of input, and false as soon as cancelled() is true,
//      even when it became true while the prompt was being shown (a Ctrl-C pressed just then).
//  StartLineHistory(), AddLineHistory(entry), EndLineHistory(): the prompt's history, kept in
//      ~/.kafcad_history where the line editor keeps one, written after each entry.
#pragma once

#include <string>
#include <vector>

namespace kafcad {

std::vector<std::string> CommandLineArguments(int argc, char** argv);
void PrepareConsole();
bool IsTerminal(int stream);
int TerminalColumns(int stream);
std::string ExecutableDirectory();

bool ReadPromptLine(const char* prompt, std::string& line, bool (*cancelled)());
void StartLineHistory();
void AddLineHistory(const std::string& entry);
void EndLineHistory();

}  // namespace kafcad
