#include "runtime/ConvertTools.h"

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace orlo;

namespace {

using TBytes = std::vector<Byte>;

TBytes BytesOf(const TValueBuffer& Buffer) {
    return TBytes(Buffer.Data(), Buffer.Data() + Buffer.Size());
}

// Decodes from a heap block of exactly Bytes.size() bytes, so that a read past
// the end shows under the address sanitizer.
Variant DecodeExact(const TBytes& Bytes) {
    const auto Block = std::make_unique<Byte[]>(Bytes.size());
    std::copy(Bytes.begin(), Bytes.end(), Block.get());
    return BufferToVariant(Block.get(), Bytes.size());
}

template <class F> String MessageOf(F&& Action) {
    try {
        Action();
    } catch (const Exception& E) {
        return E.Message();
    }
    return "(no exception)";
}

// --- Value buffers -------------------------------------------------------------

TEST(ValueBuffer, EncodesEveryStorableType) {
    struct Case {
        const char* Name;
        Variant Value;
        TBytes Bytes;
    };
    const std::vector<Case> Cases = {
        {"empty", Variant(), {0x00, 0x00, 0x00, 0x00}},
        {"null", Variant::Null(), {0x01, 0x00, 0x00, 0x00}},
        {"string", Variant("&OK"), {0x00, 0x01, 0x00, 0x00, 0x26, 0x4F, 0x4B}},
        {"empty string", Variant(""), {0x00, 0x01, 0x00, 0x00}},
        {"integer", Variant(5), {0x03, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00}},
        {"negative integer", Variant(-1), {0x03, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"true", Variant(true), {0x0B, 0x00, 0x00, 0x00, 0x01}},
        {"false", Variant(false), {0x0B, 0x00, 0x00, 0x00, 0x00}},
        {"currency",
         Variant(Currency::FromScaled(15000)),
         {0x06, 0x00, 0x00, 0x00, 0x98, 0x3A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"smallint", Variant::FromSmallint(-2), {0x02, 0x00, 0x00, 0x00, 0xFE, 0xFF}},
        {"byte", Variant::FromByte(200), {0x11, 0x00, 0x00, 0x00, 0xC8}},
        {"single", Variant::FromSingle(1.5f), {0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x3F}},
        {"double",
         Variant(1.5),
         {0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F}},
        {"date",
         Variant::FromDate(45000.5),
         {0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0xF9, 0xE5, 0x40}},
        {"wide string",
         Variant::FromOleStr("H\xC3\xA9"),
         {0x08, 0x00, 0x00, 0x00, 0x48, 0xC3, 0xA9}},
        {"string with NUL", Variant(String("a\0b", 3)), {0x00, 0x01, 0x00, 0x00, 0x61, 0x00, 0x62}},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(BytesOf(VariantToBuffer(C.Value)), C.Bytes) << C.Name;
}

TEST(ValueBuffer, RefusesTypesThatCannotBeStored) {
    for (const Variant& V : {
             Variant(Int64(5)),
             Variant::OfType(varDispatch),
             Variant::OfType(varError),
             Variant::OfType(varVariant),
             Variant::OfType(varUnknown),
             Variant::OfType(varShortInt),
             Variant::OfType(varWord),
             Variant::OfType(varLongWord),
             Variant::OfType(varTypeMask),
             Variant::OfType(varArray | varInteger),
             Variant::OfType(varByRef | varString),
         })
        EXPECT_EQ(MessageOf([&] { VariantToBuffer(V); }), "Variant type not supported")
            << V.VarType();
}

TEST(ValueBuffer, DecodesToTheReadBackTypes) {
    struct Case {
        const char* Name;
        TBytes Bytes;
        Variant Expected;
    };
    const std::vector<Case> Cases = {
        {"empty", {0x00, 0x00, 0x00, 0x00}, Variant()},
        {"null", {0x01, 0x00, 0x00, 0x00}, Variant::Null()},
        {"empty string", {0x00, 0x01, 0x00, 0x00}, Variant("")},
        {"string", {0x00, 0x01, 0x00, 0x00, 0x26, 0x4F, 0x4B}, Variant("&OK")},
        {"smallint sign-extended", {0x02, 0x00, 0x00, 0x00, 0xFE, 0xFF}, Variant(-2)},
        {"byte zero-extended", {0x11, 0x00, 0x00, 0x00, 0xC8}, Variant(200)},
        {"single widened", {0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x3F}, Variant(1.5)},
        {"wide string as string", {0x08, 0x00, 0x00, 0x00, 0x41, 0x42}, Variant("AB")},
        {"integer", {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80}, Variant(INT_MIN)},
        {"currency",
         {0x06, 0x00, 0x00, 0x00, 0x98, 0x3A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         Variant(Currency::FromScaled(15000))},
        {"date",
         {0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0xF9, 0xE5, 0x40},
         Variant::FromDate(45000.5)},
        {"true", {0x0B, 0x00, 0x00, 0x00, 0x01}, Variant(true)},
        {"false", {0x0B, 0x00, 0x00, 0x00, 0x00}, Variant(false)},
        {"other Boolean byte", {0x0B, 0x00, 0x00, 0x00, 0x02}, Variant(true)},
    };
    for (const Case& C : Cases) {
        const Variant V = DecodeExact(C.Bytes);
        EXPECT_EQ(V.VarType(), C.Expected.VarType()) << C.Name;
        EXPECT_TRUE(V == C.Expected) << C.Name;
    }
}

TEST(ValueBuffer, RejectsMalformedBuffers) {
    struct Case {
        const char* Name;
        TBytes Bytes;
        const char* Message;
    };
    const std::vector<Case> Cases = {
        {"nothing", {}, "Invalid buffer size"},
        {"three bytes", {0x00, 0x01, 0x00}, "Invalid buffer size"},
        {"integer short of a byte", {0x03, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00}, "Invalid buffer"},
        {"integer with a byte more",
         {0x03, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00},
         "Invalid buffer"},
        {"empty with data", {0x00, 0x00, 0x00, 0x00, 0x01}, "Invalid buffer"},
        {"null with data", {0x01, 0x00, 0x00, 0x00, 0x00}, "Invalid buffer"},
        {"Boolean without data", {0x0B, 0x00, 0x00, 0x00}, "Invalid buffer"},
        {"smallint of four bytes",
         {0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00},
         "Invalid buffer"},
        {"double of four bytes",
         {0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         "Invalid buffer"},
        {"dispatch", {0x09, 0x00, 0x00, 0x00}, "Invalid buffer entry"},
        {"int64", {0x14, 0x00, 0x00, 0x00, 1, 0, 0, 0, 0, 0, 0, 0}, "Invalid buffer entry"},
        {"high bits are not masked", {0x00, 0x01, 0x01, 0x00, 0x41}, "Invalid buffer entry"},
        {"array flag", {0x03, 0x20, 0x00, 0x00, 1, 0, 0, 0}, "Invalid buffer entry"},
        {"all bits", {0xFF, 0xFF, 0xFF, 0xFF}, "Invalid buffer entry"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(MessageOf([&] { DecodeExact(C.Bytes); }), C.Message) << C.Name;
}

TEST(ValueBuffer, ReadsOnlySizeBytes) {
    const Byte Integer5[] = {0x03, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
    EXPECT_EQ(MessageOf([&] { BufferToVariant(Integer5, 7); }), "Invalid buffer");
    EXPECT_EQ(MessageOf([&] { BufferToVariant(Integer5, 3); }), "Invalid buffer size");
    const Byte Text[] = {0x00, 0x01, 0x00, 0x00, 0x41, 0x42, 0x43};
    EXPECT_TRUE(BufferToVariant(Text, 5) == Variant("A"));
    EXPECT_TRUE(BufferToVariant(Text, 4) == Variant(""));
}

TEST(ValueBuffer, RoundTripsEveryStorableType) {
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* Name;
        Variant Value;
        Variant Expected; // what reading the buffer back gives
    };
    const std::vector<Case> Cases = {
        {"empty", Variant(), Variant()},
        {"null", Variant::Null(), Variant::Null()},
        {"smallint low", Variant::FromSmallint(-32768), Variant(-32768)},
        {"smallint high", Variant::FromSmallint(32767), Variant(32767)},
        {"integer low", Variant(INT_MIN), Variant(INT_MIN)},
        {"integer high", Variant(INT_MAX), Variant(INT_MAX)},
        {"single", Variant::FromSingle(0.1f), Variant(static_cast<double>(0.1f))},
        {"double", Variant(0.1), Variant(0.1)},
        {"negative zero", Variant(-0.0), Variant(-0.0)},
        {"not a number", Variant(NaN), Variant(NaN)},
        {"infinity", Variant(-HUGE_VAL), Variant(-HUGE_VAL)},
        {"currency low", Variant(Currency::FromScaled(std::numeric_limits<Int64>::min())),
         Variant(Currency::FromScaled(std::numeric_limits<Int64>::min()))},
        {"currency high", Variant(Currency::FromScaled(std::numeric_limits<Int64>::max())),
         Variant(Currency::FromScaled(std::numeric_limits<Int64>::max()))},
        {"date", Variant::FromDate(-693593.75), Variant::FromDate(-693593.75)},
        {"wide string",
         Variant::FromOleStr("Gr\xC3\xBC\xC3\x9F"
                             "e"),
         Variant("Gr\xC3\xBC\xC3\x9F"
                 "e")},
        {"true", Variant(true), Variant(true)},
        {"false", Variant(false), Variant(false)},
        {"byte low", Variant::FromByte(0), Variant(0)},
        {"byte high", Variant::FromByte(255), Variant(255)},
        {"string", Variant("&Cancel"), Variant("&Cancel")},
        {"string with NUL", Variant(String("\0x\0", 3)), Variant(String("\0x\0", 3))},
        {"long string", Variant(String(100000, 'z')), Variant(String(100000, 'z'))},
    };
    for (const Case& C : Cases) {
        const TValueBuffer Buffer = VariantToBuffer(C.Value);
        const Variant Back = BufferToVariant(Buffer);
        EXPECT_EQ(Back.VarType(), C.Expected.VarType()) << C.Name;
        EXPECT_TRUE(Back == C.Expected) << C.Name;
        // Values of the read-back types come back byte for byte.
        EXPECT_EQ(VariantToBuffer(Back), VariantToBuffer(C.Expected)) << C.Name;
        EXPECT_TRUE(BufferToVariant(Buffer.Data(), Buffer.Size()) == Back) << C.Name;
    }
}

TEST(ValueBuffer, CopiesAndCompares) {
    const Byte Raw[] = {0x03, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
    const TValueBuffer Buffer(Raw, sizeof Raw);
    EXPECT_EQ(Buffer, VariantToBuffer(Variant(5)));
    EXPECT_FALSE(Buffer == VariantToBuffer(Variant(6)));
    EXPECT_FALSE(Buffer.Empty());
    EXPECT_TRUE(TValueBuffer().Empty());
    EXPECT_EQ(MessageOf([] { BufferToVariant(TValueBuffer()); }), "Invalid buffer size");
}

// --- Numbers as text -----------------------------------------------------------

TEST(ConvertTools, HexToIntReadsEveryNotation) {
    struct Case {
        const char* Text;
        Integer Expected;
    };
    for (const Case& C : {
             Case{"FFh", 255},
             Case{"$ff", 255},
             Case{"0xFF", 255},
             Case{"0X1a", 26},
             Case{"1AH", 26},
             Case{"  ff  ", 255},
             Case{" \t\r\nff\n", 255},
             Case{"-$10", -16},
             Case{"-10h", -16},
             Case{"", 0},
             Case{"H", 0},
             Case{"$", 0},
             Case{"0x", 0},
             Case{"-", 0},
             Case{"0", 0},
             Case{"7FFFFFFF", INT_MAX},
             Case{"80000000", INT_MIN},
             Case{"-80000000h", INT_MIN},
             Case{"FFFFFFFF", -1},
             Case{"100000001", 1}, // 32 bits, wrapping
             Case{"00C8A0F4h", 0x00C8A0F4},
         })
        EXPECT_EQ(HexToInt(C.Text), C.Expected) << "'" << C.Text << "'";
}

TEST(ConvertTools, HexToIntRejectsOtherText) {
    for (const char* Text : {"12G", "X", "1 2", "--1", "H1", "$0x1", "0xh", "$$1", "1h h", "+1"}) {
        try {
            HexToInt(Text);
            ADD_FAILURE() << "accepted: " << Text;
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), "Cannot convert from hex to int") << Text;
        }
    }
}

TEST(ConvertTools, IntToSysWritesDigits) {
    struct Case {
        Integer Value, Base, Digits;
        const char* Expected;
    };
    for (const Case& C : {
             Case{0, 2, 0, "0"},
             Case{-10, 16, 4, "-000A"},
             Case{255, 16, 0, "FF"},
             Case{255, 2, 10, "0011111111"},
             Case{35, 36, 0, "Z"},
             Case{12345, 10, 3, "12345"},
             Case{5, 10, -1, "5"},
             Case{INT_MAX, 36, 0, "ZIK0ZJ"},
             Case{INT_MIN, 16, 0, "-80000000"},
             Case{INT_MIN, 2, 0, "-10000000000000000000000000000000"},
         })
        EXPECT_EQ(IntToSys(C.Value, C.Base, C.Digits), C.Expected) << C.Value << " base " << C.Base;
    for (Integer Base : {1, 0, -2, 37})
        EXPECT_EQ(MessageOf([&] { IntToSys(5, Base, 0); }), "IntToSys: Invalid base system")
            << Base;
}

TEST(ConvertTools, SysToIntReadsDigits) {
    struct Case {
        const char* Text;
        Integer Base;
        Integer Expected;
    };
    for (const Case& C : {
             Case{"z", 36, 35}, Case{"FF", 16, 255}, Case{"-000A", 16, -10}, Case{" 101 ", 2, 5},
             Case{"", 10, 0}, Case{"-", 10, 0}, Case{"-80000000", 16, INT_MIN},
             Case{"7fffffff", 16, INT_MAX}, Case{"FFFFFFFF", 16, -1}, // 32 bits of two's complement
             Case{"4294967295", 10, -1}, Case{"0", 1, 0},
             Case{"10", 40, 40}, // the base is not limited
         })
        EXPECT_EQ(SysToInt(C.Text, C.Base), C.Expected) << C.Text << " base " << C.Base;
}

TEST(ConvertTools, SysToIntRejectsOtherText) {
    struct Case {
        const char* Text;
        Integer Base;
    };
    for (const Case& C : {
             Case{"A", 10},
             Case{"2", 2},
             Case{"1 0", 10},
             Case{"+1", 10},
             Case{"1", 0},
             Case{"1", -5},
             Case{"1", 1},
             Case{"G", 16},
             Case{"100000000", 16},  // beyond 32 bits
             Case{"4294967296", 10}, // beyond 32 bits
             Case{"ZZZZZZZZZZZZZZZZ", 36},
         })
        EXPECT_EQ(MessageOf([&] { SysToInt(C.Text, C.Base); }), "SysToInt: Invalid value")
            << C.Text << " base " << C.Base;
}

TEST(ConvertTools, RadixTextRoundTripsInEveryBase) {
    for (Integer Base = 2; Base <= 36; ++Base)
        for (Integer Value : {INT_MIN, INT_MIN + 1, -987654, -1, 0, 1, 35, 123456789, INT_MAX})
            EXPECT_EQ(SysToInt(IntToSys(Value, Base, 8), Base), Value) << Value << " base " << Base;
}

TEST(ConvertTools, IntToStringPads) {
    EXPECT_EQ(IntToString(5, 3), "005");
    EXPECT_EQ(IntToString(1234, 3), "1234");
    EXPECT_EQ(IntToString(0, 0), "0");
    EXPECT_EQ(IntToString(-5, 3), "-005");
    EXPECT_EQ(IntToString(INT_MIN, 0), "-2147483648");
}

TEST(ConvertTools, StringToIntAcceptsHexNotations) {
    struct Case {
        const char* Text;
        Integer Expected;
    };
    for (const Case& C : {
             Case{"1Ah", 26},
             Case{"1aH", 26},
             Case{"0x1A", 26},
             Case{"0X1a", 26},
             Case{"$1A", 26},
             Case{"26", 26},
             Case{"  10h  ", 16},
             Case{"-26", -26},
             Case{" 7 ", 7},
             Case{"FFFFFFFFh", -1},
         }) {
        EXPECT_EQ(StringToInt(C.Text), C.Expected) << C.Text;
        EXPECT_EQ(StringToIntDef(C.Text, 12345), C.Expected) << C.Text;
    }
}

TEST(ConvertTools, StringToIntRejectsOtherText) {
    for (const char* Text : {"abc", "", "  ", "h", "1Ah2", "0x", "12 3", "$G"}) {
        try {
            StringToInt(Text);
            ADD_FAILURE() << "accepted: " << Text;
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.Message(), "'" + String(Text) + "' is not a valid integer value");
        }
        EXPECT_EQ(StringToIntDef(Text, 7), 7) << Text;
    }
}

TEST(ConvertTools, BoolToStr) {
    EXPECT_EQ(BoolToStr(true), "True");
    EXPECT_EQ(BoolToStr(false), "False");
}

// --- OEM text ------------------------------------------------------------------

TEST(ConvertTools, WinToDOSStrGivesOneBytePerCharacter) {
    struct Case {
        String Text;
        String Expected;
    };
    for (const Case& C : {
             Case{"", ""}, Case{"ABC 123", "ABC 123"},
             Case{"Gr\xC3\xBC\xC3\x9F"
                  "e",
                  "Gr\x81\xE1"
                  "e"},                                        // Grüße
             Case{"\xC3\x84\xC3\xA9\xC3\x96", "\x8E\x82\x99"}, // ÄéÖ
             Case{"a\xE2\x82\xAC"
                  "b",
                  "a?b"},                            // the euro sign is not in 850
             Case{"\xE6\x97\xA5\xE6\x9C\xAC", "??"}, // two characters, two bytes
             Case{"x\xFFy", "x?y"},                  // not UTF-8
             Case{"x\xC3", "x?"},                    // cut short
             Case{"\xF0\x9F\x98\x80!", "?!"},        // beyond the BMP
         })
        EXPECT_EQ(WinToDOSStr(C.Text), C.Expected) << C.Text;
}

// --- Packed DOS date-times -----------------------------------------------------

Integer PackDosTime(Cardinal Year, Cardinal Month, Cardinal Day, Cardinal Hour, Cardinal Min,
                    Cardinal Sec) {
    return static_cast<Integer>((Year - 1980) << 25 | Month << 21 | Day << 16 | Hour << 11 |
                                Min << 5 | Sec / 2);
}

TEST(ConvertTools, UnpackTimeSplitsTheFields) {
    struct Case {
        Integer DosTime;
        TDateTimeRec Expected;
    };
    for (const Case& C : {
             Case{0, {1980, 0, 0, 0, 0, 0}},
             Case{PackDosTime(2026, 12, 9, 22, 15, 42), {2026, 12, 9, 22, 15, 42}},
             Case{PackDosTime(2050, 6, 30, 8, 5, 0), {2050, 6, 30, 8, 5, 0}}, // sign bit set
             Case{-1, {2107, 15, 31, 31, 63, 62}},
         }) {
        TDateTimeRec Rec{};
        UnpackTime(C.DosTime, Rec);
        EXPECT_EQ(Rec.Year, C.Expected.Year) << C.DosTime;
        EXPECT_EQ(Rec.Month, C.Expected.Month) << C.DosTime;
        EXPECT_EQ(Rec.Day, C.Expected.Day) << C.DosTime;
        EXPECT_EQ(Rec.Hour, C.Expected.Hour) << C.DosTime;
        EXPECT_EQ(Rec.Min, C.Expected.Min) << C.DosTime;
        EXPECT_EQ(Rec.Sec, C.Expected.Sec) << C.DosTime;
    }
}

TEST(ConvertTools, SystemTimeToDateTime) {
    EXPECT_EQ(SystemTimeToDateTime(PackDosTime(2026, 12, 9, 22, 15, 42)),
              EncodeDate(2026, 12, 9) + EncodeTime(22, 15, 42, 0));
    EXPECT_EQ(SystemTimeToDateTime(PackDosTime(2050, 6, 30, 0, 0, 0)), EncodeDate(2050, 6, 30));
    for (Integer Bad : {0, PackDosTime(2026, 13, 1, 0, 0, 0), PackDosTime(2026, 2, 30, 0, 0, 0),
                        PackDosTime(2026, 1, 1, 24, 0, 0), PackDosTime(2026, 1, 1, 0, 60, 0),
                        PackDosTime(2026, 1, 1, 0, 0, 60), PackDosTime(2026, 1, 1, 0, 0, 62)})
        EXPECT_THROW(SystemTimeToDateTime(Bad), EConvertError) << Bad;
}

} // namespace
