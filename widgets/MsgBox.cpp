#include "widgets/MsgBox.h"

#include "platform/forms/QtSupport.h"
#include "platform/rtl/SysUtils.h"
#include "tools/VersionControl.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <array>

namespace orlo {

namespace {

constexpr const char* UnitHeader = "$Header: /widgets/MsgBox.cpp 1.0 10.12.26 04:00 orlo $";
const TUnitVersion UnitVersion{UnitHeader};

constexpr const char* ErrorPlaceholder = "\\$Error$\\";

// What a button of the box is and does.
struct TButtonSpec {
    TMsgBoxButton Button;
    const char* CaptionName;
    TModalResult Result; // mrNone: the button does not close the box
    bool Cancels;
};

// In the order the buttons are placed.
constexpr std::array<TButtonSpec, 14> ButtonSpecs{{
    {mbYes, "Yes", mrYes, false},
    {mbNo, "No", mrNo, false},
    {mbOK, "OK", mrOk, false},
    {mbCancel, "Cancel", mrCancel, true},
    {mbAbort, "Abort", mrAbort, true},
    {mbRetry, "Retry", mrRetry, false},
    {mbIgnore, "Ignore", mrIgnore, false},
    {mbAll, "All", mrAll, false},
    {mbNoToAll, "NoToAll", mrNoToAll, false},
    {mbYesToAll, "YesToAll", mrYesToAll, false},
    {mbDebug, "Debug", mrDebug, false},
    {mbCopyErrorAddr, "CopyErrorAddr", mrNone, false},
    {mbTerminate, "Terminate", mrTerminate, false},
    {mbHelp, "Help", mrNone, false},
}};

struct TTypeSpec {
    const char* TitleName; // nullptr: the caller's caption
    TSystemIcon Icon;
};

constexpr std::array<TTypeSpec, 5> TypeSpecs{{
    {"Warning", IDI_EXCLAMATION},
    {"Error", IDI_HAND},
    {"Information", IDI_ASTERISK},
    {"Confirmation", IDI_QUESTION},
    {nullptr, IDI_APPLICATION},
}};

// What "Copy Address" does: the clipboard, or the action log while one records.
void CopyToClipboard(const String& Text) {
    if (TActionLog* Log = Application->ActionLog())
        Log->ClipboardTexts.push_back(Text);
    else
        QGuiApplication::clipboard()->setText(ToQString(Text));
}

// The text area never grows wider than this; longer lines wrap.
constexpr Integer MaxTextWidth = 420;
constexpr Integer Margin = 16;
constexpr Integer MinClientWidth = 240;

} // namespace

// --- TMyMsgForm ------------------------------------------------------------------

ORLO_PUBLISHED(TMyMsgForm, "MsgBox") {
    P.Field("ButtonPanel", &TMyMsgForm::ButtonPanel);
    P.Field("Image", &TMyMsgForm::Image);
    P.Field("MsgLabel", &TMyMsgForm::MsgLabel);
    P.Field("Glossa", &TMyMsgForm::Glossa);
    P.Method<&TMyMsgForm::FormCloseQuery>("FormCloseQuery");
}

void TMyMsgForm::Prepare(const TMsgBoxRequest& Request) {
    FHelpContext = Request.HelpContext;
    FErrorAddr = Request.ErrorAddr;
    FClicked = false;
    Glossa->SetDomain(Request.Domain);
    SetTitleAndIcon(Request.Caption, Request.Type);
    PlaceButtons(Request.Buttons);
    if (!FCanCancel)
        SetCloseEnabled(false);
    String Text = Request.Text;
    if (Request.ReplaceErrorPlaceholder)
        Text = StringReplace(Text, ErrorPlaceholder, Glossa->GetString("ErrorHasOccured"),
                             {rfReplaceAll});
    LayoutText(Text);
}

void TMyMsgForm::SetTitleAndIcon(const String& Caption, TMsgBoxType Type) {
    const TTypeSpec& Spec = TypeSpecs.at(static_cast<size_t>(Type));
    const String Given = Trim(Caption);
    if (!Given.empty())
        SetCaption(Given);
    else if (Spec.TitleName)
        SetCaption(Glossa->GetString(Spec.TitleName));
    else
        SetCaption(String());
    Image->Picture()->Icon()->LoadSystemIcon(Spec.Icon);
}

void TMyMsgForm::PlaceButtons(TMsgBoxButtons Buttons) {
    if (Buttons.Empty())
        Buttons = TMsgBoxButtons{mbOK};
    TButtonCollection* Items = ButtonPanel->Buttons();
    ButtonPanel->BeginUpdateButtons();
    Items->Clear();
    bool AnyCloses = false;
    for (const TButtonSpec& Spec : ButtonSpecs) {
        if (!Buttons.Contains(Spec.Button))
            continue;
        TButtonItem* Item = Items->Add();
        Item->SetCaption(Glossa->GetString(Spec.CaptionName));
        Item->SetModalResult(Spec.Result);
        Item->SetNotify(0, TNotifyEvent::Make<&TMyMsgForm::ButtonClick>(this));
        Item->Button()->SetTag(static_cast<Integer>(Spec.Button));
        AnyCloses = AnyCloses || Spec.Result != mrNone;
        if (Spec.Cancels)
            MakeCancelButton(Item, Spec.Result);
    }
    if (Items->Count() > 0 && !HasDefaultButton())
        Items->Items(0)->SetBool(1, true);
    if (!AnyCloses) {
        // Escape and the close box must still end a box whose buttons all stay.
        TButtonItem* Hidden = Items->Add();
        Hidden->SetBool(3, false);
        Hidden->SetModalResult(mrCancel);
        MakeCancelButton(Hidden, mrCancel);
    }
    ButtonPanel->EndUpdateButtons();
}

void TMyMsgForm::MakeCancelButton(TButtonItem* Item, TModalResult Result) {
    Item->SetBool(0, true);
    FCanCancel = true;
    FCancelResult = Result;
}

bool TMyMsgForm::HasDefaultButton() const {
    const TButtonCollection* Items = ButtonPanel->Buttons();
    for (Integer I = 0; I < Items->Count(); ++I)
        if (Items->Items(I)->GetBool(1))
            return true;
    return false;
}

void TMyMsgForm::LayoutText(const String& Text) {
    MsgLabel->SetCaption(Text);
    const TPoint Extent = MsgLabel->Canvas()->WrappedTextExtent(Text, MaxTextWidth);
    const Integer TextLeft = Image->Left() + Image->Width() + Margin;
    MsgLabel->SetBounds(TextLeft, Margin, Extent.X, Extent.Y);
    const Integer Placed = std::max<Integer>(VisibleButtonCount(), 1);
    const Integer ButtonsWidth = ButtonPanel->ButtonDist() +
                                 Placed * (ButtonPanel->ButtonDimX() + ButtonPanel->ButtonDist());
    const Integer TextBottom = Margin + std::max(Extent.Y, Image->Height());
    SetClientWidth(std::max({TextLeft + Extent.X + Margin, ButtonsWidth, MinClientWidth}));
    SetClientHeight(TextBottom + Margin + ButtonPanel->Height());
}

Integer TMyMsgForm::VisibleButtonCount() const {
    Integer Count = 0;
    for (Integer I = 0; I < ButtonPanel->Buttons()->Count(); ++I)
        if (ButtonPanel->Buttons()->Items(I)->GetBool(3))
            ++Count;
    return Count;
}

void TMyMsgForm::ButtonClick(TObject* Sender) {
    auto* Button = dynamic_cast<TExBitBtn*>(Sender);
    if (!Button)
        return;
    switch (static_cast<TMsgBoxButton>(Button->Tag())) {
    case mbCopyErrorAddr:
        CopyToClipboard(ErrorAddrText(FErrorAddr));
        break;
    case mbHelp:
        Application->HelpContext(FHelpContext);
        break;
    default:
        FClicked = true;
        break;
    }
}

bool TMyMsgForm::HandleDialogKey(Word Key) {
    if (TForm::HandleDialogKey(Key))
        return true;
    // The hidden cancel button cannot take the focus, so Escape ends the box here.
    if (Key != VK_ESCAPE || !FCanCancel)
        return false;
    SetModalResult(FCancelResult);
    return true;
}

void TMyMsgForm::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = FClicked || FCanCancel;
    if (CanClose && !FClicked)
        SetModalResult(FCancelResult);
}

// --- Routines --------------------------------------------------------------------

Integer ShowMsgBox(const TMsgBoxRequest& Request) {
    // Without owner: a box shown while another one shows would need its name too.
    std::unique_ptr<TMyMsgForm> Form(TCustomForm::Create<TMyMsgForm>(nullptr));
    Form->Prepare(Request);
    return Form->ShowModal();
}

Integer Msg(const String& Text, const String& Caption, TMsgBoxType Type, TMsgBoxButtons Buttons,
            Integer HelpContext) {
    return MsgEx(Text, Caption, Type, Buttons, HelpContext, String());
}

Integer MsgEx(const String& Text, const String& Caption, TMsgBoxType Type, TMsgBoxButtons Buttons,
              Integer HelpContext, const String& Domain) {
    return ShowMsgBox({Text, Caption, Type, Buttons, HelpContext, 0, Domain, false});
}

Integer MsgErr(const String& Text, const String& Caption, TMsgBoxType Type, TMsgBoxButtons Buttons,
               Integer HelpContext, std::uintptr_t ErrorAddr, const String& Domain) {
    return ShowMsgBox({Text, Caption, Type, Buttons, HelpContext, ErrorAddr, Domain, true});
}

Integer MessageDlg(const String& Text, TMsgBoxType Type, TMsgBoxButtons Buttons,
                   Integer HelpContext) {
    return Msg(Text, String(), Type, Buttons, HelpContext);
}

void ShowMessage(const String& Text) {
    Msg(Text, String(), mtInformation, {}, 0);
}

String ErrorAddrText(std::uintptr_t ErrorAddr) {
    return Format("$%.8x", static_cast<UInt64>(ErrorAddr));
}

// --- The application's exception display -----------------------------------------

namespace {

void ShowExceptionBox(TObject*, const String&, const String& Message) {
    Msg(Message, String(), mtError, {mbOK}, 0);
}

// A program with windows shows what HandleException receives in this box.
struct TExceptionBoxInstaller {
    TExceptionBoxInstaller() {
        if (Application)
            Application->SetExceptionBox(&ShowExceptionBox);
    }
    ~TExceptionBoxInstaller() {
        if (Application)
            Application->SetExceptionBox({});
    }
};

const TExceptionBoxInstaller ExceptionBoxInstaller;

} // namespace

} // namespace orlo
