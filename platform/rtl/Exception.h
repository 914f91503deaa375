#pragma once
// The exception hierarchy: every failure of the system is one of these.

#include "platform/rtl/Types.h"

#include <exception>

namespace orlo {

class Exception : public std::exception {
public:
    explicit Exception(String Msg) : FMessage(std::move(Msg)) {}
    const String& Message() const noexcept { return FMessage; }
    void SetMessage(String Msg) { FMessage = std::move(Msg); }
    const char* what() const noexcept override { return FMessage.c_str(); }
    // Name of the most derived class, as the component model reports it.
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    String FMessage;
};

// Declares an exception class derived from Base with the inherited constructor.
#define ORLO_EXCEPTION(Name, Base)                                                                 \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
        const char* ClassName() const noexcept override { return #Name; }                         \
    }

ORLO_EXCEPTION(EAbort, Exception);
ORLO_EXCEPTION(EConvertError, Exception);
ORLO_EXCEPTION(EInOutError, Exception);
ORLO_EXCEPTION(EListError, Exception);
ORLO_EXCEPTION(EStringListError, EListError);
ORLO_EXCEPTION(EVariantError, Exception);
ORLO_EXCEPTION(EComponentError, Exception);
ORLO_EXCEPTION(EInvalidOperation, Exception);
ORLO_EXCEPTION(EInvalidCast, Exception);
ORLO_EXCEPTION(EPropertyError, Exception);
ORLO_EXCEPTION(EStreamError, Exception);
ORLO_EXCEPTION(EFileStreamError, EStreamError);
ORLO_EXCEPTION(EFCreateError, EFileStreamError);
ORLO_EXCEPTION(EFOpenError, EFileStreamError);
ORLO_EXCEPTION(EFilerError, EStreamError);
ORLO_EXCEPTION(EReadError, EFilerError);
ORLO_EXCEPTION(EWriteError, EFilerError);
ORLO_EXCEPTION(EClassNotFound, EFilerError);
ORLO_EXCEPTION(EResNotFound, Exception);
ORLO_EXCEPTION(EParserError, Exception);
// A value that no branch of a case distinction expects (an enumeration out of range).
ORLO_EXCEPTION(ECaseError, Exception);
// A call through an empty method pointer.
ORLO_EXCEPTION(EAccessViolation, Exception);

// Ends the current operation silently: handlers ignore EAbort.
[[noreturn]] void Abort();

} // namespace orlo
