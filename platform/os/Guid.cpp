#include "platform/os/Guid.h"

#include "platform/rtl/SysUtils.h"

#include <random>

namespace orlo {

TGUID CreateGUID() {
    std::random_device Random;
    std::array<Byte, 16> Bytes;
    for (size_t I = 0; I < Bytes.size(); I += 4) {
        const Cardinal Word32 = Random();
        for (size_t J = 0; J < 4; ++J)
            Bytes[I + J] = static_cast<Byte>(Word32 >> (8 * J));
    }
    Bytes[6] = static_cast<Byte>((Bytes[6] & 0x0F) | 0x40); // version 4: random
    Bytes[8] = static_cast<Byte>((Bytes[8] & 0x3F) | 0x80); // variant of RFC 4122
    TGUID Guid;
    Guid.D1 =
        Cardinal(Bytes[0]) << 24 | Cardinal(Bytes[1]) << 16 | Cardinal(Bytes[2]) << 8 | Bytes[3];
    Guid.D2 = static_cast<Word>(Bytes[4] << 8 | Bytes[5]);
    Guid.D3 = static_cast<Word>(Bytes[6] << 8 | Bytes[7]);
    std::copy(Bytes.begin() + 8, Bytes.end(), Guid.D4.begin());
    return Guid;
}

String GUIDToString(const TGUID& Guid) {
    String Text = "{" + IntToHex(Int64(Guid.D1), 8) + "-" + IntToHex(Int64(Guid.D2), 4) + "-" +
                  IntToHex(Int64(Guid.D3), 4) + "-";
    for (size_t I = 0; I < Guid.D4.size(); ++I) {
        if (I == 2)
            Text += "-";
        Text += IntToHex(Int64(Guid.D4[I]), 2);
    }
    return Text + "}";
}

String CreateGUIDString() {
    return GUIDToString(CreateGUID());
}

} // namespace orlo
