#include "app/lisp/evaluate.h"

#include <filesystem>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/error.h"
#include "app/lisp/print_value.h"
#include "app/lisp/read_source.h"
#include "app/lisp/script_file.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

namespace fs = std::filesystem;

// Loads nested deeper than this are taken for a script that loads itself.
constexpr std::size_t kMaxLoadDepth = 64;

// Evaluations nested deeper than this (forms within forms, across loads) are refused before the
// stack runs out; a form read from a text is at most 1000 levels deep.
constexpr int kMaxEvaluationDepth = 2000;

// Counts one level of evaluation for as long as it lasts.
class DepthCount {
public:
    explicit DepthCount(int& depth) : depth_(depth) {
        if (++depth_ > kMaxEvaluationDepth) {
            --depth_;
            throw LispError("too deeply nested (more than " + std::to_string(kMaxEvaluationDepth) +
                            " levels of evaluation)");
        }
    }
    ~DepthCount() { --depth_; }
    DepthCount(const DepthCount&) = delete;
    DepthCount& operator=(const DepthCount&) = delete;

private:
    int& depth_;
};

// Restores a variable's value when a foreach ends, also by an error.
class VariableRestorer {
public:
    VariableRestorer(Evaluator& evaluator, std::wstring name)
        : evaluator_(evaluator), name_(std::move(name)), saved_(evaluator.Variable(name_)) {}
    ~VariableRestorer() { evaluator_.SetVariable(name_, saved_); }

private:
    Evaluator& evaluator_;
    std::wstring name_;
    Value saved_;
};

class FolderPush {
public:
    FolderPush(std::vector<std::string>& folders, std::string folder) : folders_(folders) {
        folders_.push_back(std::move(folder));
    }
    ~FolderPush() { folders_.pop_back(); }

private:
    std::vector<std::string>& folders_;
};

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The file a load of name means, or an empty path when there is none.
fs::path FindScript(const std::string& name, const std::string& scriptFolder) {
    std::vector<fs::path> spellings{fs::path(name)};
    if (!fs::path(name).has_extension()) {
        spellings.push_back(fs::path(name + ".lsp"));
    }
    for (const fs::path& spelling : spellings) {
        if (IsFile(spelling)) {
            return spelling;
        }
    }
    if (scriptFolder.empty()) {
        return fs::path();
    }
    for (const fs::path& spelling : spellings) {
        if (spelling.is_relative() && IsFile(fs::path(scriptFolder) / spelling)) {
            return fs::path(scriptFolder) / spelling;
        }
    }
    return fs::path();
}

}  // namespace

Evaluator::Evaluator(std::vector<FunctionLibrary*> libraries) : libraries_(std::move(libraries)) {}

Value Evaluator::Variable(const std::wstring& name) const {
    const auto found = variables_.find(name);
    return found == variables_.end() ? Value::nil() : found->second;
}

void Evaluator::SetVariable(const std::wstring& name, Value value) {
    if (value.isNil()) {
        variables_.erase(name);
    } else {
        variables_[name] = std::move(value);
    }
}

Value Evaluator::Evaluate(const Value& form) {
    if (form.isSymbol()) {
        return Variable(form.symbolName());
    }
    if (!form.isList()) {
        return form;
    }
    const DepthCount count(depth_);
    return EvaluateList(form);
}

Value Evaluator::EvaluateScript(const std::vector<Value>& forms, const std::string& folder) {
    FolderPush push(scriptFolders_, folder);
    return EvaluateBody(forms, 0);
}

Value Evaluator::EvaluateInFolder(const Value& form, const std::string& folder) {
    FolderPush push(scriptFolders_, folder);
    return Evaluate(form);
}

Value Evaluator::EvaluateBody(const std::vector<Value>& forms, std::size_t first) {
    Value last;
    for (std::size_t i = first; i < forms.size(); ++i) {
        last = Evaluate(forms[i]);
    }
    return last;
}

FunctionLibrary* Evaluator::FindFunction(const std::string& name) const {
    for (FunctionLibrary* library : libraries_) {
        if (library->Has(name)) {
            return library;
        }
    }
    return nullptr;
}

Value Evaluator::EvaluateList(const Value& form) {
    const std::vector<Value>& items = form.items();
    const Value& head = items.front();
    if (!head.isSymbol()) {
        throw LispError("bad function: " + PrintValue(head));
    }
    const std::string name = kafhost::wideToUtf8(head.symbolName());
    if (name == "QUOTE") {
        CheckArgumentCount(items, 2, 2);
        return items[1];
    }
    if (name == "SETQ") {
        return Setq(items);
    }
    if (name == "PROGN") {
        return EvaluateBody(items, 1);
    }
    if (name == "IF") {
        return If(items);
    }
    if (name == "FOREACH") {
        return Foreach(items);
    }

    if (name == "LOAD") {
        return Load(EvaluateArguments(items));
    }
    FunctionLibrary* library = FindFunction(name);
    if (library == nullptr) {
        throw LispError("no function definition: " + name);
    }
    return library->Call(name, EvaluateArguments(items));
}

std::vector<Value> Evaluator::EvaluateArguments(const std::vector<Value>& items) {
    std::vector<Value> arguments;
    arguments.reserve(items.size() - 1);
    for (std::size_t i = 1; i < items.size(); ++i) {
        arguments.push_back(Evaluate(items[i]));
    }
    return arguments;
}

Value Evaluator::Setq(const std::vector<Value>& items) {
    // (setq) alone is allowed and gives nil; names and values come in pairs.
    if (items.size() % 2 == 0) {
        throw LispError("too few arguments");
    }
    Value last;
    for (std::size_t i = 1; i + 1 < items.size(); i += 2) {
        const std::wstring& name = SymbolArgument(items[i]);
        last = Evaluate(items[i + 1]);
        SetVariable(name, last);
    }
    return last;
}

Value Evaluator::If(const std::vector<Value>& items) {
    CheckArgumentCount(items, 3, 4);
    if (!Evaluate(items[1]).isNil()) {
        return Evaluate(items[2]);
    }
    return items.size() == 4 ? Evaluate(items[3]) : Value::nil();
}

Value Evaluator::Foreach(const std::vector<Value>& items) {
    CheckArgumentCount(items, 3, kUnlimited);
    const std::wstring& name = SymbolArgument(items[1]);
    const Value list = Evaluate(items[2]);
    const std::vector<Value>& elements = ListArgument(list);
    VariableRestorer restorer(*this, name);
    Value last;
    for (const Value& element : elements) {
        SetVariable(name, element);
        last = EvaluateBody(items, 3);
    }
    return last;
}

Value Evaluator::Load(const std::vector<Value>& arguments) {
    CheckArgumentCount(arguments, 1, 2);
    const std::string name = FileNameArgument(arguments[0]);
    const fs::path path =
        FindScript(name, scriptFolders_.empty() ? std::string() : scriptFolders_.back());
    if (path.empty()) {
        if (arguments.size() == 2) {
            return arguments[1];
        }
        throw LispError("LOAD failed: " + PrintValue(arguments[0]));
    }
    if (scriptFolders_.size() >= kMaxLoadDepth) {
        throw LispError("LOAD failed: " + PrintValue(arguments[0]) + " is loaded " +
                        std::to_string(kMaxLoadDepth) + " levels deep");
    }
    std::vector<Value> forms;
    try {
        forms = ReadSource(ReadScriptFile(path.string()), path.string());
    } catch (const std::runtime_error& error) {
        throw LispError(error.what());
    }
    return EvaluateScript(forms, path.parent_path().string());
}

}  // namespace kafcad
