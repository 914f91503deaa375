#include "platform/forms/ExtCtrls.h"

#include "platform/forms/Menus.h"

#include <QLabel>
#include <QPixmap>

namespace orlo {

// --- TCustomPanel ------------------------------------------------------------

ORLO_PUBLISHED(TCustomPanel, "ExtCtrls") {}

ORLO_PUBLISHED(TPanel, "ExtCtrls") {
    publish::Align(P);
    P.Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
    publish::Anchors(P);
    P.Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
    P.Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
    P.Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
    P.Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
    P.Property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
    publish::Caption(P);
    publish::Appearance(P);
    P.Property("FullRepaint", &TPanel::FullRepaint).Default(1);
    P.Property("Locked", &TPanel::Locked).Default(0);
    publish::Parents(P, true);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, false);
    publish::Visible(P);
    publish::ClickEvents(P);
    publish::FocusEvents(P);
    P.Property("OnResize", &TPanel::OnResize);
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 185, 41);
    FControlStyle.Include(csAcceptsControls);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    ApplyText();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
    FBevelInner = Value;
    ApplyFrame();
    Realign();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    FBevelOuter = Value;
    ApplyFrame();
    Realign();
}

void TCustomPanel::SetBevelWidth(Integer Value) {
    FBevelWidth = std::max(1, Value);
    ApplyFrame();
    Realign();
}

void TCustomPanel::SetBorderWidth(Integer Value) {
    FBorderWidth = std::max(0, Value);
    Realign();
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle Value) {
    FBorderStyle = Value == bsSingle ? bsSingle : bsNone;
    ApplyFrame();
    Realign();
}

Integer TCustomPanel::Inset() const {
    Integer Result = FBorderWidth;
    if (FBevelOuter != bvNone)
        Result += FBevelWidth;
    if (FBevelInner != bvNone)
        Result += FBevelWidth;
    if (FBorderStyle == bsSingle)
        Result += 1;
    return Result;
}

TRect TCustomPanel::AlignRect() const {
    const Integer I = Inset();
    return TRect{I, I, std::max(I, ClientWidth() - I), std::max(I, ClientHeight() - I)};
}

void TCustomPanel::Resize() {
    TCustomControl::Resize();
    if (OnResize && !ComponentState().Contains(csLoading))
        OnResize(this);
}

QWidget* TCustomPanel::CreateWidget(QWidget* ParentWidget) {
    return new QLabel(ParentWidget);
}

void TCustomPanel::InitWidget() {
    TCustomControl::InitWidget();
    FWidget->setAutoFillBackground(true);
    ApplyFrame();
}

void TCustomPanel::ApplyFrame() {
    auto* Frame = qobject_cast<QLabel*>(FWidget);
    if (!Frame)
        return;
    const TBevelCut Outer = FBevelOuter != bvNone ? FBevelOuter : FBevelInner;
    if (FBorderStyle == bsSingle)
        Frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    else if (Outer == bvNone || Outer == bvSpace)
        Frame->setFrameStyle(QFrame::NoFrame);
    else
        Frame->setFrameStyle(QFrame::Panel | (Outer == bvRaised ? QFrame::Raised : QFrame::Sunken));
    Frame->setLineWidth(FBevelWidth);
}

void TCustomPanel::ApplyText() {
    auto* Frame = qobject_cast<QLabel*>(FWidget);
    if (!Frame)
        return;
    Frame->setText(ToQString(StripAccelChars(Caption())));
    const Qt::Alignment Horizontal = FAlignment == taLeftJustify    ? Qt::AlignLeft
                                     : FAlignment == taRightJustify ? Qt::AlignRight
                                                                    : Qt::AlignHCenter;
    Frame->setAlignment(Horizontal | Qt::AlignVCenter);
}

// --- TImage ------------------------------------------------------------------

ORLO_PUBLISHED(TImage, "ExtCtrls") {
    publish::Align(P);
    publish::Anchors(P);
    P.Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(0);
    P.Property("Center", &TImage::Center, &TImage::SetCenter).Default(0);
    publish::DragCursor(P);
    publish::DragMode(P);
    publish::Enabled(P);
    publish::ParentShowHint(P);
    P.Property("Picture", &TImage::Picture, &TImage::SetPicture);
    publish::ShowHint(P);
    P.Property("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(0);
    P.Property("Transparent", &TImage::Transparent).Default(0);
    publish::Visible(P);
    publish::ClickEvents(P);
}

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    FPicture->OnChange = TNotifyEvent::Make<&TImage::PictureChanged>(this);
}

TImage::~TImage() {
    FPicture->OnChange = nullptr;
}

void TImage::SetAutoSize(bool Value) {
    FAutoSize = Value;
    PictureChanged(nullptr);
}

void TImage::SetCenter(bool Value) {
    FCenter = Value;
    ApplyPicture();
}

void TImage::SetStretch(bool Value) {
    FStretch = Value;
    ApplyPicture();
}

void TImage::PictureChanged(TObject*) {
    const TGraphic* Graphic = FPicture->Graphic();
    if (FAutoSize && Graphic && !Graphic->Empty())
        SetBounds(Left(), Top(), Graphic->Width(), Graphic->Height());
    ApplyPicture();
}

QWidget* TImage::CreateWidget(QWidget* ParentWidget) {
    return new QLabel(ParentWidget);
}

void TImage::InitWidget() {
    TGraphicControl::InitWidget();
    ApplyPicture();
}

void TImage::ApplyPicture() {
    auto* Label = qobject_cast<QLabel*>(FWidget);
    if (!Label)
        return;
    const TGraphic* Graphic = FPicture->Graphic();
    Label->setPixmap(Graphic && !Graphic->Empty() ? QPixmap::fromImage(Graphic->Image())
                                                  : QPixmap());
    Label->setScaledContents(FStretch);
    Label->setAlignment(FCenter ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
}

} // namespace orlo
