#include "runtime/TypeTools.h"

#include "platform/rtl/SysUtils.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <string_view>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /runtime/TypeTools.cpp 1.0 09.12.26 22:10 orlo $");

constexpr Int64 LowestBit = 0;
constexpr Int64 HighestBit = 31;

[[noreturn]] void Fail(const char* Routine, const char* Reason) {
    throw ETypeToolError(String(Routine) + " failed. " + Reason);
}

const TTypeData& EnumData(const TTypeInfo* TypeInfo, const char* Routine) {
    if (!TypeInfo || TypeInfo->Kind != tkEnumeration)
        Fail(Routine, "Not an enumeration");
    return TypeInfo->Data;
}

// The element type of a set type.
const TTypeInfo* SetElementType(const TTypeInfo* TypeInfo, const char* Routine) {
    if (!TypeInfo || TypeInfo->Kind != tkSet)
        Fail(Routine, "Not a set");
    return TypeInfo->Data.CompType;
}

struct TOrdinalRange {
    Int64 Low = 0;
    Int64 High = -1;
};

TOrdinalRange RangeOf(const TTypeInfo* TypeInfo) {
    const TTypeData* Data = GetTypeData(TypeInfo);
    return Data ? TOrdinalRange{Data->MinValue, Data->MaxValue} : TOrdinalRange{};
}

// Reads the names of "[a,b]" one by one, as StrToSet describes.
class TSetTextReader {
public:
    explicit TSetTextReader(const String& S) : FRest(S) {
        if (FRest.empty() || FRest.front() != '[')
            Malformed();
        FRest.remove_prefix(1);
    }

    // The next name; false at the closing bracket.
    bool Next(std::string_view& Name) {
        if (FRest.empty() || (FRest.front() == ']' && FRest.size() > 1))
            Malformed();
        if (FRest == "]")
            return false;
        const size_t End = FRest.find_first_of(",]");
        if (End == 0 || End == std::string_view::npos)
            Malformed();
        Name = FRest.substr(0, End);
        FRest.remove_prefix(FRest[End] == ',' ? End + 1 : End);
        return true;
    }

private:
    [[noreturn]] static void Malformed() { Fail("StrToSet", "Malformed set text"); }

    std::string_view FRest;
};

} // namespace

String EnumTypeDecl(const TTypeInfo* TypeInfo) {
    const TTypeData& Data = EnumData(TypeInfo, "EnumTypeDecl");
    String Result;
    for (Int64 N = Data.MinValue; N <= Data.MaxValue; ++N) {
        if (N > Data.MinValue)
            Result += ',';
        Result += GetEnumName(TypeInfo, static_cast<Integer>(N));
    }
    return Result;
}

String EnumToStr(const TTypeInfo* TypeInfo, Integer Value) {
    const TTypeData& Data = EnumData(TypeInfo, "EnumToStr");
    if (Value < Data.MinValue || Value > Data.MaxValue)
        Fail("EnumToStr", "Invalid ordinal value");
    return GetEnumName(TypeInfo, Value);
}

String SetTypeDecl(const TTypeInfo* TypeInfo) {
    return EnumTypeDecl(SetElementType(TypeInfo, "SetTypeDecl"));
}

Integer StrToEnum(const TTypeInfo* TypeInfo, const String& S) {
    const TTypeData& Data = EnumData(TypeInfo, "StrToEnum");
    const Integer Value = GetEnumValue(TypeInfo, S);
    if (Value < 0 || Value < Data.MinValue || Value > Data.MaxValue)
        Fail("StrToEnum", "String value not found in enumeration type");
    return Value;
}

String SetToStr(const TTypeInfo* TypeInfo, Integer Value) {
    const TTypeInfo* Element = SetElementType(TypeInfo, "SetToStr");
    const TOrdinalRange Range = RangeOf(Element);
    const Cardinal Bits = static_cast<Cardinal>(Value);
    String Result = "[";
    for (Int64 N = std::max(Range.Low, LowestBit); N <= std::min(Range.High, HighestBit); ++N) {
        if ((Bits & (Cardinal(1) << N)) == 0)
            continue;
        if (Result.size() > 1)
            Result += ',';
        Result += EnumToStr(Element, static_cast<Integer>(N));
    }
    return Result + "]";
}

Integer StrToSet(const TTypeInfo* TypeInfo, const String& S) {
    const TTypeInfo* Element = SetElementType(TypeInfo, "StrToSet");
    const TOrdinalRange Range = RangeOf(Element);
    const String Text = Trim(S);
    TSetTextReader Reader(Text);
    Cardinal Result = 0;
    std::string_view Name;
    for (Int64 Left = Range.High - Range.Low + 1; Left > 0 && Reader.Next(Name); --Left) {
        const Integer N = StrToEnum(Element, String(Name));
        if (N < LowestBit || N > HighestBit)
            Fail("StrToSet", "Set element out of range");
        Result |= Cardinal(1) << N;
    }
    return static_cast<Integer>(Result);
}

} // namespace orlo
