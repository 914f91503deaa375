#include "platform/forms/ExtCtrls.h"

#include "platform/forms/Menus.h"

#include <QLabel>
#include <QMouseEvent>
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

// --- TSplitter ---------------------------------------------------------------

namespace {
const bool SplitterRegistered = (RegisterClass(TSplitter::StaticClass()), true);
} // namespace

ORLO_PUBLISHED(TSplitter, "ExtCtrls") {
    P.Property("Align", &TSplitter::Align, &TSplitter::SetAlign).Default(alLeft);
    P.Property("AutoSnap", &TSplitter::AutoSnap).Default(1);
    P.Property("Beveled", &TSplitter::Beveled).Default(0);
    publish::Color(P);
    P.Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
    publish::ParentColor(P, true);
    P.Property("ResizeStyle", &TSplitter::ResizeStyle).Default(rsPattern);
    publish::Visible(P);
    P.Property("OnCanResize", &TSplitter::OnCanResize);
    P.Property("OnMoved", &TSplitter::OnMoved);
}

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
}

TSplitter::~TSplitter() {
    *FAlive = false;
}

TControl* TSplitter::Neighbour() const {
    TWinControl* Owner = Parent();
    if (!Owner)
        return nullptr;
    for (Integer I = 0; I < Owner->ControlCount(); ++I) {
        TControl* C = Owner->Controls(I);
        if (C == this || !C->Visible() || C->Align() != Align())
            continue;
        const bool Touches = (Align() == alLeft && C->Left() + C->Width() == Left()) ||
                             (Align() == alRight && C->Left() == Left() + Width()) ||
                             (Align() == alTop && C->Top() + C->Height() == Top()) ||
                             (Align() == alBottom && C->Top() == Top() + Height());
        if (Touches)
            return C;
    }
    return nullptr;
}

Integer TSplitter::SizeOf(const TControl* Control) const {
    return Vertical() ? Control->Width() : Control->Height();
}

Integer TSplitter::FreeSpace() const {
    TWinControl* Owner = Parent();
    Integer Result = Vertical() ? Owner->ClientWidth() : Owner->ClientHeight();
    for (Integer I = 0; I < Owner->ControlCount(); ++I) {
        const TControl* C = Owner->Controls(I);
        const TAlign A = C->Align();
        const bool SameAxis =
            Vertical() ? A == alLeft || A == alRight : A == alTop || A == alBottom;
        if (C->Visible() && SameAxis)
            Result -= SizeOf(C);
    }
    return Result;
}

void TSplitter::MoveBy(Integer Delta) {
    TControl* Target = Neighbour();
    if (!Target)
        return;
    const Integer Current = SizeOf(Target);
    const Integer Largest = std::max(Current, Current + FreeSpace() - FMinSize);
    Integer NewSize =
        std::min(Current + (Align() == alLeft || Align() == alTop ? Delta : -Delta), Largest);
    if (NewSize < FMinSize)
        NewSize = AutoSnap ? 0 : std::min(FMinSize, Largest);
    bool Accept = true;
    const std::shared_ptr<bool> Alive = FAlive;
    if (OnCanResize)
        OnCanResize(this, NewSize, Accept);
    // The handler may have freed the splitter or taken the neighbour away.
    if (!*Alive || !Accept || Neighbour() != Target || NewSize == Current)
        return;
    if (Vertical())
        Target->SetWidth(std::max(0, NewSize));
    else
        Target->SetHeight(std::max(0, NewSize));
    if (OnMoved)
        OnMoved(this);
}

void TSplitter::InitWidget() {
    TGraphicControl::InitWidget();
    FWidget->setCursor(Vertical() ? Qt::SplitHCursor : Qt::SplitVCursor);
}

bool TSplitter::WidgetEvent(QEvent* Event) {
    const auto Along = [this](QEvent* E) {
        const QPointF At = static_cast<QMouseEvent*>(E)->globalPosition();
        return static_cast<Integer>(Vertical() ? At.x() : At.y());
    };
    if (Event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton) {
        FDragging = true;
        FDragStart = Along(Event);
        return true;
    }
    if (Event->type() == QEvent::MouseButtonRelease && FDragging) {
        FDragging = false;
        MoveBy(Along(Event) - FDragStart);
        return true;
    }
    return TGraphicControl::WidgetEvent(Event);
}

} // namespace orlo
