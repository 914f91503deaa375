// TConfigFile in one process: every picked property kind through an INI file
// and a registry key, the store's layout, the moments of loading, settings
// that outlive changes of the form, failures with and without their boxes,
// the window state, the extra object, and handlers that free the component.

#include "config/ConfigFile.h"

#include "platform/classes/AppHooks.h"
#include "platform/classes/Registry.h"
#include "platform/forms/ModalScript.h"
#include "platform/os/FilePaths.h"
#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "runtime/Glossa.h"
#include "tests/classes/LinesOf.h"
#include "tests/config/ConfigFileTestSupport.h"
#include "tests/os/TempFolder.h"
#include "tests/rtl/ExpectError.h"
#include "tests/tools/TraceRecorder.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/MsgBox.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orlo::test {
namespace {

// The lines of a text file.
std::vector<String> FileLines(const String& FileName) {
    TStringList Lines;
    Lines.SetText(ReadFileContent(FileName));
    return LinesOf(Lines);
}

// The line of the file that begins with Key and "=".
String LineOf(const String& FileName, const String& Key) {
    for (const String& Line : FileLines(FileName))
        if (Line.rfind(Key + "=", 0) == 0)
            return Line;
    return String();
}

// What a message box showed.
struct TShownBox {
    String Title;
    String Text;
};

TShownBox CloseBox(TCustomForm* Form) {
    auto* Box = dynamic_cast<TMyMsgForm*>(Form);
    TShownBox Shown;
    if (!Box) {
        ADD_FAILURE() << "not a message box: " << Form->ClassName();
        return Shown;
    }
    Shown = {Box->Caption(), Box->MsgLabel->Caption()};
    TButtonCollection* Items = Box->ButtonPanel->Buttons();
    for (Integer I = 0; I < Items->Count(); ++I)
        if (Items->Items(I)->GetBool(3)) // visible: the box's one OK button
            return Items->Items(I)->Button()->Click(), Shown;
    ADD_FAILURE() << "no button";
    return Shown;
}

class ConfigFileTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(Script.Pending(), 0); }

    // A second form with the same components at their start values, as the
    // next run of the program has it.
    std::unique_ptr<TSettingsForm> NextRun() { return MakeSettingsForm(IniFile); }

    THandlers Handlers;
    TRegistrySandbox Folder;
    const String IniFile = Folder.File("settings.ini");
    std::unique_ptr<TSettingsForm> Form = MakeSettingsForm(IniFile);
    TConfigFile* Config = Form->Config;
    TModalScript Script; // a box that no test expects fails the test
};

// --- Published properties and names ---------------------------------------------------------

TEST_F(ConfigFileTest, PublishedPropertiesInTheirOrderWithTheirDefaults) {
    std::vector<String> Names;
    for (const TPropInfo* Info : GetPropList(Config))
        Names.push_back(Info->Name);
    const std::vector<String> Expected = {"Name",
                                          "Tag",
                                          "AutoLoad",
                                          "ConfigFile",
                                          "FileName",
                                          "HintPosition",
                                          "HintsEnabled",
                                          "Mode",
                                          "RegistryPath",
                                          "RegistryRoot",
                                          "SaveSuperFormState",
                                          "Section",
                                          "LoadErrorCaption",
                                          "LoadErrorText",
                                          "SaveErrorCaption",
                                          "SaveErrorText",
                                          "ShowLoadError",
                                          "ShowSaveError",
                                          "OnCheckValues",
                                          "OnGetDefaults",
                                          "OnGetInstance",
                                          "AfterLoad",
                                          "AfterSave",
                                          "BeforeLoad",
                                          "BeforeSave",
                                          "OnLoadComponentQuery",
                                          "OnSaveComponentQuery"};
    EXPECT_EQ(Names, Expected);

    TConfigFile Fresh(nullptr);
    EXPECT_FALSE(Fresh.AutoLoad());
    EXPECT_EQ(Fresh.FileName(), "");
    EXPECT_EQ(Fresh.HintPosition(), 49);
    EXPECT_TRUE(Fresh.HintsEnabled());
    EXPECT_EQ(Fresh.Mode(), cmFile);
    EXPECT_EQ(Fresh.RegistryPath(), "Software\\Orlo GbR\\MyApplication");
    EXPECT_EQ(Fresh.RegistryRoot(), rkLocalMachine);
    EXPECT_FALSE(Fresh.SaveSuperFormState());
    EXPECT_EQ(Fresh.Section(), "");
    EXPECT_EQ(Fresh.LoadErrorText(), "Configuration file could not be loaded.");
    EXPECT_EQ(Fresh.SaveErrorText(), "Configuration file could not be saved.");
    EXPECT_FALSE(Fresh.ShowLoadError());
    EXPECT_TRUE(Fresh.ShowSaveError());
    EXPECT_EQ(Fresh.Status(), isNone);
    EXPECT_EQ(Fresh.GetSectionName(), "");
}

TEST_F(ConfigFileTest, FileNameIsTheProgramsNameWithCfgOrCompletedAgainstItsFolder) {
    TConfigFile Fresh(nullptr);
    EXPECT_EQ(Fresh.GetConfigFileName(), ChangeFileExt(ApplicationFileName(), ".cfg"));
    Fresh.SetFileName("sub/app.ini");
    EXPECT_EQ(Fresh.GetConfigFileName(), ExtractFilePath(ApplicationFileName()) + "sub/app.ini");
    Fresh.SetFileName(IniFile);
    EXPECT_EQ(Fresh.GetConfigFileName(), IniFile);
}

TEST_F(ConfigFileTest, StoreLayoutNamesSectionKeysAndHints) {
    SetSavedValues(Form.get());
    ASSERT_TRUE(Config->Save());
    const std::vector<String> Lines = FileLines(IniFile);
    ASSERT_FALSE(Lines.empty());
    EXPECT_EQ(Lines[0], "[TSettingsForm]");
    // Enumerations and sets carry their type as hint at column 49.
    const String Align = LineOf(IniFile, "Kinds.Align");
    EXPECT_EQ(Align.substr(0, 19), "Kinds.Align=alRight");
    EXPECT_EQ(Align.find(';'), 49u);
    EXPECT_EQ(Align.substr(49), ";(alNone,alTop,alBottom,alLeft,alRight,alClient)");
    EXPECT_EQ(LineOf(IniFile, "Kinds.Styles").substr(49),
              ";[fsBold,fsItalic,fsUnderline,fsStrikeOut]");
    EXPECT_EQ(LineOf(IniFile, "Kinds.Enabled").substr(49), ";(False,True)");
    // Other kinds have none, so a text with the marker keeps it.
    EXPECT_EQ(LineOf(IniFile, "Label1.Hint"), "Label1.Hint=first; second");
    EXPECT_EQ(LineOf(IniFile, "Kinds.Big"), "Kinds.Big=9007199254740993");
    EXPECT_EQ(LineOf(IniFile, "Label1.Font.Name"), "Label1.Font.Name=Courier New");
    EXPECT_EQ(LineOf(IniFile, "Memo1.Lines.Strings[2]"), "Memo1.Lines.Strings[2]=drei");
    EXPECT_EQ(LineOf(IniFile, "Panel1.Items[1].Caption"), "Panel1.Items[1].Caption=Second");
    // The form itself is named by its class without the first letter.
    EXPECT_EQ(LineOf(IniFile, "SettingsForm.Caption"), "SettingsForm.Caption=Saved settings");
}

TEST_F(ConfigFileTest, SectionGivenOrEmptyWithoutOwner) {
    Config->SetSection("Options");
    ASSERT_TRUE(Config->Save());
    EXPECT_EQ(FileLines(IniFile)[0], "[Options]");
    TConfigFile Unowned(nullptr);
    EXPECT_EQ(Unowned.GetSectionName(), "");
}

TEST_F(ConfigFileTest, HintsDisabledOrPositionBelowOneWriteBareValues) {
    for (const auto& [Enabled, Position] : {std::pair{false, 49}, std::pair{true, 0}}) {
        Config->SetHintsEnabled(Enabled);
        Config->SetHintPosition(Position);
        DeleteFile(IniFile);
        ASSERT_TRUE(Config->Save());
        EXPECT_EQ(LineOf(IniFile, "Kinds.Align"), "Kinds.Align=alNone") << Enabled << Position;
    }
}

// --- Round trips ---------------------------------------------------------------------------------

class ConfigFileRoundTrip : public ConfigFileTest,
                            public ::testing::WithParamInterface<TConfigMode> {
protected:
    void SetUp() override { UseMode(Form.get()); }
    void UseMode(TSettingsForm* Target) {
        Target->Config->SetMode(GetParam());
        Target->Config->SetRegistryRoot(rkCurrentUser);
        Target->Config->SetRegistryPath("Software\\Orlo GbR\\ConfigFileTest");
    }
};

TEST_P(ConfigFileRoundTrip, EveryPickedKindComesBackInTheNextRun) {
    SetSavedValues(Form.get());
    ASSERT_TRUE(Config->Save());
    auto Next = NextRun();
    UseMode(Next.get());
    ExpectStartValues(Next.get());
    ASSERT_TRUE(Next->Config->Load());
    ExpectSavedValues(Next.get());
}

TEST_P(ConfigFileRoundTrip, AbsentKeysLeaveThePropertiesAndAreCreatedWithTheirValues) {
    ASSERT_TRUE(Config->Save()); // creates the store
    Config->Entries()->Clear();
    Pick(Config, Form->Kinds, "Align");
    ASSERT_TRUE(Config->Save());
    auto Next = NextRun();
    UseMode(Next.get());
    Next->Kinds->Align = alClient;
    Next->Config->Entries()->Clear();
    Pick(Next->Config, Next->Kinds, "Small");
    Pick(Next->Config, Next->Kinds, "Align");
    Form->Kinds->Small = 9;
    ASSERT_TRUE(Next->Config->Load());
    EXPECT_EQ(Next->Kinds->Align, alNone);
    EXPECT_EQ(Next->Kinds->Small, 5);
}

TEST_P(ConfigFileRoundTrip, OneComponentAtATime) {
    SetSavedValues(Form.get());
    ASSERT_TRUE(Config->SaveComponentState(Form->Label1));
    auto Next = NextRun();
    UseMode(Next.get());
    ASSERT_TRUE(Next->Config->Load());
    EXPECT_EQ(Next->Label1->Caption(), "Saved caption");
    EXPECT_EQ(Next->Kinds->Align, alNone); // not saved

    Form->Label1->SetCaption("Changed");
    Form->Kinds->Align = alTop;
    ASSERT_TRUE(Config->Save());
    Next->Label1->SetCaption("Other");
    ASSERT_TRUE(Next->Config->LoadComponentState(Next->Kinds));
    EXPECT_EQ(Next->Kinds->Align, alTop);
    EXPECT_EQ(Next->Label1->Caption(), "Other");
    // A component no entry refers to opens and closes the store and changes nothing.
    ASSERT_TRUE(Next->Config->LoadComponentState(Next->Config));
    EXPECT_EQ(Next->Label1->Caption(), "Other");
    EXPECT_TRUE(Next->Config->LoadComponentState(nullptr));
    EXPECT_TRUE(Next->Config->SaveComponentState(nullptr));
}

INSTANTIATE_TEST_SUITE_P(Modes, ConfigFileRoundTrip, ::testing::Values(cmFile, cmRegistry),
                         [](const auto& Info) {
                             return String(Info.param == cmFile ? "IniFile" : "Registry");
                         });

TEST_F(ConfigFileTest, RegistryValuesAreNamedBySectionAndKey) {
    Config->SetMode(cmRegistry);
    Config->SetRegistryRoot(rkCurrentUser);
    Config->SetRegistryPath("Software\\Orlo GbR\\Designers");
    Config->SetSection("Global");
    Config->Entries()->Clear();
    Pick(Config, Form->Kinds, "Align");
    Pick(Config, Form->Label1, "Caption");
    Form->Kinds->Align = alTop;
    ASSERT_TRUE(Config->Save());
    TRegistry Reg;
    Reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(Reg.OpenKeyReadOnly("Software\\Orlo GbR\\Designers"));
    EXPECT_EQ(Reg.ReadString("Global\\Label1.Caption"), "Start caption");
    EXPECT_EQ(Reg.ReadString("Global\\Kinds.Align"),
              "alTop ;(alNone,alTop,alBottom,alLeft,alRight,alClient)");
}

// --- Changes of the program ----------------------------------------------------------------------

constexpr const char* StoredForm = R"(object SettingsForm: TSettingsForm
  Caption = 'Stored'
  object Kinds: TTestKinds
  end
  object Config: TConfigFile
    Entries = <
      item
        Ref = Kinds
        Items = <>
        Props = <
          item
            Name = 'Align'
            Kind = tkEnumeration
          end
          item
            Name = 'Removed'
            Kind = tkInteger
          end
          item
            Name = 'Small'
            Kind = tkInteger
          end>
        SubType = [stPubPropObject]
      end
      item
        Ref = Label1
        Items = <>
        Props = <
          item
            Name = 'Caption'
            Kind = tkLString
          end>
        SubType = [stPubPropObject]
      end>
  end
end
)";

TEST_F(ConfigFileTest, SettingsOfComponentsAndPropertiesThatAreGoneAreKept) {
    // An earlier version of the program saved these; this one has no Label1
    // and Kinds no longer publishes Removed.
    ReplaceFileContent(IniFile, "[TSettingsForm]\r\n"
                                "Label1.Caption=Kept caption\r\n"
                                "Kinds.Removed=17\r\n"
                                "Kinds.Align=alBottom\r\n"
                                "Kinds.Small=7\r\n");
    RegisterTestClasses();
    TTraceRecorder Trace;
    auto Stored = std::make_unique<TSettingsForm>(nullptr);
    ReadFormText(Stored.get(), StoredForm);
    ASSERT_NE(Stored->Config, nullptr);
    Stored->Config->SetFileName(IniFile);
    EXPECT_TRUE(Trace.Contains("TConfigFile.Init: stored entry Label1.Caption dropped: its "
                               "component no longer exists"));
    EXPECT_TRUE(Trace.Contains(
        "TConfigFile.Init: stored entry Kinds.Removed dropped: its property no longer exists"));

    ASSERT_TRUE(Stored->Config->Load());
    EXPECT_EQ(Stored->Kinds->Align, alBottom);
    EXPECT_EQ(Stored->Kinds->Small, 7);
    Stored->Kinds->Small = 6;
    ASSERT_TRUE(Stored->Config->Save());
    EXPECT_EQ(LineOf(IniFile, "Label1.Caption"), "Label1.Caption=Kept caption");
    EXPECT_EQ(LineOf(IniFile, "Kinds.Removed"), "Kinds.Removed=17");
    EXPECT_EQ(LineOf(IniFile, "Kinds.Small"), "Kinds.Small=6");
}

TEST_F(ConfigFileTest, StoredTextsThePropertyRefusesAreSkippedAndKept) {
    SetSavedValues(Form.get());
    ASSERT_TRUE(Config->Save());
    // A later version stored values this one does not know.
    TStringList Lines;
    Lines.SetText(ReadFileContent(IniFile));
    for (Integer I = 0; I < Lines.Count(); ++I) {
        if (Lines.Strings(I).rfind("Kinds.Align=", 0) == 0)
            Lines.Put(I, "Kinds.Align=alCenter");
        if (Lines.Strings(I).rfind("Kinds.Small=", 0) == 0)
            Lines.Put(I, "Kinds.Small=lots");
        if (Lines.Strings(I).rfind("Kinds.Big=", 0) == 0)
            Lines.Put(I, "Kinds.Big=many");
    }
    ReplaceFileContent(IniFile, Lines.Text());

    TTraceRecorder Trace;
    auto Next = NextRun();
    ASSERT_TRUE(Next->Config->Load());
    EXPECT_EQ(Next->Kinds->Align, alNone);
    EXPECT_EQ(Next->Kinds->Small, 5);
    EXPECT_EQ(Next->Kinds->Big, 0);
    EXPECT_EQ(Next->Label1->Caption(), "Saved caption"); // the others still load
    EXPECT_EQ(Next->Panel1->Panel(1)->Caption, "Second");
    const auto Skipped = std::count_if(Trace.Traced().begin(), Trace.Traced().end(), [](auto& L) {
        return L.find("not applied") != String::npos;
    });
    EXPECT_EQ(Skipped, 3);

    // Saving leaves them alone while the properties keep their values ...
    ASSERT_TRUE(Next->Config->Save());
    EXPECT_EQ(LineOf(IniFile, "Kinds.Align"), "Kinds.Align=alCenter");
    EXPECT_EQ(LineOf(IniFile, "Kinds.Big"), "Kinds.Big=many");
    // ... and writes what the user changed since.
    Next->Kinds->Small = 6;
    ASSERT_TRUE(Next->Config->Save());
    EXPECT_EQ(LineOf(IniFile, "Kinds.Small"), "Kinds.Small=6");
    EXPECT_EQ(LineOf(IniFile, "Kinds.Align"), "Kinds.Align=alCenter");
}

// --- Streaming and automatic loading -------------------------------------------------------------

TEST_F(ConfigFileTest, SettingsAndEntriesStreamWithTheForm) {
    Config->SetSection("Options");
    Config->SetShowLoadError(true);
    Config->SetHintPosition(30);
    const String Text = FormTextOf(Form.get());
    EXPECT_NE(Text.find("Section = 'Options'"), String::npos);
    EXPECT_NE(Text.find("Entries = <"), String::npos);
    EXPECT_EQ(Text.find("LoadErrorText"), String::npos); // the default is not stored
    EXPECT_EQ(Text.find("ConfigFile ="), String::npos);

    auto Copy = std::make_unique<TSettingsForm>(nullptr);
    ReadFormText(Copy.get(), Text);
    ASSERT_NE(Copy->Config, nullptr);
    EXPECT_EQ(Copy->Config->Section(), "Options");
    EXPECT_TRUE(Copy->Config->ShowLoadError());
    EXPECT_EQ(Copy->Config->HintPosition(), 30);
    EXPECT_EQ(FormTextOf(Copy.get()), Text);

    // The entries refer to the copy's components.
    SetSavedValues(Form.get());
    ASSERT_TRUE(Config->Save());
    Copy->Config->SetFileName(IniFile);
    Copy->Config->SetSection("TSettingsForm");
    Config->SetSection("TSettingsForm");
    ASSERT_TRUE(Config->Save());
    ASSERT_TRUE(Copy->Config->Load());
    ExpectSavedValues(Copy.get());
}

TEST_F(ConfigFileTest, AutoLoadLoadsWhenTheFormHasBeenRead) {
    SetSavedValues(Form.get());
    ASSERT_TRUE(Config->Save());
    auto Template = NextRun();
    Template->Config->SetAutoLoad(true);
    const String Text = FormTextOf(Template.get());

    auto Loaded = std::make_unique<TSettingsForm>(nullptr);
    ReadFormText(Loaded.get(), Text);
    ExpectSavedValues(Loaded.get());

    // Not in the designer.
    auto Designed = std::make_unique<TSettingsForm>(nullptr);
    Designed->SetDesigning(true);
    ReadFormText(Designed.get(), Text);
    EXPECT_EQ(Designed->Label1->Caption(), "Start caption");
}

// --- Failures ------------------------------------------------------------------------------------

TEST_F(ConfigFileTest, FailedLoadOfAMissingFileCallsDefaultsTwiceAndShowsNothing) {
    Integer Defaults = 0, Errors = 0, Before = 0;
    Config->OnGetDefaults = Handlers.Make<TNotifyEvent>([&](TObject*) { ++Defaults; });
    Config->OnLoadError = Handlers.Make<TNotifyEvent>([&](TObject*) { ++Errors; });
    Config->BeforeLoad = Handlers.Make<TExIniFileEvent>([&](TObject*, TExIniFile*) { ++Before; });
    EXPECT_FALSE(Config->Load());
    EXPECT_EQ(Defaults, 2);
    EXPECT_EQ(Errors, 1);
    EXPECT_EQ(Before, 0);
    EXPECT_FALSE(FileExists(IniFile)); // not created by reading
    EXPECT_TRUE(Script.Shown().empty());
    EXPECT_EQ(Config->Status(), isNone);
}

TEST_F(ConfigFileTest, LoadErrorShownWhenAsked) {
    Config->SetShowLoadError(true);
    Config->SetLoadErrorCaption("Settings");
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Box) { Shown = CloseBox(Box); });
    EXPECT_FALSE(Config->Load());
    EXPECT_EQ(Shown.Title, "Settings");
    EXPECT_EQ(Shown.Text, "Configuration file could not be loaded.");
}

// The save error in the language of the form's domain: the box's own title
// comes from its language data, the text from the configured property.
struct TSaveErrorCase {
    const char* Language;
    const char* Text;
    const char* Title;
};

class ConfigFileSaveError : public ConfigFileTest,
                            public ::testing::WithParamInterface<TSaveErrorCase> {};

TEST_P(ConfigFileSaveError, ShownByDefaultInTheFormsLanguage) {
    const TSaveErrorCase& Case = GetParam();
    auto* Glossa = new TGlossa(Form.get());
    Glossa->SetDomain(String("Config test ") + Case.Language);
    AddLanguages(Glossa, {Case.Language});
    Glossa->SetLanguage(Case.Language);
    Config->SetSaveErrorText(Case.Text);
    Config->SetFileName(Folder.File("no/such/folder/settings.ini"));
    Integer Errors = 0;
    Config->OnSaveError = Handlers.Make<TNotifyEvent>([&](TObject*) { ++Errors; });
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Box) {
        Screenshot(Box, String("config-save-error-") + Case.Language);
        Shown = CloseBox(Box);
    });
    EXPECT_FALSE(Config->Save());
    EXPECT_EQ(Shown.Title, Case.Title);
    EXPECT_EQ(Shown.Text, Case.Text);
    EXPECT_EQ(Errors, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ConfigFileSaveError,
    ::testing::Values(TSaveErrorCase{"English", "Configuration file could not be saved.", "Error"},
                      TSaveErrorCase{"Deutsch",
                                     "Konfigurationsdatei konnte nicht gespeichert werden.",
                                     "Fehler"}),
    [](const auto& Info) { return String(Info.param.Language); });

TEST_F(ConfigFileTest, OneSettingThatCannotBeWrittenFailsTheSaveButNotTheOthers) {
    // A store line cannot hold a line break.
    Form->Label1->SetCaption("two\nlines");
    Form->Kinds->Small = 9;
    Config->SetShowSaveError(false);
    EXPECT_FALSE(Config->Save());
    EXPECT_EQ(LineOf(IniFile, "Kinds.Small"), "Kinds.Small=9");
    EXPECT_EQ(LineOf(IniFile, "Label1.Caption"), "");
}

TEST_F(ConfigFileTest, CheckValuesRefusingFailsTheLoadAndRestoresTheDefaults) {
    SetSavedValues(Form.get());
    ASSERT_TRUE(Config->Save());
    auto Next = NextRun();
    Next->Config->OnCheckValues =
        Handlers.Make<TCheckEvent>([](TObject*, bool& OK) { OK = false; });
    Next->Config->OnGetDefaults =
        Handlers.Make<TNotifyEvent>([&](TObject*) { Next->Label1->SetCaption("Default"); });
    Next->Config->SetShowLoadError(true);
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Box) { Shown = CloseBox(Box); });
    EXPECT_FALSE(Next->Config->Load());
    EXPECT_EQ(Shown.Text, "Configuration file could not be loaded.");
    EXPECT_EQ(Next->Label1->Caption(), "Default");
}

TEST_F(ConfigFileTest, StartingATransferWhileOneRunsIsACriticalError) {
    ASSERT_TRUE(Config->Save());
    const struct {
        bool LoadRunning;
        bool LoadRequested;
        const char* Text;
    } Cases[] = {
        {true, true,
         "TConfigFile: Invalid reentrance. Load request while loading not possible. "
         "Change your conception"},
        {true, false,
         "TConfigFile: Invalid reentrance. Load request while saving not possible. "
         "Change your conception"},
        {false, true,
         "TConfigFile: Invalid reentrance. Save request while loading not possible. "
         "Change your conception"},
        {false, false,
         "TConfigFile: Invalid reentrance. Save request while saving not possible. "
         "Change your conception"},
    };
    for (const auto& Case : Cases) {
        Integer Handled = 0;
        const TExIniFileEvent Nested = Handlers.Make<TExIniFileEvent>([&](TObject*, TExIniFile*) {
            ++Handled;
            ExpectError<ECriticalError>(
                [&] { Case.LoadRequested ? Config->Load() : Config->Save(); }, Case.Text);
        });
        Config->BeforeLoad = Case.LoadRunning ? Nested : TExIniFileEvent();
        Config->BeforeSave = Case.LoadRunning ? TExIniFileEvent() : Nested;
        EXPECT_TRUE(Case.LoadRunning ? Config->Load() : Config->Save());
        EXPECT_EQ(Handled, 1);
        EXPECT_EQ(Config->Status(), isNone);
    }
}

TEST_F(ConfigFileTest, EventsRunInOrderAroundEachTransferWithTheOpenStore) {
    std::vector<String> Calls;
    auto Log = [&](const char* Name) {
        return Handlers.Make<TExIniFileEvent>(
            [&Calls, Name, this](TObject* Sender, TExIniFile* Ini) {
                EXPECT_EQ(Sender, Config);
                EXPECT_EQ(Ini, Config->GetIniFile());
                Calls.push_back(Name);
            });
    };
    Config->BeforeSave = Log("BeforeSave");
    Config->AfterSave = Log("AfterSave");
    Config->BeforeLoad = Log("BeforeLoad");
    Config->AfterLoad = Log("AfterLoad");
    Config->OnGetDefaults =
        Handlers.Make<TNotifyEvent>([&](TObject*) { Calls.push_back("GetDefaults"); });
    Config->OnCheckValues =
        Handlers.Make<TCheckEvent>([&](TObject*, bool&) { Calls.push_back("CheckValues"); });
    Config->OnSaveComponentQuery =
        Handlers.Make<TQueryEvent>([&](TObject*, TComponent* Component, bool& DoHandle) {
            Calls.push_back("Query " + Component->Name());
            DoHandle = Component != Form->Label1;
        });
    Form->Label1->SetCaption("Not saved");
    ASSERT_TRUE(Config->Save());
    EXPECT_EQ(LineOf(IniFile, "Label1.Caption"), "");
    ASSERT_TRUE(Config->Load());
    const std::vector<String> Expected = {"BeforeSave",  "Query Kinds",  "Query Label1",
                                          "Query Memo1", "Query Panel1", "Query SettingsForm",
                                          "AfterSave",   "GetDefaults",  "BeforeLoad",
                                          "CheckValues", "AfterLoad"};
    EXPECT_EQ(Calls, Expected);
}

// --- Window state and the extra object -----------------------------------------------------------

TEST_F(ConfigFileTest, SaveSuperFormStateNeedsASuperFormOwner) {
    ExpectError<Exception>([&] { Config->SetSaveSuperFormState(true); },
                           "TConfigFile.SaveSuperFormState property not changable: Owner form is "
                           "not a TSuperForm");
    EXPECT_FALSE(Config->SaveSuperFormState());
    Config->SetSaveSuperFormState(false);
}

TEST_F(ConfigFileTest, WindowStateOfASuperFormOwnerComesBack) {
    auto Make = [&] {
        auto Form = std::make_unique<TStateForm>(nullptr);
        Form->SetBorderStyle(bsSizeable);
        Form->Config = new TConfigFile(Form.get());
        Form->Config->SetFileName(IniFile);
        Form->Config->SetSaveSuperFormState(true);
        return Form;
    };
    auto First = Make();
    First->SetBounds(40, 50, 500, 300);
    ASSERT_TRUE(First->Config->Save());
    EXPECT_EQ(LineOf(IniFile, "StateForm"), "StateForm=" + First->GetWindowStateData());

    auto Second = Make();
    Second->SetBounds(0, 0, 200, 100);
    ASSERT_TRUE(Second->Config->Load());
    EXPECT_EQ(Second->GetWindowStateData(), First->GetWindowStateData());

    TConfigFile Copy(Form.get());
    Copy.Assign(Second->Config);
    EXPECT_FALSE(Copy.SaveSuperFormState()); // its owner is no TSuperForm
    EXPECT_EQ(Copy.FileName(), IniFile);
}

TEST_F(ConfigFileTest, ExtraObjectsPropertiesGoToTheSectionsOfTheirIndex) {
    TViewSettings View;
    View.Width = 800;
    View.Background = 0x123456;
    View.Title = "Mine";
    Config->OnGetInstance =
        Handlers.Make<TGetInstanceEvent>([&](TObject*, TObject*& Instance) { Instance = &View; });
    ASSERT_TRUE(Config->Save());
    const std::vector<String> Lines = FileLines(IniFile);
    auto Has = [&](const String& Line) {
        return std::find(Lines.begin(), Lines.end(), Line) != Lines.end();
    };
    EXPECT_TRUE(Has("[Window]"));
    EXPECT_TRUE(Has("Width=800"));
    EXPECT_TRUE(Has("Height=480"));
    EXPECT_TRUE(Has("[Colors]"));
    EXPECT_TRUE(Has("Background=1193046"));
    EXPECT_TRUE(Has("[Default Section]"));
    EXPECT_TRUE(Has("Title=Mine"));

    TViewSettings Next;
    Config->OnGetInstance =
        Handlers.Make<TGetInstanceEvent>([&](TObject*, TObject*& Instance) { Instance = &Next; });
    ASSERT_TRUE(Config->Load());
    EXPECT_EQ(Next.Width, 800);
    EXPECT_EQ(Next.Background, 0x123456);
    EXPECT_EQ(Next.Title, "Mine");
    // A single component's transfer leaves the extra object alone.
    Next.Title = "Other";
    ASSERT_TRUE(Config->LoadComponentState(Form->Kinds));
    EXPECT_EQ(Next.Title, "Other");
}

// --- Handlers that free the component ------------------------------------------------------------

TEST_F(ConfigFileTest, HandlersMayFreeTheConfigurationFileOrItsForm) {
    ASSERT_TRUE(Config->Save());
    using TOwner = std::unique_ptr<TSettingsForm>;
    const std::vector<std::function<void(TOwner&)>> Setups = {
        [this](TOwner& F) {
            TSettingsForm* Raw = F.get();
            F->Config->BeforeLoad = Handlers.Make<TExIniFileEvent>(
                [Raw](TObject*, TExIniFile*) { delete Raw->Config; });
        },
        [this](TOwner& F) {
            F->Config->AfterLoad =
                Handlers.Make<TExIniFileEvent>([&F](TObject*, TExIniFile*) { F.reset(); });
        },
        [this](TOwner& F) {
            TSettingsForm* Raw = F.get();
            F->Config->OnLoadComponentQuery = Handlers.Make<TQueryEvent>(
                [Raw](TObject*, TComponent*, bool&) { delete Raw->Config; });
        },
        [this](TOwner& F) {
            F->Config->OnGetDefaults = Handlers.Make<TNotifyEvent>([&F](TObject*) { F.reset(); });
        },
        [this](TOwner& F) {
            F->Config->SetFileName(Folder.File("missing.ini"));
            F->Config->SetShowLoadError(true);
            F->Config->OnLoadError = Handlers.Make<TNotifyEvent>([&F](TObject*) { F.reset(); });
            Script.Answer([](TCustomForm* Box) { CloseBox(Box); });
        },
    };
    for (const auto& Setup : Setups) {
        auto Next = NextRun();
        Setup(Next);
        EXPECT_FALSE(Next->Config->Load());
    }
}

} // namespace
} // namespace orlo::test
