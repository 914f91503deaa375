// The property picker driven through the modal runner: picking and removing
// properties, the filter and the sort switch, OK against Cancel, the entries
// it writes back (what stays keeps its values, string tables are never
// touched), help, and ExecuteEx forgetting its arguments however it ends.

#include "design/ComponentExplorerDialog.h"
#include "platform/classes/Streams.h"
#include "platform/forms/ModalScript.h"
#include "platform/os/FileSystem.h"
#include "runtime/GlossaTools.h"
#include "tests/rtl/ExpectError.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <gmock/gmock.h>

#include <cstdlib>

namespace orlo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A form of the kind whose properties a developer picks: a button with a
// caption and a hint, a label, a memo with an empty line, a button panel (a
// collection) and a TGlossa with a named string.
class TPickedForm {
public:
    TPickedForm() : Form(new TForm(nullptr)) {
        Form->SetName("Form1");
        Form->SetCaption("Main window");
        Button = Add<TButton>("Button1");
        Button->SetCaption("Press");
        Button->SetHint("Does it");
        Label = Add<TLabel>("Label1");
        Label->SetCaption("Name");
        Memo = Add<TMemo>("Memo1");
        Memo->Lines()->SetText("one\r\n\r\nthree\r\n");
        Panel = Add<TButtonPanel>("Panel1");
        Glossa = new TGlossa(Form.get());
        Glossa->SetName("Glossa1");
        Manager()->AddString("Greeting")->SetLangValue(0, Variant(String("Hello")));
    }
    TLanguageManager* Manager() const { return Glossa->LanguageManager(); }
    TComponentEntries* Entries() const { return Manager()->Comps(); }

    std::unique_ptr<TForm> Form;
    TButton* Button;
    TLabel* Label;
    TMemo* Memo;
    TButtonPanel* Panel;
    TGlossa* Glossa;

private:
    template <class C> C* Add(const String& Name) {
        auto* Control = new C(Form.get());
        Control->SetName(Name);
        Control->SetParent(Form.get());
        return Control;
    }
};

// The texts of a tree: one line per node, indented by level.
std::vector<String> Lines(TTreeView* Tree) {
    std::vector<String> Result;
    for (Integer I = 0; I < Tree->Items()->Count(); ++I) {
        const TTreeNode* Node = Tree->Items()->Item(I);
        Result.push_back(String(static_cast<size_t>(Node->Level()) * 2, ' ') + Node->Text());
    }
    return Result;
}

// The node with that path of texts ("Button1: TButton/Caption: TCaption").
TTreeNode* NodeAt(TTreeView* Tree, const String& Path) {
    TTreeNode* Node = nullptr;
    size_t Start = 0;
    while (Start <= Path.size()) {
        const size_t End = std::min(Path.find('/', Start), Path.size());
        const String Text = Path.substr(Start, End - Start);
        TTreeNode* Child = Node ? Node->GetFirstChild() : Tree->Items()->GetFirstNode();
        while (Child && Child->Text() != Text)
            Child = Child->GetNextSibling();
        if (!Child)
            return nullptr;
        Node = Child;
        Start = End + 1;
    }
    return Node;
}

// "Button1.Caption" for every property entry, in tree order; string tables included.
std::vector<String> Picked(TMainEntries* Entries, const String& Prefix = String()) {
    std::vector<String> Result;
    for (Integer I = 0; I < Entries->Count(); ++I) {
        TMainEntry* Main = Entries->Items(I);
        for (Integer P = 0; P < Main->Props()->Count(); ++P)
            Result.push_back(Prefix + Main->Name() + "." + Main->Props()->Items(P)->Name());
        for (const String& Below : Picked(Main->Items(), Prefix + Main->Name() + "."))
            Result.push_back(Below);
    }
    return Result;
}

TComponentExplorerForm* PickerOf(TCustomForm* Form) {
    auto* Picker = dynamic_cast<TComponentExplorerForm*>(Form);
    if (!Picker)
        throw Exception("not the picker: " + Form->Name());
    return Picker;
}

void Select(TTreeView* Tree, const String& Path) {
    TTreeNode* Node = NodeAt(Tree, Path);
    if (!Node)
        throw Exception("no node " + Path);
    Node->SetSelected(true);
}

void ClickOk(TComponentExplorerForm* Picker) {
    Picker->ButtonPanel->Buttons()->Items(0)->Button()->Click();
}

void ClickCancel(TComponentExplorerForm* Picker) {
    Picker->ButtonPanel->Buttons()->Items(1)->Button()->Click();
}

String ScreenshotPath(const String& Name) {
    const char* Base = std::getenv("ORLO_TEST_TMP");
    const String Folder = String(Base ? Base : "/tmp") + "/screenshots";
    ForceDirectories(Folder);
    return Folder + "/" + Name + ".png";
}

class PickerTest : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
    // The picker's language, as the package's designer would have set it.
    TGlossa* UseLanguage(const String& Language) {
        FLanguage = std::make_unique<TForm>(nullptr);
        auto* Host = new TGlossa(FLanguage.get());
        Host->SetDomain(PrivateGlossaDomain);
        Host->SetLanguage(Language);
        return Host;
    }
    bool Run(const TModalScript::TAnswer& Answer) { return RunOn(Target, Answer); }
    bool RunOn(TPickedForm& On, const TModalScript::TAnswer& Answer) {
        TModalScript Script;
        Script.Answer(Answer);
        const bool Result = Dialog.ExecuteEx(On.Form.get(), On.Entries(),
                                             TConsistentLangPropertyEntry::StaticClass());
        Log = Script.Log();
        EXPECT_EQ(Script.Pending(), 0);
        return Result;
    }

    TPickedForm Target;
    TComponentExplorerDialog Dialog{nullptr};
    TActionLog Log;

private:
    std::unique_ptr<TForm> FLanguage;
};

TEST_F(PickerTest, PicksAPropertyInEnglishAndGerman) {
    struct TCase {
        const char* Language;
        const char* Caption;
        const char* Cancel;
        const char* Source;
        const char* SortByType;
        const char* Info;
    };
    const TCase Cases[] = {
        {"English", "Select properties", "Cancel", "Available properties", "Sort by type",
         "No property selected"},
        {"Deutsch", "Eigenschaften auswählen", "Abbrechen", "Verfügbare Eigenschaften",
         "Nach Typ sortieren", "Keine Eigenschaft markiert"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Language);
        UseLanguage(Case.Language);
        TPickedForm Fresh;
        const bool Ok = RunOn(Fresh, [&](TCustomForm* Form) {
            TComponentExplorerForm* Picker = PickerOf(Form);
            TComponentExplorer* Explorer = Picker->Explorer;
            EXPECT_EQ(Picker->Caption(), Case.Caption);
            EXPECT_EQ(Picker->ButtonPanel->Buttons()->Items(1)->Caption(), Case.Cancel);
            EXPECT_EQ(Explorer->SourceLabel->Caption(), Case.Source);
            EXPECT_EQ(Explorer->SortByTypeRadio->Caption(), Case.SortByType);
            EXPECT_EQ(Explorer->InfoBar->Caption(), Case.Info);
            // The default filter offers set captions, hints, texts and lines.
            EXPECT_THAT(Lines(Explorer->SourceTree),
                        ElementsAre("Button1: TButton", "  Hint: String", "  Caption: TCaption",
                                    "Form1: TForm", "  Caption: TCaption", "Label1: TLabel",
                                    "  Caption: TCaption", "Memo1: TMemo", "  Lines: TStringList",
                                    "    Strings[0]: String", "    Strings[2]: String",
                                    "Panel1: TButtonPanel", "  Buttons[0]: TButtonItem",
                                    "    Caption: TCaption", "  Buttons[1]: TButtonItem",
                                    "    Caption: TCaption"));
            Select(Explorer->SourceTree, "Button1: TButton/Caption: TCaption");
            EXPECT_EQ(Explorer->InfoBar->Caption(), "Button1.Caption: TCaption = Press");
            Explorer->AddButton->Click();
            EXPECT_THAT(Lines(Explorer->DestTree),
                        ElementsAre("Button1: TButton", "  Caption: TCaption"));
            EXPECT_EQ(NodeAt(Explorer->SourceTree, "Button1: TButton/Caption: TCaption"), nullptr);
            Form->Show();
            SaveScreenshot(Form, ScreenshotPath(String("picker-") + Case.Language));
            ClickOk(Picker);
        });
        EXPECT_TRUE(Ok);
        EXPECT_THAT(Picked(Fresh.Entries()),
                    ElementsAre("Glossa1.Resources.Greeting", "Button1.Caption"));
    }
}

TEST_F(PickerTest, FollowsALanguageSwitchWhileOpen) {
    TGlossa* Host = UseLanguage("English");
    Run([&](TCustomForm* Form) {
        TComponentExplorer* Explorer = PickerOf(Form)->Explorer;
        Host->SetLanguage("Deutsch");
        EXPECT_EQ(Form->Caption(), "Eigenschaften auswählen");
        EXPECT_EQ(Explorer->DestLabel->Caption(), "Ausgewählte Eigenschaften");
        EXPECT_EQ(Explorer->FilterChecks[pfAll]->Caption(), "Alle");
        EXPECT_EQ(Explorer->AddAllButton->Hint(), "Alle Eigenschaften hinzufügen");
        ClickCancel(PickerOf(Form));
    });
}

TEST_F(PickerTest, DialogComponentStreamsItsSettings) {
    TForm Owner(nullptr);
    Owner.SetName("EditorForm");
    auto* Stored = new TComponentExplorerDialog(&Owner);
    Stored->SetName("PropDialog");
    Stored->HelpContext = 7000;
    Stored->Settings()->SortByCompName = false;
    Stored->Settings()->PropFilter = TPropFilter{pfCaption, pfUser};
    Stored->Settings()->PropFilterText = "Tag";
    TMemoryStream Stream;
    Stream.WriteComponent(&Owner);
    Stream.SetPosition(0);
    TForm Copy(nullptr);
    Stream.ReadComponent(&Copy);
    auto* Read = dynamic_cast<TComponentExplorerDialog*>(Copy.FindComponent("PropDialog"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->HelpContext, 7000);
    EXPECT_FALSE(Read->Settings()->SortByCompName);
    EXPECT_EQ(Read->Settings()->PropFilter, (TPropFilter{pfCaption, pfUser}));
    EXPECT_EQ(Read->Settings()->PropFilterText, "Tag");
}

TEST_F(PickerTest, RemovingKeepsTheValuesOfWhatStaysAndNeverTheStringTable) {
    UseLanguage("English");
    // Picked before: the label's caption and the button's hint, with a value each.
    TCESettings Settings;
    AddRootToMainEntries(Target.Form.get(), Target.Entries(), Settings,
                         Target.Entries()->PropClass(), Settings.StandardFilter());
    Target.Manager()->SyncCount(cmInitAll);
    const bool Ok = Run([&](TCustomForm* Form) {
        TComponentExplorer* Explorer = PickerOf(Form)->Explorer;
        // The named string is not offered for removal.
        EXPECT_EQ(NodeAt(Explorer->DestTree, "Glossa1: TGlossa"), nullptr);
        Explorer->RemoveAll();
        EXPECT_THAT(Lines(Explorer->DestTree), IsEmpty());
        Select(Explorer->SourceTree, "Button1: TButton");
        Explorer->AddSelected();
        Select(Explorer->DestTree, "Button1: TButton/Caption: TCaption");
        Explorer->RemoveSelected();
        ClickOk(PickerOf(Form));
    });
    EXPECT_TRUE(Ok);
    EXPECT_THAT(Picked(Target.Entries()),
                ElementsAre("Glossa1.Resources.Greeting", "Button1.Hint"));
    // The hint kept its entry and the value in it.
    String Greeting;
    EXPECT_TRUE(Target.Manager()->GetString("Greeting", Greeting));
    EXPECT_EQ(Greeting, "Hello");
    TMainEntry* Button = Target.Entries()->Items(Target.Entries()->IndexOfName("Button1"));
    auto* Hint = static_cast<TConsistentLangPropertyEntry*>(Button->Props()->Items(0));
    EXPECT_EQ(Hint->GetLangValue(0).AsString(), "Does it");
}

TEST_F(PickerTest, CancelChangesNeitherEntriesNorSettings) {
    UseLanguage("English");
    const bool Ok = Run([](TCustomForm* Form) {
        TComponentExplorer* Explorer = PickerOf(Form)->Explorer;
        Explorer->AddAll();
        Explorer->FilterChecks[pfAll]->SetChecked(true);
        Explorer->SortByTypeRadio->SetChecked(true);
        ClickCancel(PickerOf(Form));
    });
    EXPECT_FALSE(Ok);
    EXPECT_THAT(Picked(Target.Entries()), ElementsAre("Glossa1.Resources.Greeting"));
    EXPECT_EQ(Dialog.Settings()->PropFilter, TCESettings::DefaultPropFilter);
    EXPECT_TRUE(Dialog.Settings()->SortByCompName);
}

TEST_F(PickerTest, FilterAndSortFollowTheControlsAndComeBackOnOk) {
    UseLanguage("English");
    const bool Ok = Run([&](TCustomForm* Form) {
        TComponentExplorer* Explorer = PickerOf(Form)->Explorer;
        // A user list: whole words only, the first occurrence counts.
        Explorer->FilterChecks[pfCaption]->SetChecked(false);
        Explorer->FilterChecks[pfHint]->SetChecked(false);
        Explorer->FilterChecks[pfStrings]->SetChecked(false);
        Explorer->FilterEdit->SetText("HelpContext Tag");
        Explorer->FilterChecks[pfAssigned]->SetChecked(false);
        Explorer->FilterChecks[pfUser]->SetChecked(true);
        EXPECT_NE(NodeAt(Explorer->SourceTree, "Label1: TLabel/Tag: Integer"), nullptr);
        EXPECT_NE(NodeAt(Explorer->SourceTree, "Button1: TButton/HelpContext: Integer"), nullptr);
        EXPECT_EQ(NodeAt(Explorer->SourceTree, "Button1: TButton/Caption: TCaption"), nullptr);
        Explorer->FilterEdit->SetText("HelpContex Ta");
        EXPECT_EQ(NodeAt(Explorer->SourceTree, "Label1: TLabel/Tag: Integer"), nullptr);
        // Everything: sub-objects such as the font appear.
        Explorer->FilterChecks[pfAll]->SetChecked(true);
        EXPECT_NE(NodeAt(Explorer->SourceTree, "Label1: TLabel/Font: TFont/Size: Integer"),
                  nullptr);
        // Sorted and labelled by type.
        Explorer->SortByTypeRadio->SetChecked(true);
        std::vector<String> Top;
        for (TTreeNode* Node = Explorer->SourceTree->Items()->GetFirstNode(); Node;
             Node = Node->GetNextSibling())
            Top.push_back(Node->Text());
        EXPECT_THAT(Top, ElementsAre("TButton, Button1", "TButtonPanel, Panel1", "TForm, Form1",
                                     "TGlossa, Glossa1", "TLabel, Label1", "TMemo, Memo1"));
        ClickOk(PickerOf(Form));
    });
    EXPECT_TRUE(Ok);
    EXPECT_EQ(Dialog.Settings()->PropFilter, (TPropFilter{pfText, pfUser, pfAll}));
    EXPECT_EQ(Dialog.Settings()->PropFilterText, "HelpContex Ta");
    EXPECT_FALSE(Dialog.Settings()->SortByCompName);
}

TEST_F(PickerTest, SettingsShowAndHideTheBars) {
    UseLanguage("English");
    Dialog.Settings()->InfoBarVisible = false;
    Dialog.Settings()->SortByVisible = false;
    Run([](TCustomForm* Form) {
        TComponentExplorer* Explorer = PickerOf(Form)->Explorer;
        EXPECT_FALSE(Explorer->InfoBar->Visible());
        EXPECT_FALSE(Explorer->SortPanel->Visible());
        EXPECT_TRUE(Explorer->FilterPanel->Visible());
        ClickCancel(PickerOf(Form));
    });
}

TEST_F(PickerTest, SubObjectsCollectionsAndStringListsArePickedWithTheirPath) {
    UseLanguage("English");
    Run([](TCustomForm* Form) {
        TComponentExplorer* Explorer = PickerOf(Form)->Explorer;
        Select(Explorer->SourceTree, "Memo1: TMemo/Lines: TStringList/Strings[2]: String");
        EXPECT_EQ(Explorer->InfoBar->Caption(), "Memo1.Lines.Strings[2]: String = three");
        Explorer->AddSelected();
        Select(Explorer->SourceTree, "Panel1: TButtonPanel/Buttons[1]: TButtonItem");
        Explorer->AddSelected();
        // Double click moves too.
        Select(Explorer->SourceTree, "Label1: TLabel/Caption: TCaption");
        Explorer->SourceTree->OnDblClick(Explorer->SourceTree);
        EXPECT_THAT(Lines(Explorer->DestTree),
                    ElementsAre("Label1: TLabel", "  Caption: TCaption", "Memo1: TMemo",
                                "  Lines: TStringList", "    Strings[2]: String",
                                "Panel1: TButtonPanel", "  Buttons[1]: TButtonItem",
                                "    Caption: TCaption"));
        ClickOk(PickerOf(Form));
    });
    EXPECT_THAT(Picked(Target.Entries()),
                ElementsAre("Glossa1.Resources.Greeting", "Memo1.Lines.Strings[2]",
                            "Panel1.Buttons[1].Caption", "Label1.Caption"));
    TMainEntry* Memo = Target.Entries()->Items(Target.Entries()->IndexOfName("Memo1"));
    EXPECT_EQ(Memo->Items()->Items(0)->SubType(), TMainEntrySubType{stTStringsObject});
    // The language manager binds what the picker wrote.
    Target.Manager()->Init(cmInitAll);
    EXPECT_THAT(Picked(Target.Entries()),
                ElementsAre("Glossa1.Resources.Greeting", "Memo1.Lines.Strings[2]",
                            "Panel1.Buttons[1].Caption", "Label1.Caption"));
}

TEST_F(PickerTest, HelpButtonOnlyWithAContext) {
    UseLanguage("English");
    for (const Integer Context : {0, 7000}) {
        SCOPED_TRACE(Context);
        Dialog.HelpContext = Context;
        Run([&](TCustomForm* Form) {
            TButtonItem* Help = PickerOf(Form)->HelpButton();
            EXPECT_EQ(Help->GetBool(2), Context != 0);
            if (Context != 0)
                Help->Button()->Click();
            ClickCancel(PickerOf(Form));
        });
        if (Context == 0) {
            EXPECT_THAT(Log.HelpRequests, IsEmpty());
        } else {
            ASSERT_EQ(Log.HelpRequests.size(), 1u);
            EXPECT_EQ(Log.HelpRequests[0].Data, 7000);
        }
    }
}

TEST_F(PickerTest, ExecuteExForgetsItsArgumentsHoweverItEnds) {
    UseLanguage("English");
    Integer Shows = 0;
    Integer Closes = 0;
    struct THandlers {
        Integer* Shows;
        Integer* Closes;
        void Show(TObject*) { ++*Shows; }
        void Close(TObject*) { ++*Closes; }
    } Handlers{&Shows, &Closes};
    Dialog.OnShow = TNotifyEvent::Make<&THandlers::Show>(&Handlers);
    Dialog.OnClose = TNotifyEvent::Make<&THandlers::Close>(&Handlers);
    const auto Forgotten = [&] {
        EXPECT_EQ(Dialog.Root(), nullptr);
        EXPECT_EQ(Dialog.Entries(), nullptr);
        EXPECT_EQ(Dialog.EntryClass(), nullptr);
    };
    Run([&](TCustomForm* Form) {
        EXPECT_EQ(Dialog.Root(), Target.Form.get());
        EXPECT_EQ(Dialog.Entries(), Target.Entries());
        ClickOk(PickerOf(Form));
    });
    Forgotten();
    Run([](TCustomForm* Form) { ClickCancel(PickerOf(Form)); });
    Forgotten();
    // The modal runner fails: the failure passes, the arguments are gone.
    ExpectError<Exception>([&] { Run([](TCustomForm*) { throw Exception("runner failed"); }); },
                           "runner failed");
    Forgotten();
    EXPECT_EQ(Shows, 3);
    EXPECT_EQ(Closes, 3);
    // Without arguments the picker shows empty trees.
    TModalScript Script;
    Script.Answer([](TCustomForm* Form) {
        EXPECT_EQ(PickerOf(Form)->Explorer->SourceTree->Items()->Count(), 0);
        ClickOk(PickerOf(Form));
    });
    EXPECT_TRUE(Dialog.Execute());
}

TEST_F(PickerTest, CloseHandlerMayFreeTheDialog) {
    UseLanguage("English");
    auto* Owned = new TComponentExplorerDialog(nullptr);
    struct THandlers {
        TComponentExplorerDialog* Dialog;
        void Close(TObject*) { delete Dialog; }
    } Handlers{Owned};
    Owned->OnClose = TNotifyEvent::Make<&THandlers::Close>(&Handlers);
    TModalScript Script;
    Script.Answer([](TCustomForm* Form) {
        PickerOf(Form)->Explorer->AddAll();
        ClickOk(PickerOf(Form));
    });
    EXPECT_FALSE(Owned->ExecuteEx(Target.Form.get(), Target.Entries(),
                                  TConsistentLangPropertyEntry::StaticClass()));
    EXPECT_THAT(Picked(Target.Entries()), ElementsAre("Glossa1.Resources.Greeting"));
}

// --- Used live: the real modal loop, no runner; the mouse and the keys go
// through the window system.

// The picker's form while its loop runs.
TComponentExplorerForm* OpenPicker() {
    QWidget* Top = QApplication::activeModalWidget();
    auto* Form = Top ? dynamic_cast<TCustomForm*>(TControl::FromWidget(Top)) : nullptr;
    if (!Form)
        throw Exception("no modal picker open");
    return PickerOf(Form);
}

// A mouse action at a point of Widget (its centre when null), through its window.
void Mouse(QTest::MouseAction Action, QWidget* Widget, QPoint At = QPoint()) {
    if (At.isNull())
        At = Widget->rect().center();
    QWindow* Window = Widget->window()->windowHandle();
    QTest::mouseEvent(Action, Window, Qt::LeftButton, {},
                      Window->mapFromGlobal(Widget->mapToGlobal(At)));
}

// The middle of a node's row in its tree's viewport.
QPoint NodeCentre(TTreeView* Tree, const String& Path) {
    TTreeNode* Node = NodeAt(Tree, Path);
    if (!Node || !TCustomTreeView::ItemOf(Node))
        throw Exception("no node shown at " + Path);
    auto* Widget = qobject_cast<QTreeWidget*>(Tree->Widget());
    return Widget->visualItemRect(TCustomTreeView::ItemOf(Node)).center();
}

QWidget* Viewport(TTreeView* Tree) {
    return qobject_cast<QTreeWidget*>(Tree->Widget())->viewport();
}

void Keys(std::initializer_list<Qt::Key> Keys) {
    for (Qt::Key Key : Keys)
        QTest::keyClick(QApplication::activeModalWidget()->windowHandle(), Key);
}

TEST_F(PickerTest, UsedLiveWithTheMouseAndTheKeys) {
    UseLanguage("English");
    Dialog.HelpContext = 7000;
    TActionLog Actions;
    Application->SetActionLog(&Actions);
    QTimer::singleShot(0, [] {
        TComponentExplorerForm* Picker = OpenPicker();
        TComponentExplorer* Explorer = Picker->Explorer;
        TTreeView* Source = Explorer->SourceTree;
        // Open a component with the keyboard and pick its caption by a double click.
        Mouse(QTest::MouseClick, Viewport(Source), NodeCentre(Source, "Button1: TButton"));
        Keys({Qt::Key_Right});
        Mouse(QTest::MouseDClick, Viewport(Source),
              NodeCentre(Source, "Button1: TButton/Caption: TCaption"));
        EXPECT_THAT(Lines(Explorer->DestTree),
                    ElementsAre("Button1: TButton", "  Caption: TCaption"));
        // Pick the form's caption: arrows to it, then the add button.
        Mouse(QTest::MouseClick, Viewport(Source), NodeCentre(Source, "Form1: TForm"));
        Keys({Qt::Key_Right, Qt::Key_Down});
        EXPECT_EQ(Explorer->InfoBar->Caption(), "Form1.Caption: TCaption = Main window");
        Mouse(QTest::MouseClick, Explorer->AddButton->Widget());
        EXPECT_THAT(Lines(Explorer->DestTree),
                    ElementsAre("Button1: TButton", "  Caption: TCaption", "Form1: TForm",
                                "  Caption: TCaption"));
        // A double click in the picked tree puts one back.
        TTreeView* Dest = Explorer->DestTree;
        Mouse(QTest::MouseDClick, Viewport(Dest),
              NodeCentre(Dest, "Button1: TButton/Caption: TCaption"));
        EXPECT_THAT(Lines(Dest), ElementsAre("Form1: TForm", "  Caption: TCaption"));
        // A list of the user's own: the check boxes by the mouse, the names typed.
        Mouse(QTest::MouseClick, Explorer->FilterChecks[pfAssigned]->Widget());
        Mouse(QTest::MouseClick, Explorer->FilterChecks[pfUser]->Widget());
        Mouse(QTest::MouseClick, Explorer->FilterEdit->Widget());
        QTest::keyClicks(Explorer->FilterEdit->Widget(), "Tag");
        EXPECT_FALSE(Explorer->FilterChecks[pfAssigned]->Checked());
        EXPECT_TRUE(Explorer->FilterChecks[pfUser]->Checked());
        EXPECT_NE(NodeAt(Source, "Label1: TLabel/Tag: Integer"), nullptr);
        // F1 in a tree asks for the picker's help; Enter in the edit is the OK button's.
        Mouse(QTest::MouseClick, Viewport(Source), NodeCentre(Source, "Form1: TForm"));
        Keys({Qt::Key_F1});
        Mouse(QTest::MouseClick, Explorer->FilterEdit->Widget());
        Keys({Qt::Key_Return});
    });
    const TModalWatchdog Watchdog;
    EXPECT_TRUE(Dialog.ExecuteEx(Target.Form.get(), Target.Entries(),
                                 TConsistentLangPropertyEntry::StaticClass()));
    EXPECT_THAT(Picked(Target.Entries()),
                ElementsAre("Glossa1.Resources.Greeting", "Form1.Caption"));
    EXPECT_EQ(Dialog.Settings()->PropFilterText, "Tag");
    EXPECT_TRUE(Dialog.Settings()->PropFilter.Contains(pfUser));
    Application->SetActionLog(nullptr);
    ASSERT_EQ(Actions.HelpRequests.size(), 1u);
    EXPECT_EQ(Actions.HelpRequests[0].Data, 7000);
}

} // namespace
} // namespace orlo::test
