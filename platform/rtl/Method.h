#pragma once
// Method pointers: a pair of code and data that calls a member function of an
// object. Two method pointers are equal when both halves are equal, so lists of
// handlers can find and remove a registration.

#include <type_traits>
#include <utility>

namespace orlo {

class TObject;

// Raises EAccessViolation "Call of an unassigned <TypeName>": calling an empty
// method pointer is a catchable error, not a jump to address zero.
[[noreturn]] void RaiseUnassignedCall(const char* TypeName);

struct TMethod {
    void* Code = nullptr; // a call thunk; see MethodThunk
    void* Data = nullptr; // the object the thunk calls the member on

    bool Assigned() const noexcept { return Code != nullptr; }
    friend bool operator==(const TMethod&, const TMethod&) = default;
};

namespace detail {

template <auto Member> struct MemberTraits;

template <class C, class R, class... A, R (C::*Member)(A...)> struct MemberTraits<Member> {
    using Class = C;
    static R Call(void* Data, A... Args) { return (static_cast<C*>(Data)->*Member)(Args...); }
};

template <class C, class R, class... A, R (C::*Member)(A...) const> struct MemberTraits<Member> {
    using Class = C;
    static R Call(void* Data, A... Args) { return (static_cast<const C*>(Data)->*Member)(Args...); }
};

} // namespace detail

// The code half of a method pointer for Member: one thunk per member function,
// so the same handler always yields the same code pointer.
template <auto Member> void* MethodThunk() {
    return reinterpret_cast<void*>(&detail::MemberTraits<Member>::Call);
}

// MakeMethod<&TForm1::Button1Click>(Form1)
template <auto Member> TMethod MakeMethod(typename detail::MemberTraits<Member>::Class* Obj) {
    return TMethod{MethodThunk<Member>(), static_cast<void*>(Obj)};
}

// A typed method pointer: an event of signature R(A...).
template <class Sig> class TEventOf;

template <class R, class... A> class TEventOf<R(A...)> : public TMethod {
public:
    using Signature = R(A...);
    TEventOf() = default;
    TEventOf(std::nullptr_t) {}
    explicit TEventOf(const TMethod& M) : TMethod(M) {}

    template <auto Member> static TEventOf Make(typename detail::MemberTraits<Member>::Class* Obj) {
        using Thunk = decltype(&detail::MemberTraits<Member>::Call);
        static_assert(std::is_same_v<Thunk, R (*)(void*, A...)>,
                      "handler signature does not match the event");
        return TEventOf(MakeMethod<Member>(Obj));
    }

    explicit operator bool() const noexcept { return Code != nullptr; }

    R operator()(A... Args) const { return Invoke("method pointer", std::forward<A>(Args)...); }

    // The call; an empty method pointer raises, naming TypeName.
    R Invoke(const char* TypeName, A... Args) const {
        if (!Code) [[unlikely]]
            RaiseUnassignedCall(TypeName);
        return reinterpret_cast<R (*)(void*, A...)>(Code)(Data, std::forward<A>(Args)...);
    }
};

// Declares a named event type; TypInfo gives it type information. Calling
// an empty one raises EAccessViolation "Call of an unassigned <Name>".
#define ORLO_EVENT_TYPE(Name, ...)                                                                 \
    struct Name : ::orlo::TEventOf<__VA_ARGS__> {                                                  \
        using TEventOf::TEventOf;                                                                  \
        template <auto Member>                                                                     \
        static Name Make(typename ::orlo::detail::MemberTraits<Member>::Class* Obj) {              \
            return Name(TEventOf::template Make<Member>(Obj));                                     \
        }                                                                                          \
        template <class... B> decltype(auto) operator()(B&&... Args) const {                       \
            return Invoke(#Name, std::forward<B>(Args)...);                                        \
        }                                                                                          \
    }

ORLO_EVENT_TYPE(TNotifyEvent, void(TObject* Sender));

} // namespace orlo
