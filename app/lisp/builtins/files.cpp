#include "app/lisp/builtins/files.h"

#include <filesystem>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/byte_text.h"
#include "app/lisp/error.h"
#include "app/lisp/opaque_values.h"

namespace kafcad {

Value OpenFiles::Open(const std::string& name, const std::wstring& shownName, char mode) {
    std::ios::openmode openMode = std::ios::binary;
    if (mode == 'r') {
        openMode |= std::ios::in;
    } else {
        openMode |= std::ios::out | (mode == 'a' ? std::ios::app : std::ios::trunc);
    }
    std::error_code error;
    if (std::filesystem::is_directory(name, error)) {
        return Value::nil();
    }
    auto stream = std::make_unique<std::fstream>(name, openMode);
    if (!*stream) {
        return Value::nil();
    }
    const int id = nextId_++;
    files_[id] = OpenFile{std::move(stream), mode != 'r'};
    return FileValue(id, shownName);
}

OpenFiles::OpenFile& OpenFiles::Find(const Value& file) {
    const std::optional<int> id = FileId(file);
    const auto found = id ? files_.find(*id) : files_.end();
    if (found == files_.end()) {
        BadArgumentType("streamp", file);
    }
    return found->second;
}

void OpenFiles::Close(const Value& file) {
    OpenFile& open = Find(file);
    open.stream->close();
    files_.erase(*FileId(file));
}

std::ostream& OpenFiles::Output(const Value& file) {
    OpenFile& open = Find(file);
    if (!open.writing) {
        BadArgumentValue("file open for reading", file);
    }
    return *open.stream;
}

std::istream& OpenFiles::Input(const Value& file) {
    OpenFile& open = Find(file);
    if (open.writing) {
        BadArgumentValue("file open for writing", file);
    }
    return *open.stream;
}

void DefineFileFunctions(BuiltinLibrary& library, const std::shared_ptr<OpenFiles>& files) {
    library.Define("open", [files](const std::vector<Value>& a) {
        CheckArgumentCount(a, 2, 2);
        const std::string name = FileNameArgument(a[0]);
        const std::wstring& mode = StringArgument(a[1]);
        if (mode != L"r" && mode != L"w" && mode != L"a") {
            BadArgumentValue("mode", a[1]);
        }
        return files->Open(name, a[0].asString(), static_cast<char>(mode[0]));
    });
    library.Define("close", [files](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        files->Close(a[0]);
        return Value::nil();
    });
    library.Define("read-line", [files](const std::vector<Value>& a) {
        CheckArgumentCount(a, 0, 1);
        if (a.empty()) {
            return Value::nil();
        }
        std::istream& in = files->Input(a[0]);
        std::string line;
        if (!std::getline(in, line)) {
            return Value::nil();
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return Value::string(BytesToWide(line));
    });
    library.Define("findfile", [](const std::vector<Value>& a) {
        CheckArgumentCount(a, 1, 1);
        const std::string name = FileNameArgument(a[0]);
        std::error_code error;
        return std::filesystem::is_regular_file(name, error) ? a[0] : Value::nil();
    });
}

}  // namespace kafcad
