#pragma once
// Message boxes: every question and every failure that the package shows goes
// through one box of its own, never through the platform's. The box is a form
// with its own TGlossa (English and German), so its title and its button
// captions follow the language of the caller's language domain.
//
// All routines show the box modally and return the modal result of the button
// that closed it (mrOk 1 … mrYesToAll 10, 1010 for mbTerminate, 1011 for
// mbDebug). An empty button set means one OK button. A box can be closed by
// its close box or Escape only when it has a cancel button (Cancel, Abort, or
// the hidden one added when no button closes it); that yields the cancel
// button's result.

#include "platform/classes/TypInfo.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Types.h"
#include "runtime/Glossa.h"
#include "widgets/ButtonPanel.h"

#include <cstdint>

namespace orlo {

ORLO_ENUM(TMsgBoxType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
ORLO_ENUM(TMsgBoxButton, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
          mbYesToAll, mbTerminate, mbDebug, mbCopyErrorAddr, mbHelp)
ORLO_SET(TMsgBoxButtons, TMsgBoxButton)

// The results of the buttons that have none of the common modal results.
constexpr Integer mrTerminate = 1010;
constexpr Integer mrDebug = 1011;

// An exception that tells which kind of box should show it; mtError unless
// given.
class EMsg : public Exception {
public:
    explicit EMsg(String Msg, TMsgBoxType Type = mtError)
        : Exception(std::move(Msg)), FType(Type) {}
    const char* ClassName() const noexcept override { return "EMsg"; }
    TMsgBoxType MsgType() const noexcept { return FType; }

private:
    TMsgBoxType FType;
};

// Shows Text with the title of Type (or Caption, when not blank) and Buttons;
// mbHelp opens the application's help at HelpContext. The box speaks the
// language of the frame without domain.
Integer Msg(const String& Text, const String& Caption, TMsgBoxType Type, TMsgBoxButtons Buttons,
            Integer HelpContext = 0);
// As Msg, in the language of the language domain Domain.
Integer MsgEx(const String& Text, const String& Caption, TMsgBoxType Type, TMsgBoxButtons Buttons,
              Integer HelpContext, const String& Domain);
// An error report: "\$Error$\" in Text becomes "An error has occured" in the
// box's language, and mbCopyErrorAddr puts ErrorAddr on the clipboard as "$"
// and at least 8 hexadecimal digits.
Integer MsgErr(const String& Text, const String& Caption, TMsgBoxType Type, TMsgBoxButtons Buttons,
               Integer HelpContext, std::uintptr_t ErrorAddr, const String& Domain);
// Msg without caption.
Integer MessageDlg(const String& Text, TMsgBoxType Type, TMsgBoxButtons Buttons,
                   Integer HelpContext = 0);
// An information box with one OK button.
void ShowMessage(const String& Text);

// Everything one box shows.
struct TMsgBoxRequest {
    String Text;
    String Caption;
    TMsgBoxType Type = mtInformation;
    TMsgBoxButtons Buttons;
    Integer HelpContext = 0;
    std::uintptr_t ErrorAddr = 0;
    String Domain;
    bool ReplaceErrorPlaceholder = false; // MsgErr
};

// The box, read from its form file: an empty button panel, the icon, the
// text and its own TGlossa with the captions and titles in English and German.
class TMyMsgForm : public TForm {
    ORLO_CLASS(TMyMsgForm, TForm)
public:
    explicit TMyMsgForm(TComponent* AOwner) : TForm(AOwner) {}

    // Joins the language domain, then sets title, icon, buttons and text.
    void Prepare(const TMsgBoxRequest& Request);

    TButtonPanel* ButtonPanel = nullptr;
    TImage* Image = nullptr;
    TLabel* MsgLabel = nullptr;
    TGlossa* Glossa = nullptr;

    // A closing button was clicked.
    bool Clicked() const noexcept { return FClicked; }
    // Escape and the close box end the box, with CancelResult.
    bool CanCancel() const noexcept { return FCanCancel; }
    TModalResult CancelResult() const noexcept { return FCancelResult; }

    bool HandleDialogKey(Word Key) override;
    void ButtonClick(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

private:
    void SetTitleAndIcon(const String& Caption, TMsgBoxType Type);
    void PlaceButtons(TMsgBoxButtons Buttons);
    void MakeCancelButton(TButtonItem* Item, TModalResult Result);
    bool HasDefaultButton() const;
    Integer VisibleButtonCount() const;
    void LayoutText(const String& Text);

    Integer FHelpContext = 0;
    std::uintptr_t FErrorAddr = 0;
    bool FClicked = false;
    bool FCanCancel = false;
    TModalResult FCancelResult = mrCancel;
};

// Shows one box modally and returns its result; what every routine above does.
Integer ShowMsgBox(const TMsgBoxRequest& Request);

// The text "Copy Address" puts on the clipboard: "$0040A1B2".
String ErrorAddrText(std::uintptr_t ErrorAddr);

} // namespace orlo
