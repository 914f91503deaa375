#pragma once
// TSet<E>: a set of up to 32 values of an enumeration E, stored as a bit mask
// (bit n = the element with ordinal n), the layout published sets stream as.

#include "platform/rtl/Types.h"

#include <initializer_list>

namespace orlo {

template <class E> class TSet {
public:
    constexpr TSet() noexcept = default;
    constexpr TSet(std::initializer_list<E> Elements) noexcept {
        for (E Element : Elements)
            FBits |= Bit(Element);
    }
    static constexpr TSet FromBits(Cardinal Bits) noexcept {
        TSet S;
        S.FBits = Bits;
        return S;
    }

    constexpr Cardinal Bits() const noexcept { return FBits; }
    constexpr bool Contains(E Element) const noexcept { return (FBits & Bit(Element)) != 0; }
    constexpr bool Empty() const noexcept { return FBits == 0; }
    constexpr TSet& Include(E Element) noexcept {
        FBits |= Bit(Element);
        return *this;
    }
    constexpr TSet& Exclude(E Element) noexcept {
        FBits &= ~Bit(Element);
        return *this;
    }

    constexpr TSet& operator<<(E Element) noexcept { return Include(Element); }
    constexpr TSet& operator>>(E Element) noexcept { return Exclude(Element); }
    friend constexpr TSet operator+(TSet A, TSet B) noexcept { return FromBits(A.FBits | B.FBits); }
    friend constexpr TSet operator-(TSet A, TSet B) noexcept {
        return FromBits(A.FBits & ~B.FBits);
    }
    friend constexpr TSet operator*(TSet A, TSet B) noexcept { return FromBits(A.FBits & B.FBits); }
    friend constexpr bool operator==(TSet A, TSet B) noexcept = default;

private:
    static constexpr Cardinal Bit(E Element) noexcept {
        return Cardinal(1) << (static_cast<unsigned>(Element) & 31);
    }
    Cardinal FBits = 0;
};

} // namespace orlo
