#include "tests/config/ConfigFileTestSupport.h"

#include "platform/classes/Strings.h"
#include "platform/rtl/Currency.h"

#include <gtest/gtest.h>

namespace orlo::test {

namespace {

template <class C> C* Make(TComponent* Owner, const char* Name) {
    auto* Component = new C(Owner);
    Component->SetName(Name);
    return Component;
}

std::vector<String> SplitPath(const String& Path) {
    std::vector<String> Parts;
    size_t Start = 0;
    for (size_t Dot; (Dot = Path.find('.', Start)) != String::npos; Start = Dot + 1)
        Parts.push_back(Path.substr(Start, Dot - Start));
    Parts.push_back(Path.substr(Start));
    return Parts;
}

TMainEntry* EntryOf(TCustomConfigFile* Config, TComponent* Component) {
    TComponentEntries* Entries = Config->Entries();
    for (Integer I = 0; I < Entries->Count(); ++I)
        if (Entries->Items(I)->GetRef() == Component)
            return Entries->Items(I);
    auto* Entry = static_cast<TComponentEntry*>(Entries->Add());
    Entry->SetRef(Component);
    Entry->SetName(Component->Name());
    Entry->SetTypeName(Component->ClassName());
    Entry->SetSubType({stPubPropObject});
    return Entry;
}

// The child entry of Main for the property part Part ("Font", "Items[1]",
// "Lines") of Object; Object moves on to what the part holds.
TMainEntry* ChildEntry(TMainEntry* Main, const String& Part, TObject*& Object) {
    const String PropName = Part.substr(0, Part.find('['));
    TObject* Value = GetObjectProp(Object, GetPropInfo(Object, PropName));
    TMainEntrySubType SubType{stPubPropObject};
    if (auto* Collection = dynamic_cast<TCollection*>(Value)) {
        SubType.Include(stCollectionObject);
        Integer Index = -1;
        ParseIndexedName(Part, Index);
        Value = Collection->Items(Index);
    } else if (dynamic_cast<TStrings*>(Value)) {
        SubType = {stTStringsObject};
    }
    Object = Value;
    const Integer Existing = Main->Items()->IndexOfName(Part);
    if (Existing >= 0)
        return Main->Items()->Items(Existing);
    return new TMainEntry(Main->Items(), nullptr, Part, Value->ClassName(), SubType);
}

} // namespace

const char* const PickedPaths[] = {"Kinds.Align",
                                   "Kinds.Styles",
                                   "Kinds.Ratio",
                                   "Kinds.Scale",
                                   "Kinds.Stamp",
                                   "Kinds.Big",
                                   "Kinds.Unsigned",
                                   "Kinds.Letter",
                                   "Kinds.Data",
                                   "Kinds.Small",
                                   "Kinds.Negative",
                                   "Kinds.Enabled",
                                   "Kinds.Amount",
                                   "Label1.Caption",
                                   "Label1.Hint",
                                   "Label1.Font.Name",
                                   "Label1.Font.Size",
                                   "Label1.Font.Style",
                                   "Memo1.Lines.Strings[0]",
                                   "Memo1.Lines.Strings[2]",
                                   "Panel1.Items[0].Width",
                                   "Panel1.Items[1].Caption",
                                   "Panel1.Items[1].Checked",
                                   "SettingsForm.Caption",
                                   nullptr};

void Pick(TCustomConfigFile* Config, TComponent* Component, const String& Path) {
    TMainEntry* Main = EntryOf(Config, Component);
    TObject* Object = Component;
    const std::vector<String> Parts = SplitPath(Path);
    for (size_t I = 0; I + 1 < Parts.size(); ++I)
        Main = ChildEntry(Main, Parts[I], Object);
    if (Main->SubType().Contains(stTStringsObject))
        TPropertyEntry::Create(TPropertyEntry::StaticClass(), Main, Parts.back(), "String",
                               tkString);
    else
        TPropertyEntry::Create(TPropertyEntry::StaticClass(), Main,
                               GetPropInfo(Object, Parts.back()));
}

std::unique_ptr<TSettingsForm> MakeSettingsForm(const String& IniFile) {
    RegisterTestClasses();
    auto Form = std::make_unique<TSettingsForm>(nullptr);
    Form->SetName("SettingsForm");
    Form->SetCaption("Settings");
    Form->Kinds = Make<TTestKinds>(Form.get(), "Kinds");
    Form->Label1 = Make<TTestLabel>(Form.get(), "Label1");
    Form->Label1->SetCaption("Start caption");
    Form->Memo1 = Make<TTestMemo>(Form.get(), "Memo1");
    Form->Memo1->Lines()->SetText("one\r\ntwo\r\nthree\r\n");
    Form->Panel1 = Make<TTestPanel>(Form.get(), "Panel1");
    Form->Panel1->Items()->Add();
    Form->Panel1->Items()->Add();
    Form->Panel1->Panel(1)->Caption = "Start item";
    Form->Config = Make<TConfigFile>(Form.get(), "Config");
    Form->Config->SetFileName(IniFile);
    for (const char* const* Path = PickedPaths; *Path; ++Path) {
        const String Text = *Path;
        const size_t Dot = Text.find('.');
        const String Owner = Text.substr(0, Dot);
        TComponent* Component = Owner == "SettingsForm" ? Form.get() : Form->FindComponent(Owner);
        Pick(Form->Config, Component, Text.substr(Dot + 1));
    }
    return Form;
}

void SetSavedValues(TSettingsForm* Form) {
    TTestKinds* Kinds = Form->Kinds;
    Kinds->Align = alRight;
    Kinds->Styles = {fsBold, fsUnderline};
    Kinds->Ratio = 2.75;
    Kinds->Scale = 0.5f;
    Kinds->Stamp = 45000.25;
    Kinds->Big = 9007199254740993LL;
    Kinds->Unsigned = 4000000000U;
    Kinds->Letter = 'Z';
    Kinds->Data = Variant("note");
    Kinds->Small = 8;
    Kinds->Negative = -6;
    Kinds->Enabled = false;
    Kinds->Amount = Currency::FromDouble(12.34);
    Form->Label1->SetCaption("Saved caption");
    Form->Label1->SetHint("first; second");
    Form->Label1->Font()->Name = "Courier New";
    Form->Label1->Font()->Size = 12;
    Form->Label1->Font()->Style = {fsItalic};
    Form->Memo1->Lines()->Put(0, "eins");
    Form->Memo1->Lines()->Put(2, "drei");
    Form->Panel1->Panel(0)->Width = 120;
    Form->Panel1->Panel(1)->Caption = "Second";
    Form->Panel1->Panel(1)->Checked = true;
    Form->SetCaption("Saved settings");
}

void ExpectSavedValues(TSettingsForm* Form) {
    const TTestKinds* Kinds = Form->Kinds;
    EXPECT_EQ(Kinds->Align, alRight);
    EXPECT_EQ(Kinds->Styles, (TTestFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(Kinds->Ratio, 2.75);
    EXPECT_EQ(Kinds->Scale, 0.5f);
    EXPECT_EQ(Kinds->Stamp, 45000.25);
    EXPECT_EQ(Kinds->Big, 9007199254740993LL);
    EXPECT_EQ(Kinds->Unsigned, 4000000000U);
    EXPECT_EQ(Kinds->Letter, 'Z');
    EXPECT_EQ(Kinds->Data.AsString(), "note");
    EXPECT_EQ(Kinds->Small, 8);
    EXPECT_EQ(Kinds->Negative, -6);
    EXPECT_FALSE(Kinds->Enabled);
    EXPECT_EQ(Kinds->Amount, Currency::FromDouble(12.34));
    EXPECT_EQ(Form->Label1->Caption(), "Saved caption");
    EXPECT_EQ(Form->Label1->Hint(), "first; second");
    EXPECT_EQ(Form->Label1->Font()->Name, "Courier New");
    EXPECT_EQ(Form->Label1->Font()->Size, 12);
    EXPECT_EQ(Form->Label1->Font()->Style, TTestFontStyles{fsItalic});
    EXPECT_EQ(Form->Memo1->Lines()->Text(), "eins\r\ntwo\r\ndrei\r\n");
    EXPECT_EQ(Form->Panel1->Panel(0)->Width, 120);
    EXPECT_EQ(Form->Panel1->Panel(1)->Caption, "Second");
    EXPECT_TRUE(Form->Panel1->Panel(1)->Checked);
    EXPECT_EQ(Form->Caption(), "Saved settings");
}

void ExpectStartValues(TSettingsForm* Form) {
    EXPECT_EQ(Form->Kinds->Align, alNone);
    EXPECT_EQ(Form->Kinds->Big, 0);
    EXPECT_EQ(Form->Label1->Caption(), "Start caption");
    EXPECT_EQ(Form->Label1->Font()->Name, "Arial");
    EXPECT_EQ(Form->Memo1->Lines()->Text(), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(Form->Panel1->Panel(1)->Caption, "Start item");
    EXPECT_EQ(Form->Caption(), "Settings");
}

ORLO_PUBLISHED(TSettingsForm, "ConfigFileTestSupport") {
    P.Field("Kinds", &TSettingsForm::Kinds);
    P.Field("Label1", &TSettingsForm::Label1);
    P.Field("Memo1", &TSettingsForm::Memo1);
    P.Field("Panel1", &TSettingsForm::Panel1);
    P.Field("Config", &TSettingsForm::Config);
}

ORLO_PUBLISHED(TStateForm, "ConfigFileTestSupport") {
    P.Field("Config", &TStateForm::Config);
}

ORLO_PUBLISHED(TViewSettings, "ConfigFileTestSupport") {
    using C = TViewSettings;
    P.Indexed("Window", 1, &C::GetSectionName, &C::SetSectionName).Stored(false);
    P.Indexed("Width", 1, &C::GetWidth, &C::SetWidth);
    P.Indexed("Height", 1, &C::GetHeight, &C::SetHeight);
    P.Indexed("Colors", 2, &C::GetSectionName, &C::SetSectionName).Stored(false);
    P.Indexed("Background", 2, &C::GetBackground, &C::SetBackground);
    P.Property("Title", &C::Title);
}

} // namespace orlo::test
