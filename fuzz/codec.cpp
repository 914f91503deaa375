// Value buffers from outside: decoding never reads past the input, fails only
// with the codec's own exceptions, and whatever it decodes can be stored again
// and reads back the same.

#include "platform/rtl/Exception.h"
#include "runtime/ConvertTools.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace orlo;

namespace {

Cardinal TypeCodeOf(const uint8_t* Data) {
    return Cardinal(Data[0]) | Cardinal(Data[1]) << 8 | Cardinal(Data[2]) << 16 |
           Cardinal(Data[3]) << 24;
}

// Types whose read-back type is the stored one, so their bytes come back unchanged.
bool KeepsItsType(Cardinal Type) {
    switch (Type) {
    case varEmpty:
    case varNull:
    case varInteger:
    case varDouble:
    case varCurrency:
    case varDate:
    case varString:
        return true;
    default:
        return false;
    }
}

void Check(bool Condition) {
    if (!Condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    Variant Value;
    try {
        Value = BufferToVariant(Data, Size);
    } catch (const EVariantError&) {
        std::abort(); // the codec raises its own errors, never a conversion error
    } catch (const Exception&) {
        return 0;
    }
    const TValueBuffer Encoded = VariantToBuffer(Value);
    const Variant Again = BufferToVariant(Encoded);
    Check(Again.VarType() == Value.VarType());
    Check(VariantToBuffer(Again) == Encoded);
    if (KeepsItsType(TypeCodeOf(Data)))
        Check(Encoded.Size() == Size && std::memcmp(Encoded.Data(), Data, Size) == 0);
    return 0;
}
