#include "tools/VersionControl.h"

#include "platform/classes/Strings.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orlo;

namespace {

bool IsRegistered(const String& Header) {
    const std::vector<String> Lines = GetUnitVersions();
    return std::find(Lines.begin(), Lines.end(), Header) != Lines.end();
}

bool HasUnit(const String& PathAndFile) {
    const String Start = "$Header: " + PathAndFile + " ";
    const std::vector<String> Lines = GetUnitVersions();
    return std::any_of(Lines.begin(), Lines.end(),
                       [&](const String& Line) { return Line.starts_with(Start); });
}

TEST(VersionControl, UnitsRegisterAtStartUp) {
    for (const char* Unit : {"/tools/StringTools.cpp", "/tools/VersionControl.cpp",
                             "/tools/Debug.cpp", "/runtime/ConvertTools.cpp"})
        EXPECT_TRUE(HasUnit(Unit)) << Unit;
    for (const String& Line : GetUnitVersions())
        EXPECT_NO_THROW(ExtractHeader(Line)) << Line;
}

TEST(VersionControl, KeepsRegistrationOrder) {
    const String First = "$Header: /test/First.cpp 1.0 01.01.26 10:00 test $";
    const String Second = "$Header: /test/Second.cpp 1.0 01.01.26 10:00 test $";
    const std::vector<String> Before = GetUnitVersions();
    RegisterUnitVersion(First);
    RegisterUnitVersion(Second);
    std::vector<String> Expected = Before;
    Expected.push_back(First);
    Expected.push_back(Second);
    EXPECT_EQ(GetUnitVersions(), Expected);

    UnregisterUnitVersion(First);
    UnregisterUnitVersion(Second);
    EXPECT_EQ(GetUnitVersions(), Before);
}

TEST(VersionControl, RegistrarLastsAsLongAsItsObject) {
    const char* Header = "$Header: /test/Scoped.cpp 1.0 01.01.26 10:00 test $";
    {
        const TUnitVersion Version(Header);
        EXPECT_TRUE(IsRegistered(Header));
    }
    EXPECT_FALSE(IsRegistered(Header));
    UnregisterUnitVersion(Header); // absent: nothing happens
}

TEST(VersionControl, RejectsMalformedLines) {
    const std::vector<String> Before = GetUnitVersions();
    for (const char* Line : {
             "",
             "$Header: /x.cpp 1.0 01.01.26 12:00 a",
             "$Header: /x.cpp 1.0 01.01.26 12:00 a$",
             "Header: /x.cpp 1.0 01.01.26 12:00 a $",
             "$Header: x.cpp 1.0 01.01.26 12:00 a $",
             "$Header:/x.cpp 1.0 01.01.26 12:00 a $",
             "$Header: /$",
         }) {
        try {
            RegisterUnitVersion(Line);
            ADD_FAILURE() << "accepted: " << Line;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(),
                      String("RegisterUnitVersion failed. Invalid header line: ") + Line);
        }
    }
    EXPECT_EQ(GetUnitVersions(), Before);
}

TEST(VersionControl, ListsIntoStrings) {
    TStringList List;
    List.Add("stale line");
    GetUnitVersions(&List);
    const std::vector<String> Lines = GetUnitVersions();
    ASSERT_EQ(List.Count(), static_cast<Integer>(Lines.size()));
    for (Integer I = 0; I < List.Count(); ++I)
        EXPECT_EQ(List.Strings(I), Lines[static_cast<std::size_t>(I)]);
}

TEST(VersionControl, ExtractHeaderSplitsTheFields) {
    struct Case {
        const char* Header;
        const char* Path;
        const char* FileName;
        const char* Revision;
        Word Year, Month, Day, Hour, Min;
        const char* Author;
    };
    for (const Case& C : {
             Case{"$Header: /tools/StringTools.cpp 1.0 09.12.26 12:00 orlo $", "/tools/",
                  "StringTools.cpp", "1.0", 2026, 12, 9, 12, 0, "orlo"},
             Case{"$Header: /Root.pas 1.1 1.2.2003 7:05 x $", "/", "Root.pas", "1.1", 2003, 2, 1, 7,
                  5, "x"},
             Case{"$Header: /u.pas 1.0 13.01.26 23:59 bob $", "/", "u.pas", "1.0", 2026, 1, 13, 23,
                  59, "bob"},
             // Not "dd.mm.yy hh:nn": read as "mm/dd/yy hh:nna/p".
             Case{"$Header: /a/b/Unit.pas 2.13 12/31/1998 11:30p Jane Doe $", "/a/b/", "Unit.pas",
                  "2.13", 1998, 12, 31, 23, 30, "Jane Doe"},
             Case{"$Header: /u.pas 1.0 02/03/26 12:15a bob $", "/", "u.pas", "1.0", 2026, 2, 3, 0,
                  15, "bob"},
             Case{"$Header: /u.pas 1.0 02/03/26 12:15PM bob $", "/", "u.pas", "1.0", 2026, 2, 3, 12,
                  15, "bob"},
             Case{"$Header: /u.pas 1.0 01/13/26 21:05 bob $", "/", "u.pas", "1.0", 2026, 1, 13, 21,
                  5, "bob"},
             Case{"$Header: /u.pas  1.0\t09.12.26  12:00   orlo  gbr $", "/", "u.pas", "1.0", 2026,
                  12, 9, 12, 0, "orlo gbr"},
         }) {
        String Path, FileName, Revision, Author;
        TDateTime Date = -1, Time = -1;
        ExtractHeader(C.Header, Path, FileName, Revision, Date, Time, Author);
        EXPECT_EQ(Path, C.Path) << C.Header;
        EXPECT_EQ(FileName, C.FileName) << C.Header;
        EXPECT_EQ(Revision, C.Revision) << C.Header;
        EXPECT_EQ(Date, EncodeDate(C.Year, C.Month, C.Day)) << C.Header;
        EXPECT_EQ(Time, EncodeTime(C.Hour, C.Min, 0, 0)) << C.Header;
        EXPECT_EQ(Author, C.Author) << C.Header;
    }
}

TEST(VersionControl, ExtractHeaderRejectsWhatItCannotRead) {
    struct Case {
        const char* Header;
        const char* Reason;
    };
    for (const Case& C : {
             Case{"not a header", "Invalid header line: "},
             Case{"$Header: /u.pas 1.0 09.12.26 $", "Missing fields in header line: "},
             Case{"$Header: /u.pas 1.0 31.02.26 12:00 x $",
                  "Invalid date or time in header line: "},
             Case{"$Header: /u.pas 1.0 09.12.26 24:00 x $",
                  "Invalid date or time in header line: "},
             Case{"$Header: /u.pas 1.0 09.12.26 12:60 x $",
                  "Invalid date or time in header line: "},
             Case{"$Header: /u.pas 1.0 09.12.26 12:00p x $",
                  "Invalid date or time in header line: "},
             Case{"$Header: /u.pas 1.0 12/31/98 13:00p x $",
                  "Invalid date or time in header line: "},
             Case{"$Header: /u.pas 1.0 12/31/98 0:30a x $",
                  "Invalid date or time in header line: "},
             Case{"$Header: /u.pas 1.0 09-12-26 12:00 x $",
                  "Invalid date or time in header line: "},
             Case{"$Header: /u.pas 1.0 09.12.026 12:00 x $",
                  "Invalid date or time in header line: "},
             Case{"$Header: /u.pas 1.0 09.12.26 12:0 x $", "Invalid date or time in header line: "},
         }) {
        try {
            ExtractHeader(C.Header);
            ADD_FAILURE() << "accepted: " << C.Header;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), String("ExtractHeader failed. ") + C.Reason + C.Header);
        }
    }
}

} // namespace
