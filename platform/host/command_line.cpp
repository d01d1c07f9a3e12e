// The command line: acutPrintf, the text printed so far and the sink that sees it as it comes.
#include <cstdarg>

#include "platform/host/format_text.h"
#include "platform/host/impl.h"

namespace kafhost {

void printToCommandLine(const std::wstring& text) {
    Host::Impl& impl = hostImpl();
    impl.commandLine += text;
    if (impl.printSink) {
        impl.printSink(text);
    }
}

const std::wstring& Host::commandLine() const {
    return impl_->commandLine;
}
void Host::clearCommandLine() {
    impl_->commandLine.clear();
}

void Host::setPrintSink(std::function<void(const std::wstring&)> sink) {
    impl_->printSink = std::move(sink);
}

}  // namespace kafhost

using namespace kafhost;

int acutPrintf(const ACHAR* format, ...) {
    if (format == nullptr) {
        return RTERROR;
    }
    va_list args;
    va_start(args, format);
    const std::wstring text = formatHostText(format, args);
    va_end(args);
    printToCommandLine(text);
    return RTNORM;
}
