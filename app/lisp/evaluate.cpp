#include "app/lisp/evaluate.h"

#include <cmath>
#include <cstdint>
#include <filesystem>

#include "app/lisp/builtins/argument_checks.h"
#include "app/lisp/builtins/higher_order.h"
#include "app/lisp/builtins/library.h"
#include "app/lisp/error.h"
#include "app/lisp/opaque_values.h"
#include "app/lisp/print_value.h"
#include "app/lisp/read_source.h"
#include "app/lisp/script_file.h"
#include "kafhost/utf8_to_wide.h"
#include "kafhost/wide_to_utf8.h"

namespace kafcad {
namespace {

namespace fs = std::filesystem;

// Loads nested deeper than this are taken for a script that loads itself.
constexpr std::size_t kMaxLoadDepth = 64;

// Evaluations nested deeper than this (forms within forms, calls within calls, across loads) are
// refused before the stack runs out; a form read from a text is at most 1000 levels deep.
constexpr int kMaxEvaluationDepth = 2000;

// The stack an evaluation may take, from the outermost level on: a guard beside the level count
// for builds whose frames are large (debugging, sanitizers). kafcad runs with a stack of 8 MB.
constexpr std::uintptr_t kMaxStackBytes = std::uintptr_t{4} << 20;

// Counts one level of evaluation for as long as it lasts; refuses a level past the limit, or
// one that would take the stack further than kMaxStackBytes from where the outermost level
// started.
class DepthCount {
public:
    DepthCount(int& depth, std::uintptr_t& stackBase) : depth_(depth) {
        // A local's address tells how far down the stack this level is.
        volatile char marker = 0;
        const auto here = reinterpret_cast<std::uintptr_t>(&marker);
        if (depth_ == 0) {
            stackBase = here;
        }
        const std::uintptr_t used = stackBase > here ? stackBase - here : here - stackBase;
        if (depth_ + 1 > kMaxEvaluationDepth) {
            throw LispError("too deeply nested (more than " + std::to_string(kMaxEvaluationDepth) +
                            " levels of evaluation)");
        }
        if (used > kMaxStackBytes) {
            throw LispError("too deeply nested (the evaluation has used up its stack)");
        }
        ++depth_;
    }
    ~DepthCount() { --depth_; }
    DepthCount(const DepthCount&) = delete;
    DepthCount& operator=(const DepthCount&) = delete;

private:
    int& depth_;
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

// Sets a flag for as long as it lasts.
class FlagSet {
public:
    explicit FlagSet(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagSet() { flag_ = false; }
    FlagSet(const FlagSet&) = delete;
    FlagSet& operator=(const FlagSet&) = delete;

private:
    bool& flag_;
};

// Gives variables their earlier values back when a call ends, also by an error.
class VariablesRestorer {
public:
    VariablesRestorer(Evaluator& evaluator, std::vector<std::wstring> names)
        : evaluator_(evaluator), names_(std::move(names)) {
        saved_.reserve(names_.size());
        for (const std::wstring& name : names_) {
            saved_.push_back(evaluator_.Variable(name));
        }
    }
    ~VariablesRestorer() {
        for (std::size_t i = names_.size(); i-- > 0;) {
            evaluator_.SetVariable(names_[i], saved_[i]);
        }
    }
    VariablesRestorer(const VariablesRestorer&) = delete;
    VariablesRestorer& operator=(const VariablesRestorer&) = delete;

private:
    Evaluator& evaluator_;
    std::vector<std::wstring> names_;
    std::vector<Value> saved_;
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

bool IsSlash(const Value& value) {
    return value.isSymbol() && value.symbolName() == L"/";
}

// The names of a lambda's arguments (before "/") and of its locals (after it).
void LambdaNames(const Value& parameters, std::vector<std::wstring>& arguments,
                 std::vector<std::wstring>& locals) {
    bool afterSlash = false;
    for (const Value& parameter : ListArgument(parameters)) {
        if (IsSlash(parameter) && !afterSlash) {
            afterSlash = true;
            continue;
        }
        (afterSlash ? locals : arguments).push_back(SymbolArgument(parameter));
    }
}

}  // namespace

bool IsLambda(const Value& value) {
    if (!value.isList() || value.items().size() < 2) {
        return false;
    }
    const Value& head = value.items().front();
    return head.isSymbol() && head.symbolName() == L"LAMBDA";
}

Evaluator::Evaluator(std::vector<FunctionLibrary*> libraries)
    : own_(std::make_unique<BuiltinLibrary>()), libraries_(std::move(libraries)) {
    DefineHigherOrderFunctions(*own_, *this);
    libraries_.insert(libraries_.begin(), own_.get());
    SetVariable(L"PI", Value::real(std::acos(-1.0)));
}

Evaluator::~Evaluator() = default;

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
        return IsOpaque(form) ? form : Variable(form.symbolName());
    }
    if (!form.isList()) {
        return form;
    }
    const DepthCount count(depth_, stackBase_);
    CountStep();
    return EvaluateList(form);
}

void Evaluator::CountStep() {
    if (stepLimit_ != 0 && ++steps_ > stepLimit_) {
        throw LispError("evaluation step limit reached");
    }
}

Value Evaluator::EvaluateScript(const std::vector<Value>& forms, const std::string& folder) {
    return AtTopLevel(forms, folder);
}

Value Evaluator::EvaluateInFolder(const Value& form, const std::string& folder) {
    return AtTopLevel({form}, folder);
}

Value Evaluator::AtTopLevel(const std::vector<Value>& forms, const std::string& folder) {
    FolderPush push(scriptFolders_, folder);
    if (depth_ != 0 || inErrorHandler_) {
        return EvaluateBody(forms, 0);
    }
    try {
        return EvaluateBody(forms, 0);
    } catch (const LispError& error) {
        const Value handler = Variable(L"*ERROR*");
        if (error.HandledByUser() || !IsLambda(handler)) {
            throw;
        }
        const FlagSet handling(inErrorHandler_);
        CallLambda(handler, {Value::string(kafhost::utf8ToWide(error.what()))});
        throw LispError(error.what(), true);
    }
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

const Evaluator::SpecialForm* Evaluator::FindSpecialForm(const std::string& name) const {
    static const std::map<std::string, SpecialForm> forms{
        {"QUOTE", &Evaluator::Quote},     {"FUNCTION", &Evaluator::Quote},
        {"SETQ", &Evaluator::Setq},       {"PROGN", &Evaluator::Progn},
        {"IF", &Evaluator::If},           {"COND", &Evaluator::Cond},
        {"AND", &Evaluator::And},         {"OR", &Evaluator::Or},
        {"WHILE", &Evaluator::While},     {"REPEAT", &Evaluator::Repeat},
        {"FOREACH", &Evaluator::Foreach}, {"DEFUN", &Evaluator::Defun},
        {"LAMBDA", &Evaluator::Lambda},   {"LOAD", &Evaluator::LoadForm}};
    const auto found = forms.find(name);
    return found == forms.end() ? nullptr : &found->second;
}

Value Evaluator::EvaluateList(const Value& form) {
    const std::vector<Value>& items = form.items();
    const Value& head = items.front();
    if (IsLambda(head)) {
        return CallLambda(head, EvaluateArguments(items));
    }
    if (!head.isSymbol() || IsOpaque(head)) {
        throw LispError("bad function: " + PrintValue(head));
    }
    const std::string name = kafhost::wideToUtf8(head.symbolName());
    if (const SpecialForm* special = FindSpecialForm(name)) {
        return (this->*(*special))(items);
    }
    const Value defined = Variable(head.symbolName());
    if (IsLambda(defined)) {
        return CallLambda(defined, EvaluateArguments(items));
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

Value Evaluator::Apply(const Value& function, const std::vector<Value>& arguments) {
    if (IsLambda(function)) {
        const DepthCount count(depth_, stackBase_);
        return CallLambda(function, arguments);
    }
    if (!function.isSymbol() || IsOpaque(function) || function.symbolName().empty()) {
        throw LispError("bad function: " + PrintValue(function));
    }
    const Value defined = Variable(function.symbolName());
    if (IsLambda(defined)) {
        const DepthCount count(depth_, stackBase_);
        return CallLambda(defined, arguments);
    }
    const std::string name = kafhost::wideToUtf8(function.symbolName());
    FunctionLibrary* library = FindSpecialForm(name) == nullptr ? FindFunction(name) : nullptr;
    if (library == nullptr) {
        throw LispError("no function definition: " + name);
    }
    return library->Call(name, arguments);
}

Value Evaluator::CallLambda(const Value& lambda, const std::vector<Value>& arguments) {
    const std::vector<Value>& items = lambda.items();
    std::vector<std::wstring> names;
    std::vector<std::wstring> locals;
    LambdaNames(items[1], names, locals);
    if (arguments.size() < names.size()) {
        throw LispError("too few arguments");
    }
    if (arguments.size() > names.size()) {
        throw LispError("too many arguments");
    }
    const std::size_t argumentCount = names.size();
    names.insert(names.end(), locals.begin(), locals.end());
    const VariablesRestorer restorer(*this, names);
    for (std::size_t i = 0; i < names.size(); ++i) {
        SetVariable(names[i], i < argumentCount ? arguments[i] : Value::nil());
    }
    return EvaluateBody(items, 2);
}

Value Evaluator::LoadForm(const std::vector<Value>& items) {
    return Load(EvaluateArguments(items));
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
