// The AutoLISP bridge: defining functions per document, calling them, their arguments and
// results.
#include <exception>

#include "kafhost/utf8_to_wide.h"
#include "platform/host/impl.h"

namespace kafhost {
namespace {

AcApDocument::Function* findFunction(const std::wstring& name) {
    AcApDocument* document = hostImpl().current;
    if (document == nullptr) {
        return nullptr;
    }
    const auto found = document->functions.find(name);
    return found == document->functions.end() ? nullptr : &found->second;
}

// Runs the function's entry; an exception that leaves it is recorded in the result.
int runEntry(AcApDocument& document, const AcApDocument::Function& function, CallResult& result) {
    try {
        const auto entry = document.entries.find({function.module, function.code});
        if (entry != document.entries.end()) {
            return entry->second();
        }
        if (function.module != nullptr) {
            return function.module->entryPoint(AcRx::kInvkSubrMsg, nullptr);
        }
        return RTERROR;
    } catch (const wchar_t* text) {
        result.exceptionText = text != nullptr ? text : L"";
    } catch (const char* text) {
        result.exceptionText = text != nullptr ? utf8ToWide(text) : L"";
    } catch (const std::exception& error) {
        result.exceptionText = utf8ToWide(error.what());
    } catch (...) {
    }
    result.exceptionEscaped = true;
    return RTERROR;
}

void readResult(const CallFrame& frame, CallResult& result) {
    switch (frame.resultKind) {
        case CallFrame::ResultKind::kNone:
            return;
        case CallFrame::ResultKind::kT:
            result.value = LispValue::t();
            break;
        case CallFrame::ResultKind::kNil:
            result.value = LispValue::nil();
            break;
        case CallFrame::ResultKind::kList:
            result.resultValid =
                chainToValue(frame.result.get(), result.value, &result.resultError);
            break;
    }
    result.resultSet = true;
}

CallFrame* currentFrame() {
    Host::Impl& impl = hostImpl();
    return impl.frames.empty() ? nullptr : &impl.frames.back();
}

}  // namespace

bool Host::isDefined(const std::wstring& name) const {
    return findFunction(name) != nullptr;
}

int Host::functionCode(const std::wstring& name) const {
    const AcApDocument::Function* function = findFunction(name);
    return function != nullptr ? function->code : -1;
}

std::vector<std::wstring> Host::definedFunctions() const {
    std::vector<std::wstring> names;
    if (impl_->current != nullptr) {
        for (const auto& entry : impl_->current->functions) {
            names.push_back(entry.first);
        }
    }
    return names;
}

CallResult Host::call(const std::wstring& name, const std::vector<LispValue>& args) {
    const Chain chain = valuesToChain(args);
    return callWithChain(name, chain.get());
}

CallResult Host::callWithChain(const std::wstring& name, const resbuf* chain) {
    CallResult result;
    AcApDocument::Function* found = findFunction(name);
    if (found == nullptr) {
        return result;
    }
    const AcApDocument::Function function = *found;
    AcApDocument& document = *impl_->current;
    result.defined = true;

    const std::size_t printedFrom = impl_->commandLine.size();
    CallFrame frame;
    frame.code = function.code;
    frame.args = copyChain(chain);
    impl_->frames.push_back(std::move(frame));
    LoadedModule* const callerModule = impl_->activeModule;
    impl_->activeModule = function.module;

    result.status = runEntry(document, function, result);

    impl_->activeModule = callerModule;
    readResult(impl_->frames.back(), result);
    impl_->frames.pop_back();
    if (impl_->commandLine.size() >= printedFrom) {
        result.printed = impl_->commandLine.substr(printedFrom);
    }
    if (impl_->frames.empty()) {
        deleteOrphans();
    }
    result.openObjectsAfter = openObjectCount();
    result.openObjectsAfterDescriptions = openObjectDescriptions();
    return result;
}

}  // namespace kafhost

using namespace kafhost;

int acedDefun(const ACHAR* name, int funcCode) {
    Host::Impl& impl = hostImpl();
    if (name == nullptr || *name == L'\0' || impl.current == nullptr) {
        return RTERROR;
    }
    impl.current->functions[name] = AcApDocument::Function{funcCode, impl.activeModule};
    return RTNORM;
}

int acedUndef(const ACHAR* name, int funcCode) {
    Host::Impl& impl = hostImpl();
    if (name == nullptr || impl.current == nullptr) {
        return RTERROR;
    }
    auto& functions = impl.current->functions;
    const auto found = functions.find(name);
    if (found == functions.end() || found->second.code != funcCode ||
        found->second.module != impl.activeModule) {
        return RTERROR;
    }
    functions.erase(found);
    return RTNORM;
}

int acedRegFunc(int (*entry)(), int funcCode) {
    Host::Impl& impl = hostImpl();
    if (impl.current == nullptr) {
        return RTERROR;
    }
    const AcApDocument::EntryKey key{impl.activeModule, funcCode};
    if (entry == nullptr) {
        impl.current->entries.erase(key);
    } else {
        impl.current->entries[key] = entry;
    }
    return RTNORM;
}

int acedGetFunCode() {
    const CallFrame* frame = currentFrame();
    return frame != nullptr ? frame->code : RTERROR;
}

struct resbuf* acedGetArgs() {
    CallFrame* frame = currentFrame();
    return frame != nullptr ? frame->args.get() : nullptr;
}

int acedRetList(const struct resbuf* rb) {
    CallFrame* frame = currentFrame();
    if (frame == nullptr) {
        return RTERROR;
    }
    frame->result = copyChain(rb);
    frame->resultKind = CallFrame::ResultKind::kList;
    return RTNORM;
}

int acedRetT() {
    CallFrame* frame = currentFrame();
    if (frame == nullptr) {
        return RTERROR;
    }
    frame->result.reset();
    frame->resultKind = CallFrame::ResultKind::kT;
    return RTNORM;
}

int acedRetNil() {
    CallFrame* frame = currentFrame();
    if (frame == nullptr) {
        return RTERROR;
    }
    frame->result.reset();
    frame->resultKind = CallFrame::ResultKind::kNil;
    return RTNORM;
}
