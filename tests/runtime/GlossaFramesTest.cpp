#include "runtime/GlossaFrames.h"

#include "platform/classes/AppHooks.h"
#include "platform/classes/TypInfo.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace orlo {
namespace {

using TLog = std::vector<String>;

// A frame listener that logs "Name:action:language" and can run a scripted
// reaction to one action.
class TListener : public TObject {
    ORLO_CLASS(TListener, TObject)
public:
    TListener(String Name, TLog& Log) : FName(std::move(Name)), FLog(Log) {}

    void Notify(TObject* Sender, const String& Language, TActionMode Action) {
        static const char* const Steps[] = {"before", "set", "change", "after"};
        FLog.push_back(FName + ":" + Steps[Action] + ":" + Language);
        LastSender = Sender;
        if (React && Action == ReactOn)
            React();
    }
    TLanguageNotify Method() { return TLanguageNotify::Make<&TListener::Notify>(this); }

    TObject* LastSender = nullptr;
    TActionMode ReactOn = amBeforeChange;
    std::function<void()> React;

private:
    String FName;
    TLog& FLog;
};

ORLO_UNPUBLISHED(TListener, "GlossaFramesTest")

// The full log of one switch of the given listeners, in the order they run.
TLog SwitchLog(std::initializer_list<const char*> Names, const String& Language) {
    TLog Log;
    for (const char* Step : {"before", "set", "change", "after"})
        for (const char* Name : Names)
            Log.push_back(String(Name) + ":" + Step + ":" + Language);
    return Log;
}

class LanguageFrames : public ::testing::Test {
protected:
    TListener& Listener(const String& Name) {
        Listeners.push_back(std::make_unique<TListener>(Name, Log));
        return *Listeners.back();
    }
    TLog TakeLog() { return std::exchange(Log, {}); }

    TLog Log;
    std::vector<std::unique_ptr<TListener>> Listeners;
    TLanguageFrames Frames;
    TExceptionRecorder Shown;
};

// --- Joining frames ------------------------------------------------------------

TEST_F(LanguageFrames, UnnamedListenersJoinTheLatestTopLevelFrame) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    TListener& C = Listener("C");
    TListener& D = Listener("D");
    EXPECT_TRUE(Frames.AddNotify("", A.Method(), false));
    EXPECT_FALSE(Frames.AddNotify("", B.Method(), false));
    EXPECT_TRUE(Frames.AddNotify("", C.Method(), true));
    EXPECT_FALSE(Frames.AddNotify("", D.Method(), false));
    ASSERT_EQ(Frames.Count(), 2);
    EXPECT_EQ(Frames.FindFrame(A.Method()), Frames.Items(0));
    EXPECT_EQ(Frames.FindFrame(B.Method()), Frames.Items(0));
    EXPECT_EQ(Frames.FindFrame(C.Method()), Frames.Items(1));
    EXPECT_EQ(Frames.FindFrame(D.Method()), Frames.Items(1));
}

TEST_F(LanguageFrames, AListenerIsHeldOnceInOneFrame) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    Frames.AddNotify("", A.Method(), false);
    Frames.AddNotify("", B.Method(), true);
    Frames.AddNotify("", A.Method(), false); // moves A into the latest frame
    Frames.AddNotify("", A.Method(), false);
    ASSERT_EQ(Frames.Count(), 1); // A's first frame was left empty and freed
    EXPECT_EQ(Frames.Items(0)->Notifies().Count(), 2);
    EXPECT_FALSE(Frames.AddNotify("", TLanguageNotify(), true));
    EXPECT_EQ(Frames.Count(), 1);
}

TEST_F(LanguageFrames, NamedFramesMatchWithoutCaseAndTakeTheLatestSpelling) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    TListener& C = Listener("C");
    EXPECT_TRUE(Frames.AddNotify(" Sales ", A.Method(), false));
    EXPECT_FALSE(Frames.AddNotify("SALES", B.Method(), false));
    EXPECT_TRUE(Frames.AddNotify("Ärzte", C.Method(), false));
    ASSERT_EQ(Frames.Count(), 2);
    EXPECT_EQ(Frames.Items(0)->Name(), "SALES");
    EXPECT_EQ(Frames.FindFrame(B.Method()), Frames.FindFrame(A.Method()));
    EXPECT_FALSE(Frames.AddNotify("ärzte", A.Method(), false));
    EXPECT_EQ(Frames.Items(1)->Name(), "ärzte");
    EXPECT_EQ(Frames.FindFrame(A.Method()), Frames.Items(1));
}

TEST_F(LanguageFrames, ReRegisteringUnderItsOwnNameKeepsTheFrame) {
    TListener& A = Listener("A");
    TListener& Other = Listener("Other");
    Frames.AddNotify("Sales", A.Method(), false);
    Frames.SetLanguage(A.Method(), "German");
    Frames.AddNotify("Stock", Other.Method(), false);
    Frames.SetLanguage(Other.Method(), "French");
    TLanguageFrame* Before = Frames.FindFrame(A.Method());
    EXPECT_FALSE(Frames.AddNotify("SALES", A.Method(), false));
    EXPECT_EQ(Frames.FindFrame(A.Method()), Before);
    EXPECT_EQ(Before->Name(), "SALES");
    EXPECT_EQ(Before->Language(), "German");
    EXPECT_FALSE(Frames.StartupLocked()); // no frame ended
    EXPECT_EQ(Frames.LastLanguage(), "");
}

TEST_F(LanguageFrames, HiddenFramesBeginWithADot) {
    const std::vector<std::pair<const char*, bool>> Cases{{".Private Orlo Domain", true},
                                                          {" .x", true},
                                                          {"Sales", false},
                                                          {"", false},
                                                          {"a.b", false}};
    for (const auto& [Name, Hidden] : Cases)
        EXPECT_EQ(TLanguageFrame(nullptr, Name).Hidden(), Hidden) << Name;
}

TEST_F(LanguageFrames, LookupsOfAStranger) {
    TListener& A = Listener("A");
    TListener& Stranger = Listener("Stranger");
    Frames.AddNotify("", A.Method(), false);
    TLanguageFrame* Frame = Frames.Items(0);
    String Language = "stale";
    EXPECT_FALSE(Frames.GetFrame(Stranger.Method(), Frame));
    EXPECT_EQ(Frame, nullptr);
    EXPECT_FALSE(Frames.GetLanguage(Stranger.Method(), Language));
    EXPECT_EQ(Language, "");
    EXPECT_FALSE(Frames.SetLanguage(Stranger.Method(), "German"));
    EXPECT_FALSE(Frames.DelNotify(Stranger.Method()));
    EXPECT_TRUE(Log.empty());
    test::ExpectError<EListError>([&] { Frames.Items(1); }, "List index out of bounds (1)");
}

// --- Switching -----------------------------------------------------------------

TEST_F(LanguageFrames, SwitchRunsFourPassesInRegistrationOrder) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    TListener& C = Listener("C");
    for (TListener* L : {&A, &B, &C})
        Frames.AddNotify("", L->Method(), false);
    TLanguageFrame* Frame = Frames.Items(0);
    String SeenBefore, SeenAtSet;
    B.ReactOn = amBeforeChange;
    B.React = [&] { SeenBefore = Frame->Language(); };
    C.ReactOn = amSetLanguage;
    C.React = [&] { SeenAtSet = Frame->Language(); };

    EXPECT_TRUE(Frames.SetLanguage(C.Method(), " German "));
    EXPECT_EQ(TakeLog(), SwitchLog({"A", "B", "C"}, "German"));
    EXPECT_EQ(SeenBefore, "");
    EXPECT_EQ(SeenAtSet, "German");
    EXPECT_EQ(A.LastSender, &A);
    EXPECT_EQ(C.LastSender, &C);
    String Language;
    EXPECT_TRUE(Frames.GetLanguage(A.Method(), Language));
    EXPECT_EQ(Language, "German");
}

TEST_F(LanguageFrames, NoNotificationForTheFramesLanguageOrABlankOne) {
    TListener& A = Listener("A");
    Frames.AddNotify("", A.Method(), false);
    TLanguageFrame* Frame = Frames.Items(0);
    ASSERT_TRUE(Frame->SetLanguage(A.Method(), "Türkçe"));
    TakeLog();
    for (const char* Same : {"Türkçe", "TÜRKÇE", " türkçe ", "", "   "}) {
        EXPECT_FALSE(Frame->SetLanguage(A.Method(), Same)) << Same;
        EXPECT_TRUE(Frames.SetLanguage(A.Method(), Same)) << Same; // A is in a frame
    }
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(Frame->Language(), "Türkçe");
}

TEST_F(LanguageFrames, SingleActionsTellWhetherTheyRan) {
    TListener& A = Listener("A");
    TListener& Stranger = Listener("Stranger");
    Frames.AddNotify("", A.Method(), false);
    TLanguageFrame* Frame = Frames.Items(0);
    Frame->SetLanguage(A.Method(), "German");
    TakeLog();
    EXPECT_FALSE(Frame->SetLanguageAction(A.Method(), "GERMAN", amBeforeChange));
    EXPECT_TRUE(Frame->SetLanguageAction(A.Method(), "German", amChange));
    EXPECT_FALSE(Frame->SetLanguageAction(Stranger.Method(), "French", amSetLanguage));
    EXPECT_EQ(TakeLog(), TLog{"A:change:German"});
    EXPECT_TRUE(Frame->SetLanguageAction(A.Method(), "French", amSetLanguage));
    EXPECT_EQ(Frame->Language(), "French");
}

TEST_F(LanguageFrames, SwitchStaysInsideItsFrame) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    Frames.AddNotify("", A.Method(), false);
    Frames.AddNotify("", B.Method(), true);
    Frames.SetLanguage(B.Method(), "German");
    EXPECT_EQ(TakeLog(), SwitchLog({"B"}, "German"));
    EXPECT_EQ(Frames.Items(0)->Language(), "");
}

struct TRaiseCase {
    const char* Title;
    std::function<void()> Raise;
    bool Shown;
    const char* ClassName;
    const char* Message;
};

TEST_F(LanguageFrames, ListenerExceptionsAreShownAndTheSwitchGoesOn) {
    const std::vector<TRaiseCase> Cases{
        {"our exception", [] { throw EConvertError("bad value"); }, true, "EConvertError",
         "bad value"},
        {"a C++ exception", [] { throw std::runtime_error("broken"); }, true, "std::runtime_error",
         "broken"},
        {"a non-exception", [] { throw 42; }, true, "int", ""},
        {"a missing language", [] { throw ELanguageNotFound("no German"); }, false, "", ""},
        {"the silent abort", [] { Abort(); }, false, "", ""},
    };
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    Frames.AddNotify("", A.Method(), false);
    Frames.AddNotify("", B.Method(), false);
    const char* Languages[] = {"German", "French"};
    Integer Turn = 0;
    for (const TRaiseCase& Case : Cases) {
        SCOPED_TRACE(Case.Title);
        for (TActionMode Action : {amBeforeChange, amSetLanguage, amChange, amAfterChange}) {
            const String Language = Languages[Turn++ % 2];
            A.ReactOn = Action;
            A.React = Case.Raise;
            Shown.Clear();
            ASSERT_TRUE(Frames.SetLanguage(B.Method(), Language));
            EXPECT_EQ(TakeLog(), SwitchLog({"A", "B"}, Language));
            ASSERT_EQ(Shown.Entries().size(), Case.Shown ? 1u : 0u);
            if (Case.Shown) {
                EXPECT_EQ(Shown.Entries()[0].Sender, &A);
                EXPECT_EQ(Shown.Entries()[0].ClassName, Case.ClassName);
                EXPECT_EQ(Shown.Entries()[0].Message, Case.Message);
            }
        }
    }
}

// --- Listeners coming and going during a switch -------------------------------

TEST_F(LanguageFrames, ListenerRemovedDuringASwitchIsNotCalledAgain) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    TListener& C = Listener("C");
    for (TListener* L : {&A, &B, &C})
        Frames.AddNotify("", L->Method(), false);
    A.ReactOn = amSetLanguage;
    A.React = [&] { Frames.DelNotify(B.Method()); };
    Frames.SetLanguage(A.Method(), "German");
    EXPECT_EQ(TakeLog(), (TLog{"A:before:German", "B:before:German", "C:before:German",
                               "A:set:German", "C:set:German", "A:change:German", "C:change:German",
                               "A:after:German", "C:after:German"}));
}

TEST_F(LanguageFrames, ListenerLeavingItselfFinishesThePassWithTheOthers) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    Frames.AddNotify("", A.Method(), false);
    Frames.AddNotify("", B.Method(), false);
    A.ReactOn = amBeforeChange;
    A.React = [&] { Frames.DelNotify(A.Method()); };
    Frames.SetLanguage(B.Method(), "German");
    EXPECT_EQ(TakeLog(), (TLog{"A:before:German", "B:before:German", "B:set:German",
                               "B:change:German", "B:after:German"}));
}

TEST_F(LanguageFrames, ListenerJoiningDuringASwitchTakesPartFromTheNextPass) {
    TListener& A = Listener("A");
    TListener& Late = Listener("Late");
    Frames.AddNotify("", A.Method(), false);
    A.ReactOn = amChange;
    A.React = [&] { Frames.AddNotify("", Late.Method(), false); };
    Frames.SetLanguage(A.Method(), "German");
    TLog Expected = SwitchLog({"A"}, "German");
    Expected.push_back("Late:after:German");
    EXPECT_EQ(TakeLog(), Expected);
    A.React = nullptr;
    Frames.SetLanguage(A.Method(), "French");
    EXPECT_EQ(TakeLog(), SwitchLog({"A", "Late"}, "French"));
}

TEST_F(LanguageFrames, FrameLosingItsLastListenerMidSwitchEndsAfterIt) {
    TListener& A = Listener("A");
    Frames.AddNotify("", A.Method(), false);
    A.ReactOn = amChange;
    A.React = [&] {
        Frames.DelNotify(A.Method());
        EXPECT_EQ(Frames.Count(), 1); // still switching
    };
    EXPECT_TRUE(Frames.SetLanguage(A.Method(), "German"));
    EXPECT_EQ(TakeLog(), (TLog{"A:before:German", "A:set:German", "A:change:German"}));
    EXPECT_EQ(Frames.Count(), 0);
    EXPECT_EQ(Frames.LastLanguage(), "German");
    EXPECT_FALSE(Frames.CanDefineStartupLanguage());
}

TEST_F(LanguageFrames, EmptiedFrameRefilledMidSwitchStays) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    Frames.AddNotify("", A.Method(), false);
    A.ReactOn = amSetLanguage;
    A.React = [&] {
        Frames.DelNotify(A.Method());
        Frames.AddNotify("", B.Method(), false);
    };
    Frames.SetLanguage(A.Method(), "German");
    ASSERT_EQ(Frames.Count(), 1);
    EXPECT_EQ(Frames.FindFrame(B.Method())->Language(), "German");
    EXPECT_FALSE(Frames.StartupLocked());
}

// --- Remembered and start-up languages -----------------------------------------

TEST_F(LanguageFrames, LastFrameToEndHandsItsLanguageOn) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    Frames.AddNotify("", A.Method(), false);
    Frames.SetLanguage(A.Method(), "German");
    EXPECT_TRUE(Frames.DelNotify(A.Method()));
    EXPECT_EQ(Frames.Count(), 0);
    EXPECT_EQ(Frames.LastLanguage(), "German");
    EXPECT_FALSE(Frames.CanDefineStartupLanguage());
    EXPECT_FALSE(Frames.DefineStartupLanguage("French", false));
    Frames.AddNotify("", B.Method(), false);
    EXPECT_EQ(Frames.Items(0)->Language(), "German");
}

TEST_F(LanguageFrames, NewFrameTakesTheLanguageOfTheLatestFrame) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    TListener& C = Listener("C");
    ASSERT_TRUE(Frames.DefineStartupLanguage("Spanish", false));
    Frames.AddNotify("", A.Method(), false);
    EXPECT_EQ(Frames.Items(0)->Language(), "Spanish");
    Frames.SetLanguage(A.Method(), "German");
    Frames.AddNotify("Sales", B.Method(), false);
    EXPECT_EQ(Frames.Items(1)->Language(), "German");
    Frames.SetLanguage(B.Method(), "French");
    Frames.AddNotify("", C.Method(), true);
    EXPECT_EQ(Frames.Items(2)->Language(), "French");
}

TEST_F(LanguageFrames, StartupLanguageRules) {
    TListener& A = Listener("A");
    EXPECT_TRUE(Frames.DefineStartupLanguage(" German ", false));
    EXPECT_EQ(Frames.LastLanguage(), "German");
    EXPECT_TRUE(Frames.DefineStartupLanguage("French", false)); // not fixed: may be repeated
    EXPECT_TRUE(Frames.DefineStartupLanguage("Spanish", true));
    EXPECT_TRUE(Frames.StartupLocked());
    EXPECT_FALSE(Frames.DefineStartupLanguage("Italian", true)); // fixed once
    EXPECT_EQ(Frames.LastLanguage(), "Spanish");

    TLanguageFrames Other;
    Other.AddNotify("", A.Method(), false);
    EXPECT_FALSE(Other.CanDefineStartupLanguage()); // a frame exists
    EXPECT_FALSE(Other.DefineStartupLanguage("German", false));
    EXPECT_EQ(Other.LastLanguage(), "");
}

class DesignerScope {
public:
    DesignerScope() { SetRunningInDesigner(true); }
    ~DesignerScope() { SetRunningInDesigner(false); }
};

TEST_F(LanguageFrames, InTheDesignerANewFrameStartsWithoutLanguage) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    Frames.DefineStartupLanguage("German", false);
    Frames.AddNotify("", A.Method(), false);
    Frames.SetLanguage(A.Method(), "French");
    DesignerScope Designer;
    Frames.AddNotify("", B.Method(), true);
    EXPECT_EQ(Frames.Items(1)->Language(), "");
}

TEST_F(LanguageFrames, StandaloneFrameWorksWithoutAList) {
    TListener& A = Listener("A");
    TLanguageFrame Frame(nullptr, " Tools ");
    EXPECT_EQ(Frame.Name(), "Tools");
    Frame.AddNotify(A.Method());
    Frame.AddNotify(A.Method());
    EXPECT_EQ(Frame.Notifies().Count(), 1);
    EXPECT_TRUE(Frame.SetLanguage(A.Method(), "German"));
    EXPECT_EQ(TakeLog(), SwitchLog({"A"}, "German"));
    EXPECT_TRUE(Frame.DelNotify(A.Method()));
    EXPECT_FALSE(Frame.DelNotify(A.Method()));
    EXPECT_TRUE(Frame.Empty());
}

// --- The process-wide switch ---------------------------------------------------

TEST_F(LanguageFrames, GlobalSwitchFindsTheListThatHoldsTheListener) {
    TLanguageFrames Domains;
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    Frames.AddNotify("", A.Method(), false);
    Domains.AddNotify("Sales", B.Method(), false);
    SetGlobalLanguage({&Frames, &Domains}, "German", B.Method());
    EXPECT_EQ(TakeLog(), SwitchLog({"B"}, "German"));
    SetGlobalLanguage({&Frames, &Domains}, " French ", A.Method());
    EXPECT_EQ(TakeLog(), SwitchLog({"A"}, "French"));
    SetGlobalLanguage({&Frames, &Domains}, "german", B.Method());
    EXPECT_TRUE(Log.empty());
}

TEST_F(LanguageFrames, GlobalSwitchOfAListenerWithoutFrameTellsItAlone) {
    TListener& Loner = Listener("Loner");
    Loner.ReactOn = amSetLanguage;
    Loner.React = [] { throw Exception("failed"); };
    SetGlobalLanguage({&Frames}, "German", Loner.Method());
    SetGlobalLanguage({&Frames}, "German", Loner.Method()); // no frame remembers it
    EXPECT_EQ(TakeLog().size(), 8u);
    EXPECT_EQ(Shown.Entries().size(), 2u);
    SetGlobalLanguage({&Frames}, "  ", Loner.Method());
    SetGlobalLanguage({&Frames}, "German", TLanguageNotify());
    EXPECT_TRUE(Log.empty());
}

TEST_F(LanguageFrames, GlobalSwitchIsRefusedWhileOneRuns) {
    TListener& A = Listener("A");
    TListener& B = Listener("B");
    Frames.AddNotify("", A.Method(), false);
    Frames.AddNotify("", B.Method(), true);
    A.ReactOn = amChange;
    A.React = [&] {
        EXPECT_TRUE(LanguageSwitchRunning());
        SetGlobalLanguage({&Frames}, "French", B.Method());
    };
    SetGlobalLanguage({&Frames}, "German", A.Method());
    EXPECT_EQ(TakeLog(), SwitchLog({"A"}, "German"));
    ASSERT_EQ(Shown.Entries().size(), 1u);
    EXPECT_EQ(Shown.Entries()[0].Message,
              "SetGlobalLanguage cannot be called when still processing");
    EXPECT_FALSE(LanguageSwitchRunning());

    A.React = nullptr;
    SetGlobalLanguage({&Frames}, "French", B.Method());
    EXPECT_EQ(TakeLog(), SwitchLog({"B"}, "French"));
}

TEST_F(LanguageFrames, RefusalIsAnExceptionTheCallerCanCatch) {
    TListener& A = Listener("A");
    Frames.AddNotify("", A.Method(), false);
    A.ReactOn = amBeforeChange;
    A.React = [&] {
        test::ExpectError<Exception>([&] { SetGlobalLanguage({&Frames}, "French", A.Method()); },
                                     "SetGlobalLanguage cannot be called when still processing");
    };
    SetGlobalLanguage({&Frames}, "German", A.Method());
    EXPECT_TRUE(Shown.Entries().empty());
    EXPECT_EQ(Frames.Items(0)->Language(), "German");
}

} // namespace
} // namespace orlo
