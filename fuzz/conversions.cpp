// Number and OEM text from outside: every conversion either succeeds or raises
// its documented exception, and what it reads can be written and read again.
// The first byte of the input picks the base of the radix conversion.

#include "platform/rtl/Exception.h"
#include "runtime/ConvertTools.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

namespace {

void Check(bool Condition) {
    if (!Condition)
        std::abort();
}

void FuzzHexToInt(const String& Text) {
    Integer Value = 0;
    try {
        Value = HexToInt(Text);
    } catch (const EConvertError&) {
        return;
    }
    Check(HexToInt(IntToSys(Value, 16, 0)) == Value);
    Check(HexToInt(IntToSys(Value, 16, 8) + "h") == Value);
}

void FuzzSysToInt(const String& Text, Integer Base) {
    Integer Value = 0;
    try {
        Value = SysToInt(Text, Base);
    } catch (const EConvertError&) {
        std::abort(); // bad digits raise the base exception, not a conversion error
    } catch (const Exception&) {
        return;
    }
    Check(SysToInt(IntToSys(Value, Base, 0), Base) == Value);
}

void FuzzStringToInt(const String& Text) {
    constexpr Integer Default = 0x5EED;
    Integer Value = 0;
    try {
        Value = StringToInt(Text);
    } catch (const EConvertError&) {
        Check(StringToIntDef(Text, Default) == Default);
        return;
    }
    Check(StringToIntDef(Text, Default) == Value);
    Check(StringToInt(IntToString(Value, 0)) == Value);
}

void FuzzWinToDOSStr(const String& Text) {
    const String Oem = WinToDOSStr(Text);
    Check(Oem.size() <= Text.size());
    Check(Oem.empty() == Text.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    if (Size == 0)
        return 0;
    const Integer Base = 2 + Data[0] % 35;
    const String Text(reinterpret_cast<const char*>(Data + 1), Size - 1);
    FuzzHexToInt(Text);
    FuzzSysToInt(Text, Base);
    FuzzStringToInt(Text);
    FuzzWinToDOSStr(Text);
    return 0;
}
