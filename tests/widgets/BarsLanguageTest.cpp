// A form's menu, tool bar and status bar switch language with the form's
// TGlossa: menu captions and hints (and the Qt actions showing them), tool
// button captions and hints, status panel texts.

#include "platform/forms/ComCtrls.h"
#include "runtime/ComponentExplorer.h"
#include "runtime/LangComboBox.h"
#include "tests/rtl/ExpectError.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <QAction>
#include <QImage>
#include <QMenuBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace orlo::test {
namespace {

struct TText {
    const char* English;
    const char* German;
};

class BarsLanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetName("EditorForm");
        Form->SetBounds(0, 0, 420, 260);
        Menu = new TMainMenu(Form.get());
        Menu->SetName("MainMenu1");
        FileMenu = AddItem(Menu->Items(), "FileMenu", "&File");
        SaveItem = AddItem(FileMenu, "SaveItem", "&Save");
        SaveItem->SetHint("Save|Saves the text");
        SaveItem->SetShortCut(TextToShortCut("Ctrl+S"));
        ExitItem = AddItem(FileMenu, "ExitItem", "E&xit");
        Form->SetMenu(Menu);
        Tools = new TToolBar(Form.get());
        Tools->SetName("ToolBar1");
        Tools->SetParent(Form.get());
        Tools->SetShowHint(true);
        SaveButton = new TToolButton(Form.get());
        SaveButton->SetName("SaveButton");
        SaveButton->SetParent(Tools);
        SaveButton->SetMenuItem(SaveItem);
        Status = new TStatusBar(Form.get());
        Status->SetName("StatusBar1");
        Status->SetParent(Form.get());
        Status->Panels()->Add()->SetText("Ready");
        Status->Panels()->Add()->SetText("Insert");

        Glossa = new TGlossa(Form.get());
        Glossa->SetName("Glossa1");
        AddLanguages(Glossa, {"English", "Deutsch"});
        TLanguageManager* Manager = Glossa->LanguageManager();
        TCESettings Settings;
        AddRootToMainEntries(Form.get(), Manager->Comps(), Settings,
                             TInconsistentLangPropertyEntry::StaticClass(),
                             Settings.StandardFilter());
        Manager->Init(cmInitAll);
        Manager->SetLanguageByIndex(1);
        FileMenu->SetCaption("&Datei");
        SaveItem->SetCaption("&Speichern");
        SaveItem->SetHint("Speichern|Speichert den Text");
        ExitItem->SetCaption("&Beenden");
        SaveButton->SetCaption("Speichern");
        SaveButton->SetHint("Speichern|Speichert den Text");
        Status->Panels()->Items(0)->SetText("Bereit");
        Status->Panels()->Items(1)->SetText("Einfügen");
        Manager->SetLanguageByIndex(0);
        // The frame may remember the language an earlier form was left in.
        Glossa->SetLanguage("English");
    }

    TMenuItem* AddItem(TMenuItem* Parent, const char* Name, const char* Caption) {
        auto* Item = new TMenuItem(Form.get());
        Item->SetName(Name);
        Item->SetCaption(Caption);
        Parent->Add(Item);
        return Item;
    }

    std::unique_ptr<TForm> Form;
    TMainMenu* Menu = nullptr;
    TMenuItem* FileMenu = nullptr;
    TMenuItem* SaveItem = nullptr;
    TMenuItem* ExitItem = nullptr;
    TToolBar* Tools = nullptr;
    TToolButton* SaveButton = nullptr;
    TStatusBar* Status = nullptr;
    TGlossa* Glossa = nullptr;
};

TEST_F(BarsLanguageTest, MenuToolAndStatusTextsFollowTheLanguage) {
    Form->Show();
    const auto Expect = [&](bool German) {
        const auto Pick = [German](TText T) { return String(German ? T.German : T.English); };
        EXPECT_EQ(FileMenu->Caption(), Pick({"&File", "&Datei"}));
        EXPECT_EQ(Form->MenuBar()->actions()[0]->text(), ToQString(Pick({"&File", "&Datei"})));
        EXPECT_EQ(SaveItem->Action()->text(),
                  ToQString(Pick({"&Save", "&Speichern"})) + "\tCtrl+S");
        EXPECT_EQ(SaveItem->Action()->statusTip(),
                  ToQString(Pick({"Saves the text", "Speichert den Text"})));
        EXPECT_EQ(ExitItem->Caption(), Pick({"E&xit", "&Beenden"}));
        auto* Button = qobject_cast<QToolButton*>(SaveButton->Widget());
        ASSERT_NE(Button, nullptr);
        EXPECT_EQ(Button->text(), ToQString(Pick({"&Save", "Speichern"})));
        EXPECT_EQ(Button->toolTip(), ToQString(Pick({"Save", "Speichern"})));
        EXPECT_EQ(Status->ShownTexts(),
                  (std::vector<String>{Pick({"Ready", "Bereit"}), Pick({"Insert", "Einfügen"})}));
    };
    Expect(false);
    Glossa->SetLanguage("Deutsch");
    Expect(true);
    Screenshot(Form.get(), "bars-de");
    Glossa->SetLanguage("English");
    Expect(false);
    Screenshot(Form.get(), "bars-en");
    // Shortcuts are not texts: they stay, and still click the translated item.
    Glossa->SetLanguage("Deutsch");
    EXPECT_EQ(SaveItem->ShortCut(), TextToShortCut("Ctrl+S"));
}

TEST_F(BarsLanguageTest, ItemsAddedLaterKeepTheirTextsAcrossSwitches) {
    // An item the language data does not know keeps its caption in every language.
    TMenuItem* Help = AddItem(Menu->Items(), "HelpMenu", "&Help");
    Glossa->SetLanguage("Deutsch");
    EXPECT_EQ(Help->Caption(), "&Help");
    EXPECT_EQ(FileMenu->Caption(), "&Datei");
}

TEST(LangComboBoxPopupMenuTest, PublishedPopupMenuIsAPopupMenuReference) {
    Application->Initialize();
    TForm Form(nullptr);
    auto* Popup = new TPopupMenu(&Form);
    auto* Box = new TLangComboBox(&Form);
    Box->SetParent(&Form);
    const TPropInfo* Info = GetPropInfo(Box, "PopupMenu");
    ASSERT_NE(Info, nullptr);
    EXPECT_EQ(Info->PropType->Kind, tkClass);
    SetObjectProp(Box, Info, Popup);
    EXPECT_EQ(Box->PopupMenu(), Popup);
    // Another kind of component is refused.
    ExpectError<EPropertyError>([&] { SetObjectProp(Box, Info, &Form); }, "Invalid property value");
    delete Popup;
    EXPECT_EQ(Box->PopupMenu(), nullptr);
}

} // namespace
} // namespace orlo::test
