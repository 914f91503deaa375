#include "widgets/SuperForm.h"

#include "platform/rtl/SysUtils.h"

#include <array>
#include <optional>

namespace orlo {

namespace {

constexpr size_t StateNumbers = 5;

// The numbers of "(l t w h s)", each ended by a blank and the last by ")";
// nothing when the text does not start with "(", a separator is missing or a
// number does not convert.
std::optional<std::array<Integer, StateNumbers>> ParseWindowState(const String& Text) {
    if (Text.empty() || Text[0] != '(')
        return std::nullopt;
    std::array<Integer, StateNumbers> Numbers{};
    size_t Start = 1;
    for (size_t I = 0; I < StateNumbers; ++I) {
        const char Separator = I + 1 < StateNumbers ? ' ' : ')';
        const size_t End = Text.find(Separator, Start);
        if (End == String::npos || !TryStrToInt(Text.substr(Start, End - Start), Numbers[I]))
            return std::nullopt;
        Start = End + 1;
    }
    return Numbers;
}

bool IsSizeable(TFormBorderStyle Style) {
    return Style == bsSizeable || Style == bsSizeToolWin;
}

} // namespace

// --- TMinMaxInfo -----------------------------------------------------------------

ORLO_PUBLISHED(TMinMaxInfo, "SuperForm") {
    P.Property("Enabled", &TMinMaxInfo::Enabled, &TMinMaxInfo::SetEnabled).Default(0);
    P.Property("SizeX", &TMinMaxInfo::SizeX, &TMinMaxInfo::SetSizeX).Default(0);
    P.Property("SizeY", &TMinMaxInfo::SizeY, &TMinMaxInfo::SetSizeY).Default(0);
}

void TMinMaxInfo::SetEnabled(bool Value) {
    FEnabled = Value;
    Changed();
}

void TMinMaxInfo::SetSizeX(Integer Value) {
    FSizeX = Value;
    Changed();
}

void TMinMaxInfo::SetSizeY(Integer Value) {
    FSizeY = Value;
    Changed();
}

void TMinMaxInfo::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TMinMaxInfo*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    FEnabled = Other->FEnabled;
    FSizeX = Other->FSizeX;
    FSizeY = Other->FSizeY;
    Changed();
}

void TMinMaxInfo::Changed() {
    if (OnChange)
        OnChange(this);
}

// --- TSuperForm ------------------------------------------------------------------

ORLO_PUBLISHED(TSuperForm, "SuperForm") {
    P.Property("AutoScroll", &TSuperForm::AutoScroll, &TSuperForm::SetAutoScroll);
    P.Property("BorderStyle", &TSuperForm::BorderStyle, &TSuperForm::SetBorderStyleKeepingScroll)
        .Default(bsSizeable);
    P.Property("ParentFont", &TSuperForm::ParentFont, &TSuperForm::SetParentFontFromMain)
        .Default(0);
    P.Property("Position", &TSuperForm::Position, &TSuperForm::SetPosition);
    P.Property("SizeMinTrack", &TSuperForm::SizeMinTrack, &TSuperForm::SetSizeMinTrack);
    P.Property("SizeMaxTrack", &TSuperForm::SizeMaxTrack, &TSuperForm::SetSizeMaxTrack);
    P.Property("SuperForm", &TSuperForm::SuperFormHandle, &TSuperForm::SetSuperFormHandle)
        .Stored(false);
    P.Property("OnGetMinMaxInfo", &TSuperForm::OnGetMinMaxInfo);
}

TSuperForm::TSuperForm(TComponent* AOwner)
    : TForm(AOwner), FSizeMinTrack(std::make_unique<TMinMaxInfo>()),
      FSizeMaxTrack(std::make_unique<TMinMaxInfo>()) {
    FSizeMinTrack->OnChange = TNotifyEvent::Make<&TSuperForm::TrackingChanged>(this);
    FSizeMaxTrack->OnChange = TNotifyEvent::Make<&TSuperForm::TrackingChanged>(this);
    SetAutoScroll(false);
    SetPosition(poScreenCenter);
    TCustomForm::SetParentFont(false);
}

TSuperForm::~TSuperForm() {
    FSizeMinTrack->OnChange = nullptr;
    FSizeMaxTrack->OnChange = nullptr;
}

void TSuperForm::SetBorderStyleKeepingScroll(TFormBorderStyle Value) {
    const bool Scroll = AutoScroll();
    SetBorderStyle(Value);
    SetAutoScroll(Scroll);
}

void TSuperForm::SetParentFontFromMain(bool Value) {
    if (Value && ComponentState().Contains(csDesigning) && Application && Application->MainForm())
        Font()->Assign(Application->MainForm()->Font());
    SetParentFont(Value);
}

void TSuperForm::TrackingChanged(TObject*) {
    if (!ComponentState().Contains(csLoading))
        UpdateTrackingSizes();
}

void TSuperForm::GetMinMaxInfo(TMinMaxRecord& Info) {
    TForm::GetMinMaxInfo(Info);
    if (FSizeMinTrack->Applies())
        Info.ptMinTrackSize = TPoint{FSizeMinTrack->SizeX(), FSizeMinTrack->SizeY()};
    if (FSizeMaxTrack->Applies())
        Info.ptMaxTrackSize = TPoint{FSizeMaxTrack->SizeX(), FSizeMaxTrack->SizeY()};
    if (OnGetMinMaxInfo)
        OnGetMinMaxInfo(this, &Info);
}

String TSuperForm::GetWindowStateData() const {
    const TRect Normal = NormalBounds();
    return Format("(%d %d %d %d %d)", Normal.Left, Normal.Top, Normal.Width(), Normal.Height(),
                  static_cast<Integer>(WindowState()));
}

void TSuperForm::SetWindowStateData(const String& Text) {
    const auto Numbers = ParseWindowState(Text);
    if (!Numbers)
        return;
    const auto [ALeft, ATop, AWidth, AHeight, State] = *Numbers;
    if (State < wsNormal || State > wsMaximized)
        return;
    SetPosition(poDesigned);
    if (IsSizeable(BorderStyle())) {
        if (WindowState() != wsNormal)
            SetWindowState(wsNormal);
        SetBounds(ALeft, ATop, AWidth, AHeight);
        SetWindowState(static_cast<TWindowState>(State));
    } else {
        SetBounds(ALeft, ATop, Width(), Height());
    }
}

} // namespace orlo
