#include "platform/rtl/Variant.h"
#include "platform/rtl/DateUtils.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <limits>

namespace orlo {
namespace {

using test::ExpectError;

String CannotConvert(const char* From, const char* To) {
    return String("Could not convert variant of type (") + From + ") into type (" + To + ")";
}

String Overflow(const char* From, const char* To) {
    return String("Overflow while converting variant of type (") + From + ") into type (" + To +
           ")";
}

TEST(Variant, ConstructorsSetTheTypeCode) {
    EXPECT_EQ(Variant().VarType(), varEmpty);
    EXPECT_EQ(Variant::Null().VarType(), varNull);
    EXPECT_EQ(Variant(1).VarType(), varInteger);
    EXPECT_EQ(Variant(Int64(1)).VarType(), varInt64);
    EXPECT_EQ(Variant(1.0).VarType(), varDouble);
    EXPECT_EQ(Variant(true).VarType(), varBoolean);
    EXPECT_EQ(Variant(Currency{}).VarType(), varCurrency);
    EXPECT_EQ(Variant(String("x")).VarType(), varString);
    EXPECT_EQ(Variant("x").VarType(), varString);
    EXPECT_EQ(Variant::FromSmallint(1).VarType(), varSmallint);
    EXPECT_EQ(Variant::FromByte(1).VarType(), varByte);
    EXPECT_EQ(Variant::FromSingle(1).VarType(), varSingle);
    EXPECT_EQ(Variant::FromDate(1).VarType(), varDate);
    EXPECT_EQ(Variant::FromOleStr("x").VarType(), varOleStr);
    EXPECT_EQ(Variant::OfType(varDispatch).VarType(), varDispatch);
    EXPECT_TRUE(Variant().IsEmpty());
    EXPECT_TRUE(Variant::Null().IsNull());
    EXPECT_EQ(Variant(static_cast<const char*>(nullptr)).AsString(), "");
}

TEST(Variant, EmptyIsZeroAndNullNeverConverts) {
    const Variant Empty;
    EXPECT_EQ(Empty.AsString(), "");
    EXPECT_EQ(Empty.AsInteger(), 0);
    EXPECT_EQ(Empty.AsInt64(), 0);
    EXPECT_EQ(Empty.AsDouble(), 0);
    EXPECT_EQ(Empty.AsCurrency(), Currency{});
    EXPECT_EQ(Empty.AsDate(), 0);
    EXPECT_FALSE(Empty.AsBoolean());

    for (const Variant& V : {Variant::Null(), Variant::OfType(varDispatch)}) {
        const char* From = V.IsNull() ? "Null" : "Dispatch";
        ExpectError<EVariantError>([&] { V.AsString(); }, CannotConvert(From, "String"));
        ExpectError<EVariantError>([&] { V.AsInteger(); }, CannotConvert(From, "Integer"));
        ExpectError<EVariantError>([&] { V.AsInt64(); }, CannotConvert(From, "Int64"));
        ExpectError<EVariantError>([&] { V.AsDouble(); }, CannotConvert(From, "Double"));
        ExpectError<EVariantError>([&] { V.AsCurrency(); }, CannotConvert(From, "Currency"));
        ExpectError<EVariantError>([&] { V.AsDate(); }, CannotConvert(From, "Date"));
        ExpectError<EVariantError>([&] { V.AsBoolean(); }, CannotConvert(From, "Boolean"));
    }
}

TEST(Variant, NumbersToText) {
    struct {
        Variant Value;
        const char* Text;
    } const Cases[] = {
        {Variant(42), "42"},
        {Variant(-7), "-7"},
        {Variant(Int64(5000000000)), "5000000000"},
        {Variant::FromSmallint(-2), "-2"},
        {Variant::FromByte(255), "255"},
        {Variant(2.5), "2.5"},
        {Variant(1e20), "1E20"},
        {Variant::FromSingle(0.1f), "0.1"},
        {Variant::FromSingle(16777216.0f), "16777216"},
        {Variant(Currency::FromScaled(15000)), "1.5"},
        {Variant(true), "True"},
        {Variant(false), "False"},
        {Variant::FromDate(EncodeDate(2024, 3, 5) + 0.5), "2024-03-05 12:00:00"},
        {Variant::FromDate(EncodeDate(2024, 3, 5)), "2024-03-05"},
        {Variant::FromOleStr("wide"), "wide"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(C.Value.AsString(), C.Text);
}

TEST(Variant, NumbersToIntegersWithBankersRounding) {
    struct {
        Variant Value;
        Integer Expected;
    } const Cases[] = {
        {Variant(42), 42},
        {Variant::FromByte(200), 200},
        {Variant::FromSmallint(-300), -300},
        {Variant(Int64(-5)), -5},
        {Variant(2.5), 2},
        {Variant(3.5), 4},
        {Variant(-2.5), -2},
        {Variant(-3.5), -4},
        {Variant(2.4999), 2},
        {Variant(2.5000001), 3},
        {Variant(-0.4), 0},
        {Variant(2147483647.4), INT32_MAX},
        {Variant(-2147483648.5), INT32_MIN},
        {Variant::FromSingle(1.5f), 2},
        {Variant(Currency::FromScaled(15000)), 2},
        {Variant(Currency::FromScaled(25000)), 2},
        {Variant(Currency::FromScaled(-25000)), -2},
        {Variant(Currency::FromScaled(-35000)), -4},
        {Variant(Currency::FromScaled(25001)), 3},
        {Variant::FromDate(45356.5), 45356},
        {Variant(true), -1},
        {Variant(false), 0},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(C.Value.AsInteger(), C.Expected) << C.Value.AsString();
        EXPECT_EQ(C.Value.AsInt64(), C.Expected) << C.Value.AsString();
    }
}

TEST(Variant, IntegerOverflow) {
    ExpectError<EVariantError>([] { Variant(Int64(5000000000)).AsInteger(); },
                               Overflow("Int64", "Integer"));
    ExpectError<EVariantError>([] { Variant(1e20).AsInteger(); }, Overflow("Double", "Integer"));
    ExpectError<EVariantError>([] { Variant(2147483647.5).AsInteger(); },
                               Overflow("Double", "Integer"));
    ExpectError<EVariantError>([] { Variant(1e20).AsInt64(); }, Overflow("Double", "Int64"));
    ExpectError<EVariantError>([] { Variant(std::numeric_limits<double>::quiet_NaN()).AsInt64(); },
                               Overflow("Double", "Int64"));
    ExpectError<EVariantError>([] { Variant::FromDate(1e10).AsInteger(); },
                               Overflow("Date", "Integer"));
    ExpectError<EVariantError>([] { Variant(Currency::FromScaled(INT64_MAX)).AsInteger(); },
                               Overflow("Currency", "Integer"));
    EXPECT_EQ(Variant(Currency::FromScaled(INT64_MAX)).AsInt64(), 922337203685478);
    EXPECT_EQ(Variant(-9223372036854775808.0).AsInt64(), INT64_MIN);
}

TEST(Variant, NumbersToFloatCurrencyDateAndBoolean) {
    EXPECT_EQ(Variant(42).AsDouble(), 42);
    EXPECT_EQ(Variant::FromSingle(0.1f).AsDouble(), double(0.1f));
    EXPECT_EQ(Variant(Currency::FromScaled(-25000)).AsDouble(), -2.5);
    EXPECT_EQ(Variant(true).AsDouble(), -1);
    EXPECT_EQ(Variant::FromDate(1.25).AsDouble(), 1.25);

    EXPECT_EQ(Variant(42).AsCurrency(), Currency::FromScaled(420000));
    EXPECT_EQ(Variant(1.00005).AsCurrency(), Currency::FromScaled(10001));
    EXPECT_EQ(Variant(true).AsCurrency(), Currency::FromScaled(-10000));
    ExpectError<EVariantError>([] { Variant(1e20).AsCurrency(); }, Overflow("Double", "Currency"));
    ExpectError<EVariantError>([] { Variant(INT64_MAX).AsCurrency(); },
                               Overflow("Int64", "Currency"));

    EXPECT_EQ(Variant(3).AsDate(), 3);
    EXPECT_EQ(Variant(2.75).AsDate(), 2.75);
    EXPECT_EQ(Variant(Currency::FromScaled(15000)).AsDate(), 1.5);
    EXPECT_EQ(Variant(true).AsDate(), -1);

    for (const Variant& V : {Variant(1), Variant(-1), Variant(0.5), Variant::FromByte(1),
                             Variant(Currency::FromScaled(1)), Variant::FromDate(0.1)})
        EXPECT_TRUE(V.AsBoolean()) << V.AsString();
    for (const Variant& V :
         {Variant(0), Variant(0.0), Variant(Int64(0)), Variant(Currency{}), Variant(false)})
        EXPECT_FALSE(V.AsBoolean()) << V.AsString();
}

TEST(Variant, TextToIntegers) {
    struct {
        const char* Text;
        Integer Expected;
    } const Cases[] = {{"42", 42}, {" 42 ", 42}, {"-7", -7},    {"$1A", 26},      {"0x1A", 26},
                       {"2.5", 2}, {"3.5", 4},   {"1e3", 1000}, {"$FFFFFFFF", -1}};
    for (const auto& C : Cases)
        EXPECT_EQ(Variant(C.Text).AsInteger(), C.Expected) << C.Text;
    EXPECT_EQ(Variant("3000000000").AsInt64(), 3000000000);
    EXPECT_EQ(Variant("$FFFFFFFF").AsInt64(), 0xFFFFFFFF);
    EXPECT_EQ(Variant::FromOleStr("12").AsInteger(), 12);
    for (const char* Text : {"abc", "", "12abc", "True"}) {
        ExpectError<EVariantError>([&] { Variant(Text).AsInteger(); },
                                   CannotConvert("String", "Integer"));
        ExpectError<EVariantError>([&] { Variant(Text).AsInt64(); },
                                   CannotConvert("String", "Int64"));
    }
    ExpectError<EVariantError>([] { Variant::FromOleStr("x").AsInteger(); },
                               CannotConvert("OleStr", "Integer"));
    ExpectError<EVariantError>([] { Variant("3000000000").AsInteger(); },
                               Overflow("String", "Integer"));
    ExpectError<EVariantError>([] { Variant("1e30").AsInt64(); }, Overflow("String", "Int64"));
}

TEST(Variant, TextToFloatCurrencyDateAndBoolean) {
    EXPECT_EQ(Variant("1.5").AsDouble(), 1.5);
    EXPECT_EQ(Variant(" -2e-3 ").AsDouble(), -2e-3);
    EXPECT_EQ(Variant("$10").AsDouble(), 16);
    ExpectError<EVariantError>([] { Variant("1,5").AsDouble(); },
                               CannotConvert("String", "Double"));

    EXPECT_EQ(Variant("1.23455").AsCurrency(), Currency::FromScaled(12346));
    EXPECT_EQ(Variant("922337203685477.5807").AsCurrency(), Currency::FromScaled(INT64_MAX));
    EXPECT_EQ(Variant("$10").AsCurrency(), Currency::FromScaled(160000));
    ExpectError<EVariantError>([] { Variant("1e300").AsCurrency(); },
                               Overflow("String", "Currency"));
    ExpectError<EVariantError>([] { Variant("x").AsCurrency(); },
                               CannotConvert("String", "Currency"));

    EXPECT_EQ(Variant("2024-03-05").AsDate(), EncodeDate(2024, 3, 5));
    EXPECT_EQ(Variant("2024-03-05 12:00:00").AsDate(), EncodeDate(2024, 3, 5) + 0.5);
    ExpectError<EVariantError>([] { Variant("45000").AsDate(); }, CannotConvert("String", "Date"));

    struct {
        const char* Text;
        bool Expected;
    } const Booleans[] = {{"True", true}, {"true", true}, {" FALSE ", false}, {"0", false},
                          {"2", true},    {"-1", true},   {"0.0", false},     {"$0", false}};
    for (const auto& C : Booleans)
        EXPECT_EQ(Variant(C.Text).AsBoolean(), C.Expected) << C.Text;
    for (const char* Text : {"yes", "", "T"})
        ExpectError<EVariantError>([&] { Variant(Text).AsBoolean(); },
                                   CannotConvert("String", "Boolean"));
}

TEST(Variant, SameAsComparesTypeAndPayload) {
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Variant(1), Variant(1));
    EXPECT_NE(Variant(1), Variant(2));
    EXPECT_NE(Variant(1), Variant(Int64(1)));
    EXPECT_NE(Variant(1.0), Variant::FromDate(1.0));
    EXPECT_EQ(Variant(NaN), Variant(NaN));
    EXPECT_EQ(Variant("a"), Variant(String("a")));
    EXPECT_NE(Variant("a"), Variant::FromOleStr("a"));
    EXPECT_NE(Variant("a"), Variant("b"));
    EXPECT_EQ(Variant(), Variant());
    EXPECT_EQ(Variant::Null(), Variant::Null());
    EXPECT_NE(Variant::Null(), Variant());
    EXPECT_EQ(Variant(Currency::FromScaled(5)), Variant(Currency::FromScaled(5)));
    EXPECT_NE(Variant(true), Variant(1));
}

TEST(Variant, CopiesAreIndependent) {
    Variant Original(String(100, 'x'));
    Variant Copy = Original;
    Original = Variant(5);
    EXPECT_EQ(Copy.AsString(), String(100, 'x'));
    Variant Moved = std::move(Copy);
    EXPECT_EQ(Moved.AsString().size(), 100u);
    Moved = Variant(2.5);
    EXPECT_EQ(Moved.AsString(), "2.5");
}

TEST(VarTypeAsText, Names) {
    struct {
        TVarType Type;
        const char* Name;
    } const Cases[] = {
        {varEmpty, "Empty"},
        {varNull, "Null"},
        {varSmallint, "Smallint"},
        {varInteger, "Integer"},
        {varSingle, "Single"},
        {varDouble, "Double"},
        {varCurrency, "Currency"},
        {varDate, "Date"},
        {varOleStr, "OleStr"},
        {varDispatch, "Dispatch"},
        {varError, "Error"},
        {varBoolean, "Boolean"},
        {varVariant, "Variant"},
        {varUnknown, "Unknown"},
        {varShortInt, "ShortInt"},
        {varByte, "Byte"},
        {varWord, "Word"},
        {varLongWord, "LongWord"},
        {varInt64, "Int64"},
        {varString, "String"},
        {0x000E, "$000E"},
        {varArray | varInteger, "Array Integer"},
        {varByRef | varString, "ByRef String"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(VarTypeAsText(C.Type), C.Name);
}

} // namespace
} // namespace orlo
