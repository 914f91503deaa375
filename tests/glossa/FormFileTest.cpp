#include "apps/glossa/FormFile.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "platform/os/FileSystem.h"
#include "tests/os/TempFolder.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

namespace orlo::glossa {
namespace {

using test::ExpectError;
using test::TTempFolder;

const String Source = ORLO_SOURCE_DIR;

String BinaryOfText(const String& Text) {
    TMemoryStream In, Out;
    In.WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
    In.SetPosition(0);
    ObjectTextToBinary(&In, &Out);
    return String(reinterpret_cast<const char*>(Out.Memory()), static_cast<size_t>(Out.Size()));
}

// A small form: two components of classes this program does not know, one of
// them with a sub-object, a string list and a collection, and a TGlossa that
// translates a caption, a line, a collection item and a named string.
const char* const SmallForm = R"(object Settings: TSettingsForm
  Caption = 'Settings'
  Width = 300
  object Label1: TFancyLabel
    Caption = 'Name'
    Font.Name = 'Sans'
    Lines.Strings = (
      'one'
      'two')
    Buttons = <
      item
        Caption = 'OK'
        Width = 10
      end>
    Flags = [fA, fB]
  end
  object Glossa1: TGlossa
    Language = 'English'
    LanguageManager_Langs = <
      item
        Name = 'English'
        SubIndex = 0
      end
      item
        Name = 'Deutsch'
        SubIndex = 1
      end>
    LanguageManager_Comps = <
      item
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
            Count = 2
            Values = {
              00000000}
          end>
        SubType = [stPubPropObject]
        Ref = Label1
      end>
    LanguageManager_Names = ''
    LanguageManager_Values = ''
  end
end
)";

TEST(FormFile, LoadingAndSavingUnchangedKeepsEveryByte) {
    for (const char* Name : {"examples/forms/MainForm.dfm", "examples/forms/SettingsForm.dfm",
                             "examples/forms/ReportForm.dfm", "examples/forms/PreviewForm.dfm",
                             "examples/forms/Messages.lng", "tests/data/glossa/MainForm.dfm",
                             "tests/data/glossa/OptionsForm.dfm", "tests/data/glossa/ToolForm.dfm",
                             "tests/data/glossa/UnitStrings.lng"}) {
        SCOPED_TRACE(Name);
        std::unique_ptr<TFormFile> Form = TFormFile::Load(Source + "/" + Name);
        EXPECT_EQ(Form->Content(), ReadFileContent(Source + "/" + Name));
    }
}

TEST(FormFile, ReadsTheActiveValueFromTheStoredProperty) {
    TTempFolder Folder;
    ReplaceFileContent(Folder.File("f.dfm"), SmallForm);
    std::unique_ptr<TFormFile> Form = TFormFile::Load(Folder.File("f.dfm"));
    EXPECT_EQ(Form->Root().ClassName, "TSettingsForm");
    EXPECT_EQ(Form->GlossaName(), "Glossa1");
    TLanguageManager* Manager = Form->LanguageManager();
    ASSERT_EQ(Manager->Comps()->Count(), 1);
    auto* Entry =
        static_cast<TConsistentLangPropertyEntry*>(Manager->Comps()->Items(0)->Props()->Items(0));
    EXPECT_EQ(Entry->GetLangValue(0).AsString(), "Name");
    EXPECT_TRUE(Entry->GetLangValue(1).IsNull());
    EXPECT_EQ(Manager->RootClassName(), "TSettingsForm");
}

TEST(FormFile, ChangedValuesGoIntoTheirPlaceAndNothingElseMoves) {
    TTempFolder Folder;
    ReplaceFileContent(Folder.File("f.dfm"), SmallForm);
    std::unique_ptr<TFormFile> Form = TFormFile::Load(Folder.File("f.dfm"));
    auto* Entry = static_cast<TConsistentLangPropertyEntry*>(
        Form->LanguageManager()->Comps()->Items(0)->Props()->Items(0));
    Entry->SetLangValue(0, Variant(String("Vorname")));
    Entry->SetLangValue(1, Variant(String("Name (de)")));
    Form->Save();
    const String Saved = ReadFileContent(Folder.File("f.dfm"));
    EXPECT_NE(Saved.find("    Caption = 'Vorname'\n    Font.Name = 'Sans'"), String::npos) << Saved;
    // Only the changed lines differ: the head and the tail are the original's.
    const String Original = SmallForm;
    EXPECT_EQ(Saved.substr(0, Original.find("    Caption = 'Name'")),
              Original.substr(0, Original.find("    Caption = 'Name'")));
    EXPECT_EQ(Saved.substr(Saved.find("    LanguageManager_Names")),
              Original.substr(Original.find("    LanguageManager_Names")));
    std::unique_ptr<TFormFile> Again = TFormFile::Load(Folder.File("f.dfm"));
    auto* Read = static_cast<TConsistentLangPropertyEntry*>(
        Again->LanguageManager()->Comps()->Items(0)->Props()->Items(0));
    EXPECT_EQ(Read->GetLangValue(0).AsString(), "Vorname");
    EXPECT_EQ(Read->GetLangValue(1).AsString(), "Name (de)");
}

TEST(FormFile, BinaryFormsStayBinary) {
    TTempFolder Folder;
    const String Binary = BinaryOfText(SmallForm);
    ReplaceFileContent(Folder.File("f.dfm"), Binary);
    std::unique_ptr<TFormFile> Form = TFormFile::Load(Folder.File("f.dfm"));
    EXPECT_EQ(Form->FileFormat(), TFormFormat::Binary);
    EXPECT_EQ(Form->Content(), Binary);
    auto* Entry = static_cast<TConsistentLangPropertyEntry*>(
        Form->LanguageManager()->Comps()->Items(0)->Props()->Items(0));
    Entry->SetLangValue(1, Variant(String("Name (de)")));
    Form->Save();
    std::unique_ptr<TFormFile> Again = TFormFile::Load(Folder.File("f.dfm"));
    EXPECT_EQ(Again->FileFormat(), TFormFormat::Binary);
    auto* Read = static_cast<TConsistentLangPropertyEntry*>(
        Again->LanguageManager()->Comps()->Items(0)->Props()->Items(0));
    EXPECT_EQ(Read->GetLangValue(1).AsString(), "Name (de)");
}

TEST(FormFile, StoredTextsOfAnUnknownComponent) {
    TTempFolder Folder;
    ReplaceFileContent(Folder.File("f.dfm"), SmallForm);
    std::unique_ptr<TFormFile> Form = TFormFile::Load(Folder.File("f.dfm"));
    std::vector<String> Paths;
    for (const TStoredText& Text : Form->StoredTexts(*Form->FindObject("label1")))
        Paths.push_back(Text.Path + "=" + Text.Value);
    EXPECT_EQ(Paths, (std::vector<String>{"Caption=Name", "Font.Name=Sans", "Lines.Strings[0]=one",
                                          "Lines.Strings[1]=two", "Buttons[0].Caption=OK"}));
}

TEST(FormFile, BadFilesAreRefusedNamingTheFile) {
    TTempFolder Folder;
    const struct {
        const char* Content;
        const char* Message;
    } Cases[] = {
        {"hello", ": not a form file (text or binary form, or resource file expected)"},
        {"object F: TF\nend\n", ": the form has no TGlossa component"},
        {"object F: TF\n  Caption = 'x\nend\n", ": Line 2: "},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Content);
        ReplaceFileContent(Folder.File("bad.dfm"), Case.Content);
        try {
            TFormFile::Load(Folder.File("bad.dfm"));
            ADD_FAILURE() << "no error";
        } catch (const EFormFileError& E) {
            EXPECT_EQ(E.Message().rfind(Folder.File("bad.dfm") + Case.Message, 0), 0u)
                << E.Message();
        }
    }
}

} // namespace
} // namespace orlo::glossa
