#include "runtime/Glossa.h"

#include "platform/classes/AppHooks.h"
#include "platform/classes/FormText.h"
#include "platform/classes/Resources.h"
#include "platform/classes/Streams.h"
#include "platform/classes/Strings.h"
#include "tests/rtl/ExpectError.h"
#include "tests/runtime/GlossaTestForms.h"
#include "tests/tools/TraceRecorder.h"
#include "tools/Debug.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace orlo {
namespace {

using test::ExpectError;
using test::GlossaEventLog;
using test::LoadTranslatedForm;
using test::TMainForm;
using test::TOptionsForm;
using test::TPreviewForm;
using test::TReportForm;
using test::TToolForm;
using test::TTranslatedForm;

using TLog = std::vector<String>;

// What a form shows in one language: its caption and Shown().
struct TFormTexts {
    String Caption;
    String Shown;
};

const std::map<String, TFormTexts> MainTexts = {
    {"English", {"Main window", "&Open|Close|First line|Second line"}},
    {"Deutsch", {"Hauptfenster", "Ö&ffnen|Schließen|Erste Zeile|Zweite Zeile"}},
    {"Français", {"Fenêtre principale", "&Ouvrir|Fermer|Première ligne|Deuxième ligne"}},
};
const std::map<String, TFormTexts> OptionsTexts = {
    {"English", {"Options", "&Apply|Cancel|Changes apply at once."}},
    {"Deutsch", {"Einstellungen", "Ü&bernehmen|Abbrechen|Änderungen gelten sofort."}},
};
const std::map<String, TFormTexts> ToolTexts = {
    {"English", {"Tools", "&Run|Stop|Ready."}},
    {"Deutsch", {"Werkzeuge", "&Ausführen|Anhalten|Bereit."}},
};
const std::map<String, TFormTexts> ReportTexts = {
    {"English", {"Report", "&Print|Close|Page 1"}},
    {"Deutsch", {"Bericht", "&Drucken|Schließen|Seite 1"}},
};
const std::map<String, TFormTexts> PreviewTexts = {
    {"English", {"Preview", "&Zoom|Close|Page 1 of 3"}},
    {"Deutsch", {"Vorschau", "&Zoomen|Schließen|Seite 1 von 3"}},
};

void ExpectShows(const TTranslatedForm* Form, const std::map<String, TFormTexts>& Texts,
                 const String& Language) {
    const TFormTexts& Expected = Texts.at(Language);
    EXPECT_EQ(Form->Caption(), Expected.Caption) << Form->Name() << " in " << Language;
    EXPECT_EQ(Form->Shown(), Expected.Shown) << Form->Name() << " in " << Language;
    EXPECT_EQ(Form->Glossa->GetLanguage(), Language) << Form->Name();
}

TLanguageFrame* FrameOf(TGlossa* Glossa) {
    TLanguageFrame* Frame = GlossaNoDomainFrames()->FindFrame(Glossa->Listener());
    return Frame ? Frame : GlossaDomainFrames()->FindFrame(Glossa->Listener());
}

// A creation or change listener that logs "<name>:<language of the component>"
// ("<name>:nil" for nil) and then runs Action.
class TNotifyLog : public TObject {
    ORLO_CLASS(TNotifyLog, TObject)
public:
    TNotifyLog(String Name, TLog& Log) : FName(std::move(Name)), FLog(Log) {}

    void Notify(TGlossa* Glossa) {
        FLog.push_back(FName + ":" + (Glossa ? Glossa->GetLanguage() : String("nil")));
        if (Action)
            Action(Glossa);
    }
    TLangNotify Method() { return TLangNotify::Make<&TNotifyLog::Notify>(this); }

    std::function<void(TGlossa*)> Action;

private:
    String FName;
    TLog& FLog;
};

ORLO_UNPUBLISHED(TNotifyLog, "GlossaTest")

// An event handler (TNotifyEvent) that runs Action.
class TEventAction : public TObject {
    ORLO_CLASS(TEventAction, TObject)
public:
    void Fire(TObject*) { Action(); }
    TNotifyEvent Event() { return TNotifyEvent::Make<&TEventAction::Fire>(this); }

    std::function<void()> Action;
};

ORLO_UNPUBLISHED(TEventAction, "GlossaTest")

// Forms read from their form files. The frames outlive a test (a frame that
// ends hands its language to the next one), so every test first shows its
// main form in English, and checks that its forms left no frame behind.
class GlossaForms : public ::testing::Test {
protected:
    void SetUp() override { GlossaEventLog().clear(); }
    void TearDown() override {
        Forms.clear();
        for (const auto& Registered : Listeners)
            TGlossa::UnregisterCreateNotify(Registered->Method());
        EXPECT_EQ(GlossaNoDomainFrames()->Count(), 0);
        EXPECT_EQ(GlossaDomainFrames()->Count(), 0);
    }

    template <class F> F* Open() {
        Forms.push_back(LoadTranslatedForm<F>());
        return static_cast<F*>(Forms.back().get());
    }
    TMainForm* OpenMainInEnglish() {
        TMainForm* Main = Open<TMainForm>();
        Main->Glossa->SetLanguage("English");
        GlossaEventLog().clear();
        return Main;
    }
    void Close(TTranslatedForm* Form) {
        std::erase_if(Forms, [Form](const auto& Open) { return Open.get() == Form; });
    }
    // A listener logging into Notified; it outlives the forms.
    TNotifyLog& Listener(const String& Name) {
        Listeners.push_back(std::make_unique<TNotifyLog>(Name, Notified));
        return *Listeners.back();
    }

    TExceptionRecorder Shown;
    TLog Notified;
    std::vector<std::unique_ptr<TNotifyLog>> Listeners;
    std::vector<std::unique_ptr<TTranslatedForm>> Forms;
};

// --- Switching the forms of a frame ----------------------------------------------

TEST_F(GlossaForms, LanguageSwitchesEveryFormOfTheFrame) {
    struct TStep {
        const char* Assigned;
        const char* Main;
        const char* Options; // the options form has no French and keeps its texts
    };
    const TStep Steps[] = {
        {"Deutsch", "Deutsch", "Deutsch"},
        {" english ", "English", "English"},
        {"GERMAN", "Deutsch", "Deutsch"},
        {"Français", "Français", "Deutsch"},
        {"English", "English", "English"},
        {"français", "Français", "English"},
        // French by its English name, and by its spelling without cedilla.
        {"English", "English", "English"},
        {"French", "Français", "English"},
        {"English", "English", "English"},
        {"Francais", "Français", "English"},
    };
    TMainForm* Main = OpenMainInEnglish();
    TOptionsForm* Options = Open<TOptionsForm>();
    ASSERT_EQ(FrameOf(Main->Glossa), FrameOf(Options->Glossa));
    for (const TStep& Step : Steps) {
        SCOPED_TRACE(Step.Assigned);
        Options->Glossa->SetLanguage(Step.Assigned);
        ExpectShows(Main, MainTexts, Step.Main);
        ExpectShows(Options, OptionsTexts, Step.Options);
        EXPECT_EQ(FrameOf(Main->Glossa)->Language(), Trim(Step.Assigned));
    }
    EXPECT_TRUE(Shown.Entries().empty());
}

TEST_F(GlossaForms, AFormJoiningAFrameTakesItsLanguage) {
    TMainForm* Main = OpenMainInEnglish();
    Main->Glossa->SetLanguage("Deutsch");
    GlossaEventLog().clear();
    // Stored in German, read into a German frame: its own events run once, the
    // main form hears nothing.
    TOptionsForm* Options = Open<TOptionsForm>();
    ExpectShows(Options, OptionsTexts, "Deutsch");
    EXPECT_EQ(GlossaEventLog(),
              (TLog{"OptionsForm:before:Ü&bernehmen", "OptionsForm:change:Ü&bernehmen",
                    "OptionsForm:after:Ü&bernehmen"}));
    Close(Options);
    Main->Glossa->SetLanguage("English");
    Options = Open<TOptionsForm>();
    ExpectShows(Options, OptionsTexts, "English");
}

TEST_F(GlossaForms, TheFramesLanguageOrABlankNameChangesNothing) {
    TMainForm* Main = OpenMainInEnglish();
    Open<TOptionsForm>();
    GlossaEventLog().clear();
    Main->Glossa->RegisterChangeNotify(Listener("listener").Method());
    for (const char* Same : {"English", "ENGLISH", "  english", "", "   "}) {
        SCOPED_TRACE(Same);
        Main->Glossa->SetLanguage(Same);
        EXPECT_TRUE(GlossaEventLog().empty());
        EXPECT_TRUE(Notified.empty());
        ExpectShows(Main, MainTexts, "English");
    }
    EXPECT_TRUE(Shown.Entries().empty());
}

TEST_F(GlossaForms, BeforeEventsOfAllFormsRunBeforeAnyValueIsWritten) {
    OpenMainInEnglish();
    TOptionsForm* Options = Open<TOptionsForm>();
    GlossaEventLog().clear();
    Options->Glossa->SetLanguage("Deutsch");
    EXPECT_EQ(GlossaEventLog(), (TLog{"MainForm:before:&Open", "OptionsForm:before:&Apply",
                                      "MainForm:change:Ö&ffnen", "OptionsForm:change:Ü&bernehmen",
                                      "MainForm:after:Ö&ffnen", "OptionsForm:after:Ü&bernehmen"}));
}

TEST_F(GlossaForms, HandlersThatRaiseAreShownAndTheSwitchGoesOn) {
    TMainForm* Main = OpenMainInEnglish();
    TOptionsForm* Options = Open<TOptionsForm>();
    GlossaEventLog().clear();
    Main->FailIn = "before";
    Options->FailIn = "change";
    Main->Glossa->SetLanguage("Deutsch");
    ExpectShows(Main, MainTexts, "Deutsch");
    ExpectShows(Options, OptionsTexts, "Deutsch");
    EXPECT_EQ(GlossaEventLog().size(), 6u);
    ASSERT_EQ(Shown.Entries().size(), 2u);
    EXPECT_EQ(Shown.Entries()[0].Message, "MainForm before failed");
    EXPECT_EQ(Shown.Entries()[0].Sender, Main->Glossa);
    EXPECT_EQ(Shown.Entries()[1].Message, "OptionsForm change failed");
    EXPECT_EQ(Shown.Entries()[1].Sender, Options->Glossa);
}

TEST_F(GlossaForms, ASwitchFromAHandlerIsRefused) {
    TMainForm* Main = OpenMainInEnglish();
    TNotifyLog& Switcher = Listener("switcher");
    Switcher.Action = [](TGlossa* Glossa) {
        if (Glossa)
            Glossa->SetLanguage("Français");
    };
    Main->Glossa->RegisterChangeNotify(Switcher.Method());
    Main->Glossa->SetLanguage("Deutsch");
    ExpectShows(Main, MainTexts, "Deutsch");
    ASSERT_EQ(Shown.Entries().size(), 1u);
    EXPECT_EQ(Shown.Entries()[0].ClassName, "Exception");
    EXPECT_EQ(Shown.Entries()[0].Message,
              "SetGlobalLanguage cannot be called when still processing");
    EXPECT_EQ(Shown.Entries()[0].Sender, Main->Glossa);
    EXPECT_EQ(GlossaEventLog().back(), "MainForm:after:Ö&ffnen");
    // Once the switch is over, switching works again.
    Main->Glossa->UnregisterChangeNotify(Switcher.Method());
    Main->Glossa->SetLanguage("Français");
    ExpectShows(Main, MainTexts, "Français");
}

TEST_F(GlossaForms, ALanguageTheLastFormLackedStaysWithTheNextForm) {
    TMainForm* Main = OpenMainInEnglish();
    Main->Glossa->SetLanguage("Français");
    Close(Main);
    EXPECT_EQ(GlossaNoDomainFrames()->Count(), 0);
    EXPECT_EQ(GlossaNoDomainFrames()->LastLanguage(), "Français");
    // The options form has no French: it shows what it was stored with.
    TOptionsForm* Options = Open<TOptionsForm>();
    EXPECT_EQ(FrameOf(Options->Glossa)->Language(), "Français");
    ExpectShows(Options, OptionsTexts, "Deutsch");
    EXPECT_TRUE(Shown.Entries().empty());
}

TEST_F(GlossaForms, AFormLackingTheLanguageIsTraced) {
    TMainForm* Main = OpenMainInEnglish();
    TOptionsForm* Options = Open<TOptionsForm>();
    const test::TTraceRecorder Trace;
    Main->Glossa->SetLanguage("Français");
    EXPECT_TRUE(Trace.Contains("Glossa: OptionsForm.Glossa: switch to 'Français' dropped: "
                               "Language 'Français' of form TOptionsForm not found"));
    ExpectShows(Options, OptionsTexts, "English");
    EXPECT_TRUE(Shown.Entries().empty());
}

// --- Frames: TopLevel and domains --------------------------------------------------

TEST_F(GlossaForms, ATopLevelFormFoundsAFrameThatLaterFormsFollow) {
    TMainForm* Main = OpenMainInEnglish();
    TToolForm* Tool = Open<TToolForm>();
    TOptionsForm* Options = Open<TOptionsForm>();
    ASSERT_EQ(GlossaNoDomainFrames()->Count(), 2);
    EXPECT_NE(FrameOf(Main->Glossa), FrameOf(Tool->Glossa));
    EXPECT_EQ(FrameOf(Tool->Glossa), FrameOf(Options->Glossa));
    // The new frame started in the language of the one before it.
    ExpectShows(Tool, ToolTexts, "English");

    Options->Glossa->SetLanguage("Deutsch");
    ExpectShows(Tool, ToolTexts, "Deutsch");
    ExpectShows(Options, OptionsTexts, "Deutsch");
    ExpectShows(Main, MainTexts, "English");

    Main->Glossa->SetLanguage("Français");
    ExpectShows(Main, MainTexts, "Français");
    ExpectShows(Tool, ToolTexts, "Deutsch");
}

TEST_F(GlossaForms, ATopLevelComponentTakesTheOtherComponentsOfItsFormAlong) {
    TMainForm* Main = OpenMainInEnglish();
    // Inner joins the main form's frame when it is made; Top, read after it,
    // founds a new frame and takes Inner along.
    const String FormText = "object TwoComponents: TMainForm\n"
                            "  object Inner: TGlossa\n"
                            "  end\n"
                            "  object Top: TGlossa\n"
                            "    TopLevel = True\n"
                            "  end\n"
                            "end\n";
    RegisterClass(TGlossa::StaticClass());
    TStringStream Text(FormText);
    TMemoryStream Binary;
    ObjectTextToBinary(&Text, &Binary);
    Binary.SetPosition(0);
    auto Form = std::make_unique<TMainForm>(nullptr);
    Binary.ReadComponent(Form.get());
    auto* Inner = static_cast<TGlossa*>(Form->FindComponent("Inner"));
    auto* Top = static_cast<TGlossa*>(Form->FindComponent("Top"));
    ASSERT_TRUE(Inner && Top);
    EXPECT_TRUE(Top->TopLevel());
    EXPECT_EQ(GlossaNoDomainFrames()->Count(), 2);
    EXPECT_NE(FrameOf(Top), FrameOf(Main->Glossa));
    EXPECT_EQ(FrameOf(Inner), FrameOf(Top));
}

TEST_F(GlossaForms, DomainsDifferingInCaseShareAFrame) {
    TMainForm* Main = OpenMainInEnglish();
    TReportForm* Report = Open<TReportForm>();
    TPreviewForm* Preview = Open<TPreviewForm>();
    ASSERT_EQ(GlossaDomainFrames()->Count(), 1);
    EXPECT_EQ(FrameOf(Report->Glossa), FrameOf(Preview->Glossa));
    EXPECT_EQ(FrameOf(Report->Glossa)->Name(), "REPORTS");
    // At run time each component keeps the domain it was given.
    EXPECT_EQ(Report->Glossa->GetDomain(), "Reports");
    EXPECT_EQ(Preview->Glossa->GetDomain(), "REPORTS");

    Report->Glossa->SetLanguage("Deutsch");
    ExpectShows(Report, ReportTexts, "Deutsch");
    ExpectShows(Preview, PreviewTexts, "Deutsch");
    ExpectShows(Main, MainTexts, "English");
    Main->Glossa->SetLanguage("Français");
    ExpectShows(Report, ReportTexts, "Deutsch");
}

TEST_F(GlossaForms, ChangingTheDomainMovesTheFormAndAdoptsTheFramesLanguage) {
    TMainForm* Main = OpenMainInEnglish();
    TReportForm* Report = Open<TReportForm>();
    Report->Glossa->SetLanguage("Deutsch");
    GlossaEventLog().clear();

    Main->Glossa->SetDomain(" reports ");
    EXPECT_EQ(Main->Glossa->GetDomain(), "reports");
    EXPECT_EQ(FrameOf(Main->Glossa), FrameOf(Report->Glossa));
    ExpectShows(Main, MainTexts, "Deutsch");
    EXPECT_EQ(GlossaEventLog(),
              (TLog{"MainForm:before:&Open", "MainForm:change:Ö&ffnen", "MainForm:after:Ö&ffnen"}));
    EXPECT_EQ(GlossaNoDomainFrames()->Count(), 0);

    // Back without a domain: the frame it left ended in English, so the new one
    // starts in English.
    Main->Glossa->SetDomain("");
    EXPECT_EQ(GlossaNoDomainFrames()->Count(), 1);
    ExpectShows(Main, MainTexts, "English");
    ExpectShows(Report, ReportTexts, "Deutsch");
}

TEST_F(GlossaForms, TopLevelCannotChangeAtRunTime) {
    TToolForm* Tool = Open<TToolForm>();
    ExpectError<Exception>([&] { Tool->Glossa->SetTopLevel(false); },
                           "TGlossa.TopLevel can only be changed at designing time");
    EXPECT_TRUE(Tool->Glossa->TopLevel());
    Tool->Glossa->SetTopLevel(true); // no change, no error
}

// --- Notifications ----------------------------------------------------------------

TEST_F(GlossaForms, ChangeListenersRunNewestFirstAndHearNilAtTheEnd) {
    TMainForm* Main = OpenMainInEnglish();
    TNotifyLog& A = Listener("A");
    TNotifyLog& B = Listener("B");
    TNotifyLog& C = Listener("C");
    for (TNotifyLog* Registered : {&A, &B, &C, &A})
        Main->Glossa->RegisterChangeNotify(Registered->Method());
    B.Action = [](TGlossa*) { throw Exception("B failed"); };
    Main->Glossa->SetLanguage("Deutsch");
    EXPECT_EQ(Notified, (TLog{"A:Deutsch", "C:Deutsch", "B:Deutsch"}));
    ASSERT_EQ(Shown.Entries().size(), 1u);
    EXPECT_EQ(Shown.Entries()[0].Message, "B failed");

    Notified.clear();
    B.Action = nullptr;
    Main->Glossa->UnregisterChangeNotify(C.Method());
    // A listener that unregisters one not yet called spares it.
    A.Action = [&](TGlossa* Glossa) {
        if (Glossa)
            Glossa->UnregisterChangeNotify(B.Method());
    };
    Main->Glossa->SetLanguage("English");
    EXPECT_EQ(Notified, (TLog{"A:English"}));

    Notified.clear();
    Main->Glossa->RegisterChangeNotify(B.Method());
    Close(Main);
    EXPECT_EQ(Notified, (TLog{"B:nil", "A:nil"}));
}

// A form closed by a handler of its own component during a switch: that
// component's remaining steps are skipped, the other form gets all of its.
TEST_F(GlossaForms, AFormClosedDuringASwitchMissesOnlyItsOwnRemainingSteps) {
    struct TCase {
        const char* ClosedIn;
        TLog Events;
    };
    const TLog OptionsSwitched{"OptionsForm:change:Ü&bernehmen", "OptionsForm:after:Ü&bernehmen"};
    const TCase Cases[] = {
        {"BeforeChange", {"OptionsForm:before:&Apply"}},
        {"listener", {"MainForm:before:&Open", "OptionsForm:before:&Apply"}},
        {"OnChange", {"MainForm:before:&Open", "OptionsForm:before:&Apply"}},
        {"AfterChange",
         {"MainForm:before:&Open", "OptionsForm:before:&Apply", "MainForm:change:Ö&ffnen"}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.ClosedIn);
        TMainForm* Main = OpenMainInEnglish();
        TOptionsForm* Options = Open<TOptionsForm>();
        Options->Glossa->SetLanguage("English");
        TNotifyLog& Earlier = Listener("earlier");
        Main->Glossa->RegisterChangeNotify(Earlier.Method());
        // Closes the main form, then fails.
        auto CloseMain = [&] {
            Close(Main);
            throw Exception("failed after closing");
        };
        TNotifyLog& Closer = Listener("closer");
        TEventAction Handler;
        Handler.Action = CloseMain;
        const String ClosedIn = Case.ClosedIn;
        if (ClosedIn == "listener") {
            Closer.Action = [&](TGlossa* Glossa) {
                if (Glossa)
                    CloseMain();
            };
            Main->Glossa->RegisterChangeNotify(Closer.Method());
        } else if (ClosedIn == "BeforeChange") {
            Main->Glossa->BeforeChange = Handler.Event();
        } else if (ClosedIn == "OnChange") {
            Main->Glossa->OnChange = Handler.Event();
        } else {
            Main->Glossa->AfterChange = Handler.Event();
        }
        GlossaEventLog().clear();
        Notified.clear();
        Shown.Clear();

        Main->Glossa->SetLanguage("Deutsch");

        TLog Expected = Case.Events;
        Expected.insert(Expected.end(), OptionsSwitched.begin(), OptionsSwitched.end());
        EXPECT_EQ(GlossaEventLog(), Expected);
        ExpectShows(Options, OptionsTexts, "Deutsch");
        // Told once that the component goes, never called with it afterwards.
        if (ClosedIn == "listener")
            EXPECT_EQ(Notified, (TLog{"closer:Deutsch", "closer:nil", "earlier:nil"}));
        else if (ClosedIn == "BeforeChange")
            EXPECT_EQ(Notified, (TLog{"earlier:nil"}));
        else
            EXPECT_EQ(Notified, (TLog{"earlier:Deutsch", "earlier:nil"}));
        // What the closing handler raised is shown without the freed component.
        ASSERT_EQ(Shown.Entries().size(), 1u);
        EXPECT_EQ(Shown.Entries()[0].Message, "failed after closing");
        EXPECT_EQ(Shown.Entries()[0].Sender, nullptr);
        Close(Options);
    }
}

TEST_F(GlossaForms, CreationListenersHearOfEveryNewComponent) {
    OpenMainInEnglish();
    TNotifyLog& First = Listener("first");
    TNotifyLog& Second = Listener("second");
    std::vector<TGlossa*> Created;
    First.Action = [&](TGlossa* Glossa) {
        Created.push_back(Glossa);
        throw Exception("first failed");
    };
    TGlossa::RegisterCreateNotify(First.Method());
    TGlossa::RegisterCreateNotify(Second.Method());
    TOptionsForm* Options = Open<TOptionsForm>();
    TGlossa::UnregisterCreateNotify(First.Method());
    TGlossa::UnregisterCreateNotify(Second.Method());
    // Told before the component has read anything.
    EXPECT_EQ(Notified, (TLog{"second:", "first:"}));
    EXPECT_EQ(Created, std::vector<TGlossa*>{Options->Glossa});
    ASSERT_EQ(Shown.Entries().size(), 1u);
    EXPECT_EQ(Shown.Entries()[0].Sender, Options->Glossa);

    Notified.clear();
    Open<TOptionsForm>();
    EXPECT_TRUE(Notified.empty());
}

TEST_F(GlossaForms, FormEventsRunOnceWhenTheFormIsLoaded) {
    OpenMainInEnglish();
    auto Options = std::make_unique<TOptionsForm>(nullptr);
    Options->FailIn = "change";
    test::ReadTranslatedForm(Options.get());
    EXPECT_EQ(GlossaEventLog(), (TLog{"OptionsForm:before:&Apply", "OptionsForm:change:&Apply",
                                      "OptionsForm:after:&Apply"}));
    ASSERT_EQ(Shown.Entries().size(), 1u);
    EXPECT_EQ(Shown.Entries()[0].Message, "OptionsForm change failed");
}

// --- Named strings and languages --------------------------------------------------

TEST_F(GlossaForms, GetStringAnswersInTheCurrentLanguage) {
    struct TCase {
        const char* Language;
        const char* ID;
        const char* Value;
    };
    const TCase Cases[] = {
        {"English", "Saved", "The file was saved."},
        {"English", "  question ", "Save the changes?"},
        {"Deutsch", "Saved", "Die Datei wurde gespeichert."},
        {"Deutsch", "QUESTION", "Änderungen speichern?"},
        {"Français", "Saved", "Le fichier a été enregistré."},
    };
    TMainForm* Main = OpenMainInEnglish();
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.ID);
        Main->Glossa->SetLanguage(Case.Language);
        EXPECT_EQ(Main->Glossa->GetString(Case.ID), Case.Value);
    }
    ExpectError<EStringNotFound>([&] { Main->Glossa->GetString("Missing"); },
                                 "Character string identifier not found: Missing");
}

TEST_F(GlossaForms, GetLanguagesListsTheNamesSorted) {
    TMainForm* Main = OpenMainInEnglish();
    TStringList Names;
    Names.Add("stale");
    Main->Glossa->GetLanguages(&Names);
    EXPECT_EQ(Names.Text(), "Deutsch\r\nEnglish\r\nFrançais\r\n");
}

TEST_F(GlossaForms, SavedFormsKeepTheirLanguageAndDropThePlaceholder) {
    TMainForm* Main = OpenMainInEnglish();
    Main->Glossa->SetLanguage("Deutsch");
    TMemoryStream Binary;
    Binary.WriteComponent(Main);
    Binary.SetPosition(0);
    TMemoryStream Text;
    ObjectBinaryToText(&Binary, &Text);
    const String FormText(reinterpret_cast<const char*>(Text.Memory()), Text.Size());
    EXPECT_NE(FormText.find("Language = 'Deutsch'"), String::npos);
    EXPECT_EQ(FormText.find("Languages ="), String::npos);
    EXPECT_EQ(FormText.find("Domain ="), String::npos);
    EXPECT_NE(FormText.find("LanguageManager_Names = 'Saved'#13#10'Question'#13#10"), String::npos);

    // Read back into a frame that shows English, it switches once loaded.
    Main->Glossa->SetLanguage("English");
    auto Copy = std::make_unique<TMainForm>(nullptr);
    Binary.SetPosition(0);
    Binary.ReadComponent(Copy.get());
    EXPECT_EQ(Copy->Glossa->GetLanguage(), "English");
    EXPECT_EQ(Copy->Shown(), MainTexts.at("English").Shown);
}

// --- Components made in code -------------------------------------------------------

TEST(Glossa, NeedsAnOwner) {
    ExpectError<Exception>([] { TGlossa Orphan(nullptr); }, "Component owner for TGlossa required");
    EXPECT_EQ(GlossaNoDomainFrames()->Count(), 0);
}

TEST(Glossa, MadeInCodeItSwitchesAtOnce) {
    TComponent Owner(nullptr);
    auto* Glossa = new TGlossa(&Owner);
    TLanguageEntries Langs(nullptr);
    for (const char* Name : {"English", "Deutsch"})
        static_cast<TLanguageEntry*>(Langs.Add())->SetName(Name);
    Glossa->LanguageManager()->AssignLangsAndSync(&Langs, cmInitAll);
    Glossa->SetLanguage("German");
    EXPECT_EQ(Glossa->GetLanguage(), "Deutsch");
    EXPECT_EQ(FrameOf(Glossa)->Language(), "German");
}

// A unit whose InitGlossa has not run yet has an empty look-up.
TEST(Glossa, AnUnassignedLookUpRaisesInsteadOfCallingAddressZero) {
    const TGetString GetString;
    ExpectError<EAccessViolation>([&] { GetString("Greeting"); },
                                  "Call of an unassigned TGetString");
}

TEST(Glossa, AnUnknownActionIsShown) {
    TExceptionRecorder Shown;
    TComponent Owner(nullptr);
    auto* Glossa = new TGlossa(&Owner);
    Glossa->SetLanguageNotify(nullptr, "English", static_cast<TActionMode>(7));
    ASSERT_EQ(Shown.Entries().size(), 1u);
    EXPECT_EQ(Shown.Entries()[0].ClassName, "ECaseError");
    EXPECT_EQ(Shown.Entries()[0].Message, "TGlossa.SetLanguageNotify: Invalid action");
}

std::vector<String> Traces;

TEST(Glossa, StartupLanguageCannotBeDefinedOnceAFrameExisted) {
    {
        TComponent Owner(nullptr);
        new TGlossa(&Owner);
    }
    const String Last = GlossaNoDomainFrames()->LastLanguage();
    Traces.clear();
    TDebug::SetSink([](const String& Line) { Traces.push_back(Line); });
    DefineStartupLanguage("Français");
    DefineStartupLanguage("");
    TDebug::SetSink(nullptr);
    EXPECT_EQ(GlossaNoDomainFrames()->LastLanguage(), Last);
    EXPECT_EQ(Traces, (std::vector<String>{
                          "Glossa: DefineStartupLanguage: Startup language 'Français' ignored - "
                          "already defined or started",
                          "Glossa: DefineStartupLanguage: Startup language '' ignored - already "
                          "defined or started"}));
}

// --- In the designer -------------------------------------------------------------

class GlossaDesigner : public ::testing::Test {
protected:
    GlossaDesigner() {
        for (TComponent* Form : {&FormA, &FormB})
            Form->SetDesigning(true);
    }
    TComponent FormA{nullptr};
    TComponent FormB{nullptr};
};

TEST_F(GlossaDesigner, TheFirstComponentIsNamedAfterItsClass) {
    struct TCase {
        const char* Proposed;
        const char* Given;
    };
    const TCase Cases[] = {
        {"Glossa1", "Glossa"},        // the first one loses its number
        {"Glossa2", "Glossa2"},       // "Glossa" is taken
        {"Translator", "Translator"}, // nothing to strip
    };
    for (const TCase& Case : Cases) {
        auto* Glossa = new TGlossa(&FormA);
        Glossa->SetName(Case.Proposed);
        EXPECT_EQ(Glossa->Name(), Case.Given);
    }
    // Only the first naming strips, and only in the designer.
    FormA.Components(0)->SetName("Glossa5");
    EXPECT_EQ(FormA.Components(0)->Name(), "Glossa5");
    TComponent Running(nullptr);
    auto* Glossa = new TGlossa(&Running);
    Glossa->SetName("Glossa1");
    EXPECT_EQ(Glossa->Name(), "Glossa1");
}

TEST_F(GlossaDesigner, DomainsReadBackInTheLetterCaseOfTheirFrame) {
    auto* A = new TGlossa(&FormA);
    auto* B = new TGlossa(&FormB);
    A->SetDomain("Reports");
    B->SetDomain(" REPORTS ");
    EXPECT_EQ(A->GetDomain(), "REPORTS");
    EXPECT_EQ(B->GetDomain(), "REPORTS");
    ASSERT_EQ(GlossaDomainFrames()->Count(), 1);
    // In the designer a change of letter case is a change.
    A->SetDomain("reports");
    EXPECT_EQ(B->GetDomain(), "reports");
    EXPECT_EQ(GlossaDomainFrames()->Count(), 1);
}

TEST_F(GlossaDesigner, TopLevelOnlyStoresTheFlag) {
    auto* A = new TGlossa(&FormA);
    TLanguageFrame* Frame = FrameOf(A);
    A->SetTopLevel(true);
    EXPECT_TRUE(A->TopLevel());
    EXPECT_EQ(FrameOf(A), Frame);
    A->SetTopLevel(false);
    EXPECT_FALSE(A->TopLevel());
}

} // namespace
} // namespace orlo
