// The message box driven through the modal runner: buttons with their
// captions and results in English and German, titles and icons, the closing
// rules, help, "Copy Address", and the exception display of a program with
// windows.

#include "widgets/MsgBox.h"

#include "platform/classes/AppHooks.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace orlo::test {
namespace {

constexpr const char* GermanDomain = "Widget tests (German)";

// What a box showed, taken while it was showing.
struct TShownBox {
    String Title;
    String Text;
    std::vector<String> Captions; // visible buttons, left to right
    TSystemIcon Icon{};
    bool CloseEnabled = true;
    bool CanCancel = false;
    String DefaultCaption;
};

TShownBox Inspect(TCustomForm* Form) {
    auto* Box = dynamic_cast<TMyMsgForm*>(Form);
    EXPECT_NE(Box, nullptr);
    TShownBox Shown;
    if (!Box)
        return Shown;
    Shown.Title = Box->Caption();
    Shown.Text = Box->MsgLabel->Caption();
    Shown.Icon = Box->Image->Picture()->Icon()->SystemIcon();
    Shown.CloseEnabled = Box->CloseEnabled();
    Shown.CanCancel = Box->CanCancel();
    TButtonCollection* Items = Box->ButtonPanel->Buttons();
    for (Integer I = 0; I < Items->Count(); ++I) {
        TButtonItem* Item = Items->Items(I);
        if (Item->GetBool(3))
            Shown.Captions.push_back(Item->Caption());
        if (Item->GetBool(1))
            Shown.DefaultCaption = Item->Caption();
    }
    return Shown;
}

// The visible button with that caption.
TExBitBtn* ButtonOf(TCustomForm* Form, const String& Caption) {
    auto* Box = dynamic_cast<TMyMsgForm*>(Form);
    TButtonCollection* Items = Box->ButtonPanel->Buttons();
    for (Integer I = 0; I < Items->Count(); ++I)
        if (Items->Items(I)->GetBool(3) && Items->Items(I)->Caption() == Caption)
            return Items->Items(I)->Button();
    ADD_FAILURE() << "no button " << Caption;
    return nullptr;
}

class MsgBoxTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(Script.Pending(), 0); }

    // The caller's frames: without domain in English, and a German domain.
    TLanguageFrameHost English{"", "English"};
    TLanguageFrameHost German{GermanDomain, "Deutsch"};
    TModalScript Script;
};

TEST_F(MsgBoxTest, EmptyButtonSetShowsOneOkButtonThatAnswersOne) {
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Form) {
        Shown = Inspect(Form);
        ButtonOf(Form, "&OK")->Click();
    });
    EXPECT_EQ(Msg("Saved.", "", mtInformation, {}, 0), mrOk);
    EXPECT_EQ(Shown.Captions, std::vector<String>{"&OK"});
    EXPECT_EQ(Shown.DefaultCaption, "&OK");
    EXPECT_EQ(Shown.Text, "Saved.");
}

struct TButtonCase {
    TMsgBoxButton Button;
    const char* English;
    const char* German;
    Integer Result; // 0: the button stays; the box is then closed by Escape
};

const TButtonCase ButtonCases[] = {
    {mbYes, "&Yes", "&Ja", mrYes},
    {mbNo, "&No", "&Nein", mrNo},
    {mbOK, "&OK", "&OK", mrOk},
    {mbCancel, "&Cancel", "&Abbrechen", mrCancel},
    {mbAbort, "&Abort", "&Abbruch", mrAbort},
    {mbRetry, "&Retry", "&Wiederholen", mrRetry},
    {mbIgnore, "&Ignore", "&Ignorieren", mrIgnore},
    {mbAll, "All", "Alle", mrAll},
    {mbNoToAll, "No to all", "Nein zu allen", mrNoToAll},
    {mbYesToAll, "Yes to all", "Ja zu allen", mrYesToAll},
    {mbTerminate, "&Terminate", "&Beenden", mrTerminate},
    {mbDebug, "&Debug", "&Debug", mrDebug},
    {mbCopyErrorAddr, "Copy Address", "Addr. kopieren", 0},
    {mbHelp, "&Help", "&Hilfe", 0},
};

TEST_F(MsgBoxTest, EachButtonHasItsCaptionInBothLanguagesAndItsResult) {
    for (const TButtonCase& Case : ButtonCases)
        for (const bool InGerman : {false, true}) {
            SCOPED_TRACE(InGerman ? Case.German : Case.English);
            const String Caption = InGerman ? Case.German : Case.English;
            Script.Answer([&](TCustomForm* Form) {
                EXPECT_EQ(Inspect(Form).Captions, std::vector<String>{Caption});
                ButtonOf(Form, Caption)->Click();
                if (Case.Result == 0) {
                    EXPECT_EQ(Form->ModalResult(), mrNone) << "the box must stay open";
                    Form->PressKey(VK_ESCAPE);
                }
                EXPECT_EQ(Form->ModalResult(), Case.Result == 0 ? mrCancel : Case.Result);
            });
            const Integer Answer =
                MsgEx("Text", "", mtCustom, {Case.Button}, 0, InGerman ? GermanDomain : "");
            EXPECT_EQ(Answer, Case.Result == 0 ? mrCancel : Case.Result);
        }
}

TEST_F(MsgBoxTest, ButtonsArePlacedInTheirOwnOrder) {
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Form) {
        Shown = Inspect(Form);
        ButtonOf(Form, "&Yes")->Click();
    });
    Msg("Text", "", mtWarning,
        {mbHelp, mbTerminate, mbCopyErrorAddr, mbDebug, mbYesToAll, mbNoToAll, mbAll, mbIgnore,
         mbRetry, mbAbort, mbCancel, mbOK, mbNo, mbYes},
        0);
    const std::vector<String> Expected{
        "&Yes", "&No",       "&OK",        "&Cancel", "&Abort",       "&Retry",     "&Ignore",
        "All",  "No to all", "Yes to all", "&Debug",  "Copy Address", "&Terminate", "&Help"};
    EXPECT_EQ(Shown.Captions, Expected);
    EXPECT_EQ(Shown.DefaultCaption, "&Yes");
}

struct TTypeCase {
    TMsgBoxType Type;
    const char* English;
    const char* German;
    TSystemIcon Icon;
};

const TTypeCase TypeCases[] = {
    {mtWarning, "Warning", "Warnung", IDI_EXCLAMATION},
    {mtError, "Error", "Fehler", IDI_HAND},
    {mtInformation, "Information", "Information", IDI_ASTERISK},
    {mtConfirmation, "Confirmation", "Bestätigung", IDI_QUESTION},
    {mtCustom, "", "", IDI_APPLICATION},
};

TEST_F(MsgBoxTest, TitleAndIconFollowTheTypeAndTheLanguage) {
    for (const TTypeCase& Case : TypeCases)
        for (const bool InGerman : {false, true}) {
            SCOPED_TRACE(Case.English);
            TShownBox Shown;
            Script.Answer([&](TCustomForm* Form) {
                Shown = Inspect(Form);
                Form->PressKey(VK_RETURN);
            });
            EXPECT_EQ(MsgEx("Text", "", Case.Type, {mbOK}, 0, InGerman ? GermanDomain : ""), mrOk);
            EXPECT_EQ(Shown.Title, InGerman ? Case.German : Case.English);
            EXPECT_EQ(Shown.Icon, Case.Icon);
        }
}

TEST_F(MsgBoxTest, CallersCaptionReplacesTheTitleTrimmed) {
    for (const TMsgBoxType Type : {mtWarning, mtError, mtCustom}) {
        TShownBox Shown;
        Script.Answer([&](TCustomForm* Form) {
            Shown = Inspect(Form);
            Form->PressKey(VK_RETURN);
        });
        Msg("Text", "  Orlo Setup ", Type, {mbOK}, 0);
        EXPECT_EQ(Shown.Title, "Orlo Setup");
    }
}

TEST_F(MsgBoxTest, GermanDomainSeesGermanConfirmation) {
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Form) {
        Shown = Inspect(Form);
        Screenshot(Form, "msgbox-confirmation-de");
        ButtonOf(Form, "&Nein")->Click();
    });
    EXPECT_EQ(MsgEx("Änderungen speichern?", "", mtConfirmation, {mbYes, mbNo}, 0, GermanDomain),
              mrNo);
    EXPECT_EQ(Shown.Title, "Bestätigung");
    EXPECT_EQ(Shown.Captions, (std::vector<String>{"&Ja", "&Nein"}));
}

TEST_F(MsgBoxTest, YesNoBoxCannotBeClosedByEscapeOrCloseBox) {
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Form) {
        Shown = Inspect(Form);
        Form->PressKey(VK_ESCAPE);
        EXPECT_EQ(Form->ModalResult(), mrNone);
        Form->SystemClose();
        EXPECT_EQ(Form->ModalResult(), mrNone);
        EXPECT_TRUE(Form->Visible());
        ButtonOf(Form, "&Yes")->Click();
    });
    EXPECT_EQ(MessageDlg("Save the changes?", mtConfirmation, {mbYes, mbNo}), mrYes);
    EXPECT_FALSE(Shown.CloseEnabled);
    EXPECT_FALSE(Shown.CanCancel);
}

TEST_F(MsgBoxTest, HelpOnlyBoxOpensHelpAndEndsWithEscapeAsCancel) {
    Script.Answer([&](TCustomForm* Form) {
        EXPECT_TRUE(Inspect(Form).CloseEnabled);
        ButtonOf(Form, "&Help")->Click();
        EXPECT_EQ(Form->ModalResult(), mrNone);
        Form->PressKey(VK_ESCAPE);
        EXPECT_EQ(Form->ModalResult(), mrCancel);
    });
    EXPECT_EQ(Msg("See the manual.", "", mtInformation, {mbHelp}, 4711), mrCancel);
    ASSERT_EQ(Script.Log().HelpRequests.size(), 1u);
    EXPECT_EQ(Script.Log().HelpRequests[0].Command, HELP_CONTEXT);
    EXPECT_EQ(Script.Log().HelpRequests[0].Data, 4711);
}

TEST_F(MsgBoxTest, CloseBoxAndEscapeAnswerTheCancelButtonsResult) {
    struct TCase {
        TMsgBoxButtons Buttons;
        bool ByEscape;
        Integer Result;
    };
    const TCase Cases[] = {
        {{mbOK, mbCancel}, true, mrCancel},   {{mbOK, mbCancel}, false, mrCancel},
        {{mbRetry, mbAbort}, true, mrAbort},  {{mbRetry, mbAbort}, false, mrAbort},
        {{mbCopyErrorAddr}, false, mrCancel},
    };
    for (const TCase& Case : Cases) {
        Script.Answer([&](TCustomForm* Form) {
            if (Case.ByEscape) {
                Form->PressKey(VK_ESCAPE);
                EXPECT_EQ(Form->ModalResult(), Case.Result);
            } else {
                Form->SystemClose();
            }
        });
        EXPECT_EQ(Msg("Text", "", mtError, Case.Buttons, 0), Case.Result);
    }
}

TEST_F(MsgBoxTest, EnterPressesTheFirstPlacedButton) {
    // Placed in their own order: Abort before Retry and Ignore.
    Script.Answer([](TCustomForm* Form) {
        Form->PressKey(VK_RETURN);
        EXPECT_EQ(Form->ModalResult(), mrAbort);
    });
    EXPECT_EQ(Msg("Text", "", mtWarning, {mbIgnore, mbRetry, mbAbort}, 0), mrAbort);
    Script.Answer([](TCustomForm* Form) { Form->PressKey(VK_RETURN); });
    EXPECT_EQ(Msg("Text", "", mtWarning, {mbIgnore, mbRetry}, 0), mrRetry);
}

TEST_F(MsgBoxTest, ErrorReportNamesTheErrorAndCopiesItsAddress) {
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Form) {
        Shown = Inspect(Form);
        Screenshot(Form, "msgbox-error-en");
        ButtonOf(Form, "Copy Address")->Click();
        EXPECT_EQ(Form->ModalResult(), mrNone);
        ButtonOf(Form, "&Terminate")->Click();
    });
    EXPECT_EQ(MsgErr("\\$Error$\\: the file is damaged.", "", mtError,
                     {mbTerminate, mbCopyErrorAddr}, 0, 0x0040A1B2, ""),
              mrTerminate);
    EXPECT_EQ(Shown.Text, "An error has occured: the file is damaged.");
    EXPECT_EQ(Script.Log().ClipboardTexts, std::vector<String>{"$0040A1B2"});
}

TEST_F(MsgBoxTest, ErrorReportInGerman) {
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Form) {
        Shown = Inspect(Form);
        Screenshot(Form, "msgbox-error-de");
        ButtonOf(Form, "&OK")->Click();
    });
    MsgErr("\\$Error$\\.", "", mtError, {mbOK, mbCopyErrorAddr}, 0, 1, GermanDomain);
    EXPECT_EQ(Shown.Text, "Ein Fehler ist aufgetreten.");
    EXPECT_EQ(Shown.Captions, (std::vector<String>{"&OK", "Addr. kopieren"}));
}

TEST(ErrorAddrTextTest, AtLeastEightHexadecimalDigits) {
    EXPECT_EQ(ErrorAddrText(0x0040A1B2), "$0040A1B2");
    EXPECT_EQ(ErrorAddrText(0), "$00000000");
    // A 64-bit address keeps every digit.
    EXPECT_EQ(ErrorAddrText(0x00007F12345678ABull), "$7F12345678AB");
}

TEST_F(MsgBoxTest, LongTextWrapsAndTheBoxGrowsToFitIt) {
    String Text;
    for (int I = 0; I < 40; ++I)
        Text += "word ";
    Script.Answer([&](TCustomForm* Form) {
        auto* Box = dynamic_cast<TMyMsgForm*>(Form);
        Screenshot(Form, "msgbox-long-en");
        const Integer TextBottom = Box->MsgLabel->Top() + Box->MsgLabel->Height();
        EXPECT_GT(Box->MsgLabel->Height(), Box->Image->Height()) << "the text wraps";
        EXPECT_LE(TextBottom, Box->ButtonPanel->Top());
        EXPECT_LE(Box->MsgLabel->Left() + Box->MsgLabel->Width(), Box->ClientWidth());
        Form->PressKey(VK_RETURN);
    });
    ShowMessage(Text);
}

TEST_F(MsgBoxTest, ExceptionsOfAProgramWithWindowsAreShownInTheBox) {
    Application->Initialize(); // a program with windows
    TShownBox Shown;
    Script.Answer([&](TCustomForm* Form) {
        Shown = Inspect(Form);
        Form->PressKey(VK_RETURN);
    });
    try {
        throw EMsg("The disk is full.");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    EXPECT_EQ(Shown.Text, "The disk is full.");
    EXPECT_EQ(Shown.Title, "Error");
}

TEST(EMsgTest, CarriesItsTypeAndDefaultsToError) {
    EXPECT_EQ(EMsg("x").MsgType(), mtError);
    EXPECT_EQ(EMsg("x", mtWarning).MsgType(), mtWarning);
    EXPECT_STREQ(EMsg("x").ClassName(), "EMsg");
}

TEST_F(MsgBoxTest, NestedBoxFromAButtonHandler) {
    // A handler of one box asks a question in a second box before closing.
    Script.Answer([&](TCustomForm* Form) {
        EXPECT_EQ(Msg("Really?", "", mtConfirmation, {mbYes, mbNo}, 0), mrYes);
        ButtonOf(Form, "&OK")->Click();
    });
    Script.Answer([](TCustomForm* Form) { ButtonOf(Form, "&Yes")->Click(); });
    EXPECT_EQ(Msg("Outer", "", mtInformation, {mbOK}, 0), mrOk);
    EXPECT_EQ(Script.Shown(), (std::vector<String>{"MyMsgForm", "MyMsgForm"}));
}

} // namespace
} // namespace orlo::test
