#pragma once
// Bitmap buttons: a button with a glyph, and the standard kinds that bring
// their own caption, glyph and modal result.

#include "platform/forms/StdCtrls.h"

namespace orlo {

ORLO_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
          bkIgnore, bkAll)
ORLO_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
ORLO_ENUM(TButtonStyle, bsAutoDetect, bsWin31, bsNew)

// Caption and modal result of a kind ("OK", mrOk; bkCustom gives "", mrNone).
String BitBtnCaption(TBitBtnKind Kind);
TModalResult BitBtnModalResult(TBitBtnKind Kind);

class TBitBtn : public TButton {
    ORLO_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;

    TBitBtnKind Kind() const noexcept { return FKind; }
    // Takes the kind's caption, glyph and modal result; OK and Yes become the
    // default button, Cancel and No the cancel button.
    void SetKind(TBitBtnKind Value);
    TBitmap* Glyph() const noexcept { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
    // How many images the glyph holds side by side (up, disabled, down, held).
    Integer NumGlyphs() const noexcept { return FNumGlyphs; }
    void SetNumGlyphs(Integer Value);
    TButtonLayout Layout() const noexcept { return FLayout; }
    void SetLayout(TButtonLayout Value);
    Integer Margin = -1;
    Integer Spacing = 4;
    TButtonStyle Style = bsAutoDetect;

    // bkClose closes the form, bkHelp asks for help at HelpContext.
    void Click() override;
    // The image the button shows: the first glyph, or the kind's own.
    QImage ShownGlyph() const;

protected:
    void InitWidget() override;

private:
    bool IsCustom() const { return FKind == bkCustom; }
    bool IsCustomCaption() const { return FKind == bkCustom || Caption() != BitBtnCaption(FKind); }
    void GlyphChanged(TObject* Sender);
    void ApplyGlyph();

    TBitBtnKind FKind = bkCustom;
    std::unique_ptr<TBitmap> FGlyph;
    Integer FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
};

} // namespace orlo
