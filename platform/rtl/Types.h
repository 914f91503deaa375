#pragma once
// Basic types of the run-time library: the names product code uses for them.

#include <cstddef>
#include <cstdint>
#include <string>

namespace orlo {

using String = std::string; // UTF-8, the platform's 8-bit code page
using Integer = int32_t;
using Cardinal = uint32_t;
using Int64 = int64_t;
using UInt64 = uint64_t;
using Byte = uint8_t;
using Word = uint16_t;
using SmallInt = int16_t;
using ShortInt = int8_t;
using LongWord = uint32_t;
using Boolean = bool;
using Single = float;
using Double = double;
using Extended = long double;
using NativeInt = intptr_t;
using TDateTime = double; // days since 1899-12-30, fraction = time of day

struct TPoint {
    Integer X = 0;
    Integer Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle by its edges; Right and Bottom lie just outside it.
struct TRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;
    Integer Width() const noexcept { return Right - Left; }
    Integer Height() const noexcept { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(Integer Left, Integer Top, Integer Width, Integer Height) {
    return TRect{Left, Top, Left + Width, Top + Height};
}

// Pascal-style counted loops and 1-based positions use these helpers.
inline Integer Length(const String& S) {
    return static_cast<Integer>(S.size());
}

} // namespace orlo
