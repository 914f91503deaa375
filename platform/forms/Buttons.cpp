#include "platform/forms/Buttons.h"

#include "platform/forms/Forms.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

namespace orlo {

namespace {

struct TKindInfo {
    const char* Caption;
    TModalResult Result;
    QStyle::StandardPixmap Pixmap;
};

const TKindInfo& KindInfo(TBitBtnKind Kind) {
    static const TKindInfo Infos[] = {
        {"", mrNone, QStyle::SP_CustomBase},
        {"OK", mrOk, QStyle::SP_DialogOkButton},
        {"Cancel", mrCancel, QStyle::SP_DialogCancelButton},
        {"&Help", mrNone, QStyle::SP_DialogHelpButton},
        {"&Yes", mrYes, QStyle::SP_DialogYesButton},
        {"&No", mrNo, QStyle::SP_DialogNoButton},
        {"&Close", mrNone, QStyle::SP_DialogCloseButton},
        {"Abort", mrAbort, QStyle::SP_BrowserStop},
        {"&Retry", mrRetry, QStyle::SP_BrowserReload},
        {"&Ignore", mrIgnore, QStyle::SP_DialogDiscardButton},
        {"&All", mrAll, QStyle::SP_DialogApplyButton},
    };
    return Infos[Kind];
}

} // namespace

String BitBtnCaption(TBitBtnKind Kind) {
    return KindInfo(Kind).Caption;
}
TModalResult BitBtnModalResult(TBitBtnKind Kind) {
    return KindInfo(Kind).Result;
}

ORLO_PUBLISHED(TBitBtn, "Buttons") {
    P.Property("Caption", &TBitBtn::Caption, &TBitBtn::SetCaption)
        .Type(TCaptionTypeInfo())
        .Stored(&TBitBtn::IsCustomCaption);
    P.Property("Cancel", &TBitBtn::Cancel, &TBitBtn::SetCancel)
        .Default(0)
        .Stored(&TBitBtn::IsCustom);
    P.Property("Default", &TBitBtn::Default, &TBitBtn::SetDefault)
        .Default(0)
        .Stored(&TBitBtn::IsCustom);
    P.Property("ModalResult", &TBitBtn::ModalResult, &TBitBtn::SetModalResult)
        .Default(0)
        .Stored(&TBitBtn::IsCustom);
    P.Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph).Stored(&TBitBtn::IsCustom);
    P.Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
    P.Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
    P.Property("Margin", &TBitBtn::Margin).Default(-1);
    P.Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
        .Default(1)
        .Stored(&TBitBtn::IsCustom);
    P.Property("Spacing", &TBitBtn::Spacing).Default(4);
    P.Property("Style", &TBitBtn::Style).Default(bsAutoDetect);
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = TNotifyEvent::Make<&TBitBtn::GlyphChanged>(this);
}

TBitBtn::~TBitBtn() {
    FGlyph->OnChange = nullptr;
}

void TBitBtn::SetKind(TBitBtnKind Value) {
    if (Value == FKind)
        return;
    FKind = Value;
    if (Value == bkCustom)
        return;
    // A caption read before the kind is the form's own.
    const bool Loading =
        ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
    if (!Loading || Caption().empty())
        SetCaption(BitBtnCaption(Value));
    SetModalResult(BitBtnModalResult(Value));
    if (Value == bkOK || Value == bkYes)
        SetDefault(true);
    if (Value == bkCancel || Value == bkNo)
        SetCancel(true);
    FGlyph->Clear();
    ApplyGlyph();
}

void TBitBtn::SetNumGlyphs(Integer Value) {
    FNumGlyphs = std::clamp<Integer>(Value, 1, 4);
    ApplyGlyph();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
    FLayout = Value;
    if (FWidget)
        FWidget->setLayoutDirection(Value == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
}

void TBitBtn::Click() {
    if (FKind == bkClose) {
        if (TCustomForm* Form = GetParentForm()) {
            Form->Close();
            TControl::Click(); // as any button: the click handler last
            return;
        }
    }
    if (FKind == bkHelp) {
        Application->HelpContext(HelpContext());
        TControl::Click();
        return;
    }
    TButton::Click();
}

QImage TBitBtn::ShownGlyph() const {
    if (!FGlyph->Empty()) {
        const QImage& All = FGlyph->Image();
        return All.copy(0, 0, All.width() / FNumGlyphs, All.height());
    }
    if (FKind == bkCustom)
        return QImage();
    NeedWidgetApplication();
    return QApplication::style()->standardIcon(KindInfo(FKind).Pixmap).pixmap(16, 16).toImage();
}

void TBitBtn::GlyphChanged(TObject*) {
    ApplyGlyph();
}

void TBitBtn::ApplyGlyph() {
    auto* Button = qobject_cast<QPushButton*>(FWidget);
    if (!Button)
        return;
    const QImage Image = ShownGlyph();
    Button->setIcon(Image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(Image)));
}

void TBitBtn::InitWidget() {
    TButton::InitWidget();
    ApplyGlyph();
    SetLayout(FLayout);
}

} // namespace orlo
