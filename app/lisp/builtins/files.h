// OpenFiles: the files a script has opened, by the number their file value carries.
// DefineFileFunctions(library, files): the file functions. Texts are read and written as UTF-8
// bytes (names and lines that are not UTF-8 are kept byte for byte).
//   (open name mode)        opens name for reading "r", writing "w" (emptied first) or
//                           appending "a"; gives the file value, nil when it cannot be opened;
//                           another mode fails with "bad argument value: mode X"
//   (close file)            closes it; gives nil
//   (read-line [file])      the next line without its line end ("\n" or "\r\n"), nil at the end
//                           (without a file: nil, kafcad reads no keyboard input)
//   (write-line s [file])   writes s and a line end to the file (without one: to the command
//                           line); gives s
//   (findfile name)         the name when such a file exists (as given, else in the current
//                           folder), nil otherwise
// A file argument that is not an open file fails with "bad argument type: streamp X"; one open
// for reading given to write-line (or the reverse) with "bad argument value: file open for
// reading X" (writing).
// OpenFiles::Output(value) is the output stream of a file argument, for princ, prin1 and print.
#pragma once

#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "app/lisp/builtins/library.h"

namespace kafcad {

class OpenFiles {
public:
    Value Open(const std::string& name, const std::wstring& shownName, char mode);
    void Close(const Value& file);
    std::ostream& Output(const Value& file);
    std::istream& Input(const Value& file);

private:
    struct OpenFile {
        std::unique_ptr<std::fstream> stream;
        bool writing = false;
    };
    OpenFile& Find(const Value& file);
    std::map<int, OpenFile> files_;
    int nextId_ = 1;
};

void DefineFileFunctions(BuiltinLibrary& library, const std::shared_ptr<OpenFiles>& files);

}  // namespace kafcad
