#include "platform/classes/AppHooks.h"

#include "platform/rtl/Exception.h"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>
#include <utility>

namespace orlo {

namespace {

TExceptionHandler& InstalledHandler() {
    static TExceptionHandler Handler;
    return Handler;
}

bool DesignerFlag = false;

String Demangle(const char* MangledName) {
    int Status = 0;
    std::unique_ptr<char, void (*)(void*)> Name(
        abi::__cxa_demangle(MangledName, nullptr, nullptr, &Status), std::free);
    return Status == 0 && Name ? String(Name.get()) : String(MangledName);
}

bool IsSilentAbort(const std::exception_ptr& Error) {
    try {
        std::rethrow_exception(Error);
    } catch (const EAbort&) {
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

TExceptionText DescribeException(const std::exception_ptr& Error) {
    if (!Error)
        return {};
    try {
        std::rethrow_exception(Error);
    } catch (const Exception& E) {
        return {E.ClassName(), E.Message()};
    } catch (const std::exception& E) {
        return {Demangle(typeid(E).name()), E.what()};
    } catch (...) {
        const std::type_info* Type = abi::__cxa_current_exception_type();
        return {Type ? Demangle(Type->name()) : String("unknown exception"), String()};
    }
}

void WriteExceptionToStdErr(TObject*, const std::exception_ptr& Error) {
    const TExceptionText Text = DescribeException(Error);
    std::fprintf(stderr, "%s: %s\n", Text.ClassName.c_str(), Text.Message.c_str());
    std::fflush(stderr);
}

void HandleException(TObject* Sender) {
    HandleException(Sender, std::current_exception());
}

void HandleException(TObject* Sender, const std::exception_ptr& Error) {
    if (!Error || IsSilentAbort(Error))
        return;
    // A copy, so a handler that replaces itself while it runs stays alive.
    const TExceptionHandler Handler = InstalledHandler();
    if (!Handler) {
        WriteExceptionToStdErr(Sender, Error);
        return;
    }
    try {
        Handler(Sender, Error);
    } catch (...) {
        WriteExceptionToStdErr(Sender, Error);
        WriteExceptionToStdErr(Sender, std::current_exception());
    }
}

TExceptionHandler SetExceptionHandler(TExceptionHandler Handler) {
    return std::exchange(InstalledHandler(), std::move(Handler));
}

TExceptionHandlerScope::TExceptionHandlerScope(TExceptionHandler Handler)
    : FPrevious(SetExceptionHandler(std::move(Handler))) {}

TExceptionHandlerScope::~TExceptionHandlerScope() {
    SetExceptionHandler(std::move(FPrevious));
}

TExceptionRecorder::TExceptionRecorder()
    : FScope([this](TObject* Sender, const std::exception_ptr& Error) {
          TExceptionText Text = DescribeException(Error);
          FEntries.push_back({Sender, std::move(Text.ClassName), std::move(Text.Message)});
      }) {}

bool RunningInDesigner() noexcept {
    return DesignerFlag;
}

void SetRunningInDesigner(bool Value) noexcept {
    DesignerFlag = Value;
}

} // namespace orlo
