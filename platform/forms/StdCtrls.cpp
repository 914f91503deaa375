#include "platform/forms/StdCtrls.h"

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cctype>
#include <functional>

namespace orlo {

String StripAccelChars(const String& Caption) {
    String Result;
    Result.reserve(Caption.size());
    for (size_t I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == '&') {
            if (I + 1 < Caption.size() && Caption[I + 1] == '&')
                Result += '&';
            else
                continue;
            ++I;
            continue;
        }
        Result += Caption[I];
    }
    return Result;
}

Word AccelKeyOf(const String& Caption) {
    for (size_t I = 0; I + 1 < Caption.size(); ++I) {
        if (Caption[I] != '&')
            continue;
        const unsigned char Next = static_cast<unsigned char>(Caption[I + 1]);
        if (Next == '&') {
            ++I; // "&&" shows an ampersand
            continue;
        }
        return std::isalnum(Next) ? static_cast<Word>(std::toupper(Next)) : 0;
    }
    return 0;
}

Qt::Alignment HorizontalAlignment(TAlignment Value) {
    switch (Value) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

namespace {

// The entries of an owner-drawn list or combo box: the delegate asks the
// control's events, with the control's canvas bound to Qt's painter.
struct TOwnerDraw {
    TWinControl* Control;
    TCanvas* Canvas;
    TStrings* Items;
    const TDrawItemEvent* Draw;
    const TMeasureItemEvent* Measure;
    const Integer* ItemHeight;
    bool Variable;
};

Qt::Alignment VerticalAlignment(TTextLayout Value) {
    switch (Value) {
    case tlCenter:
        return Qt::AlignVCenter;
    case tlBottom:
        return Qt::AlignBottom;
    default:
        return Qt::AlignTop;
    }
}

class TOwnerDrawDelegate final : public QStyledItemDelegate {
public:
    TOwnerDrawDelegate(const TOwnerDraw& Owner, QObject* Parent)
        : QStyledItemDelegate(Parent), FOwner(Owner) {}

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override {
        TOwnerDrawState State;
        if (Option.state & QStyle::State_Selected)
            State.Include(odSelected);
        if (Option.state & QStyle::State_HasFocus)
            State.Include(odFocused);
        if (!(Option.state & QStyle::State_Enabled))
            State.Include(odDisabled);
        const QRect& R = Option.rect;
        const TRect Rect{R.left(), R.top(), R.left() + R.width(), R.top() + R.height()};
        TCanvas* Canvas = FOwner.Canvas;
        Canvas->SetHandle(Painter);
        TScopeGuard Unbind([Canvas] { Canvas->SetHandle(nullptr); });
        Canvas->SetFont(FOwner.Control->Font());
        const bool Selected = State.Contains(odSelected);
        Canvas->Brush() = {Selected ? clHighlight : FOwner.Control->Color(), bsSolid};
        if (Selected)
            Canvas->Font()->SetColor(clHighlightText);
        TQtDispatch Dispatch;
        GuardedCall(FOwner.Control, [&] {
            if (*FOwner.Draw) {
                (*FOwner.Draw)(FOwner.Control, Index.row(), Rect, State);
            } else {
                Canvas->FillRect(Rect);
                Canvas->TextOut(Rect.Left + 2, Rect.Top, FOwner.Items->Get(Index.row()));
            }
        });
    }

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        Integer Height = *FOwner.ItemHeight;
        if (FOwner.Variable && *FOwner.Measure) {
            TQtDispatch Dispatch;
            GuardedCall(FOwner.Control,
                        [&] { (*FOwner.Measure)(FOwner.Control, Index.row(), Height); });
        }
        return {QStyledItemDelegate::sizeHint(Option, Index).width(), std::max(1, Height)};
    }

private:
    TOwnerDraw FOwner;
};

// Gives the view of a list or combo box the owner-drawing delegate, or Qt's own back.
template <class Box> void ApplyOwnerDraw(QAbstractItemView* View, Box* Control, bool Variable) {
    QAbstractItemDelegate* Old = View->itemDelegate();
    const bool Has = dynamic_cast<TOwnerDrawDelegate*>(Old) != nullptr;
    if (Control->OwnerDrawn() == Has)
        return;
    const TOwnerDraw Owner{Control,
                           Control->Canvas(),
                           Control->Items(),
                           &Control->OnDrawItem,
                           &Control->OnMeasureItem,
                           &Control->ItemHeight,
                           Variable};
    View->setItemDelegate(
        Has ? new QStyledItemDelegate(View)
            : static_cast<QAbstractItemDelegate*>(new TOwnerDrawDelegate(Owner, View)));
    if (Has)
        Old->deleteLater();
}

// A combo box that tells its control when its list opens (before it shows,
// so that OnDropDown may still fill it) and when it has closed, whoever opens
// it: a click, Alt+Down, F4 or the code.
class TComboBoxWidget final : public QComboBox {
public:
    explicit TComboBoxWidget(QWidget* Parent) : QComboBox(Parent) {}
    std::function<void(bool Open)> PopupChanging;

    void showPopup() override {
        const QPointer<TComboBoxWidget> Self(this);
        Tell(true);
        if (Self && TControl::FromWidget(this))
            QComboBox::showPopup(); // not when OnDropDown freed the control
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        Tell(false);
    }

private:
    // Only while a control owns the widget: a released one may outlive it.
    void Tell(bool Open) {
        if (PopupChanging && TControl::FromWidget(this))
            PopupChanging(Open);
    }
};

// Lines of a memo or list as Qt shows them.
QStringList QLinesOf(const TStrings* Lines) {
    QStringList Result;
    for (Integer I = 0; I < Lines->Count(); ++I)
        Result << ToQString(Lines->Get(I));
    return Result;
}

} // namespace

// --- TCustomLabel ------------------------------------------------------------

ORLO_PUBLISHED(TCustomLabel, "StdCtrls") {}

ORLO_PUBLISHED(TLabel, "StdCtrls") {
    P.Property("Align", &TLabel::Align, &TLabel::SetAlign).Default(alNone);
    P.Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
    publish::Anchors(P);
    P.Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(1);
    publish::Caption(P);
    publish::Color(P);
    publish::DragCursor(P);
    publish::DragMode(P);
    publish::Enabled(P);
    P.Property("FocusControl", &TLabel::FocusControl);
    publish::Font(P);
    P.Property("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
    publish::ParentColor(P, true);
    publish::ParentFont(P);
    publish::ParentShowHint(P);
    publish::PopupMenu(P);
    P.Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(1);
    publish::ShowHint(P);
    P.Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(0);
    publish::Visible(P);
    P.Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(0);
    publish::ClickEvents(P);
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 65, 17);
    FControlStyle.Include(csOpaque);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
    FWordWrap = Value;
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    FShowAccelChar = Value;
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool Value) {
    FTransparent = Value;
    Invalidate();
}

String TCustomLabel::DisplayText() const {
    return FShowAccelChar ? StripAccelChars(Caption()) : Caption();
}

TPoint TCustomLabel::MeasureText() const {
    const String Text = DisplayText().empty() ? String(" ") : DisplayText();
    if (FWordWrap)
        return Canvas()->WrappedTextExtent(Text, Width());
    TPoint Size{0, 0};
    // Line breaks start new lines even without word wrap.
    for (size_t Start = 0; Start <= Text.size();) {
        size_t End = Text.find('\n', Start);
        if (End == String::npos)
            End = Text.size();
        const TPoint Extent = Canvas()->TextExtent(Text.substr(Start, End - Start));
        Size.X = std::max(Size.X, Extent.X);
        Size.Y += Extent.Y;
        Start = End + 1;
    }
    return Size;
}

void TCustomLabel::AdjustBounds() {
    // While loading, the size in the form file stays: it was measured where the form was designed.
    if (!FAutoSize || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading))
        return;
    const TPoint Size = MeasureText();
    const Integer NewWidth = FWordWrap ? Width() : Size.X;
    Integer NewLeft = Left();
    if (!FWordWrap && FAlignment == taRightJustify)
        NewLeft = Left() + Width() - NewWidth;
    else if (!FWordWrap && FAlignment == taCenter)
        NewLeft = Left() + (Width() - NewWidth) / 2;
    SetBounds(NewLeft, Top(), NewWidth, Size.Y);
}

bool TCustomLabel::HandleAccelerator(Word Key) {
    if (!FShowAccelChar || !FocusControl || AccelKeyOf(Caption()) != Key ||
        !FocusControl->CanFocus())
        return false;
    FocusControl->SetFocus();
    return true;
}

void TCustomLabel::TextChanged() {
    TGraphicControl::TextChanged();
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FocusControl)
        FocusControl = nullptr;
}

void TCustomLabel::ApplyText() {
    Invalidate();
}

void TCustomLabel::Paint(QPainter& Painter) {
    const QRect Area(0, 0, Width(), Height());
    if (!FTransparent)
        Painter.fillRect(Area, ColorToQColor(Color()));
    // A label with its parent's font finds it in the painter already.
    if (!ParentFont())
        Painter.setFont(Font()->ToQFont());
    const QPalette::ColorGroup Group =
        IsEffectivelyEnabled() ? QPalette::Active : QPalette::Disabled;
    Painter.setPen(IsEffectivelyEnabled()
                       ? ColorToQColor(Font()->Color())
                       : QApplication::palette().color(Group, QPalette::WindowText));
    const int Wrap = FWordWrap ? int(Qt::TextWordWrap) : 0;
    Painter.drawText(Area, int(HorizontalAlignment(FAlignment) | VerticalAlignment(FLayout)) | Wrap,
                     ToQString(DisplayText()));
}

// --- TButtonControl, TButton -------------------------------------------------

ORLO_PUBLISHED(TButtonControl, "StdCtrls") {}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}

bool TButtonControl::ClicksDisabled() const {
    return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

ORLO_PUBLISHED(TButton, "StdCtrls") {
    publish::Anchors(P);
    P.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(0);
    publish::Caption(P);
    publish::DragCursor(P);
    publish::DragMode(P);
    P.Property("Default", &TButton::Default, &TButton::SetDefault).Default(0);
    publish::Enabled(P);
    publish::Font(P);
    P.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
    publish::ParentFont(P);
    publish::ParentShowHint(P);
    publish::PopupMenu(P);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    publish::Visible(P);
    publish::ClickEvents(P);
    publish::FocusEvents(P);
    publish::KeyEvents(P);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::SetDefault(bool Value) {
    FDefault = Value;
    if (auto* Button = qobject_cast<QPushButton*>(FWidget))
        Button->setDefault(Value);
}

void TButton::Click() {
    if (TCustomForm* Form = GetParentForm(); Form && FModalResult != mrNone)
        Form->SetModalResult(FModalResult);
    TButtonControl::Click(); // may free this button: nothing follows
}

bool TButton::HandleDialogKey(Word Key) {
    TCustomForm* Form = GetParentForm();
    const bool Focused = Form && Form->ActiveControl() == this;
    bool Takes = false;
    if (Key == VK_RETURN) {
        auto* FocusedButton = Form ? dynamic_cast<TButton*>(Form->ActiveControl()) : nullptr;
        Takes = Focused || (FDefault && !FocusedButton);
    } else if (Key == VK_ESCAPE) {
        Takes = FCancel;
    }
    if (!Takes || !CanFocus())
        return false;
    Click();
    return true;
}

QWidget* TButton::CreateWidget(QWidget* ParentWidget) {
    return new QPushButton(ParentWidget);
}

void TButton::InitWidget() {
    TButtonControl::InitWidget();
    auto* Button = static_cast<QPushButton*>(FWidget);
    Button->setAutoDefault(false);
    Button->setDefault(FDefault);
    Listen(Button, &QPushButton::clicked, [this](bool) { Click(); });
}

void TButton::ApplyText() {
    if (auto* Button = qobject_cast<QPushButton*>(FWidget))
        Button->setText(ToQString(Caption()));
}

Integer TButton::BackgroundRole() const {
    return QPalette::Button;
}

// --- TCustomCheckBox ---------------------------------------------------------

ORLO_PUBLISHED(TCustomCheckBox, "StdCtrls") {}

ORLO_PUBLISHED(TCheckBox, "StdCtrls") {
    P.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment)
        .Default(taRightJustify);
    P.Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(0);
    publish::Anchors(P);
    publish::Caption(P);
    P.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(0);
    publish::Appearance(P);
    publish::Parents(P, true);
    publish::ShowHint(P);
    P.Property("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    publish::Visible(P);
    P.Property("OnClick", &TCheckBox::OnClick);
    publish::FocusEvents(P);
    publish::KeyEvents(P);
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
    if (FState == Value)
        return;
    FState = Value;
    ApplyState();
    if (!ClicksDisabled())
        Click();
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    if (FWidget)
        FWidget->setLayoutDirection(Value == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    default:
        SetState(cbChecked);
        break;
    }
}

QWidget* TCustomCheckBox::CreateWidget(QWidget* ParentWidget) {
    return new QCheckBox(ParentWidget);
}

void TCustomCheckBox::InitWidget() {
    TButtonControl::InitWidget();
    auto* Box = static_cast<QCheckBox*>(FWidget);
    Box->setTristate(true);
    SetAlignment(FAlignment);
    ApplyState();
    // The user's click decides through Toggle, so this state stays the truth.
    Listen(Box, &QCheckBox::clicked, [this](bool) {
        ApplyState();
        Toggle();
    });
}

void TCustomCheckBox::ApplyText() {
    if (auto* Box = qobject_cast<QCheckBox*>(FWidget))
        Box->setText(ToQString(Caption()));
}

void TCustomCheckBox::ApplyState() {
    auto* Box = qobject_cast<QCheckBox*>(FWidget);
    if (!Box)
        return;
    QSignalBlocker Quiet(Box);
    static constexpr Qt::CheckState States[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    Box->setCheckState(States[FState]);
}

// --- TRadioButton ------------------------------------------------------------

ORLO_PUBLISHED(TRadioButton, "StdCtrls") {
    P.Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment)
        .Default(taRightJustify);
    publish::Anchors(P);
    publish::Caption(P);
    P.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(0);
    publish::Appearance(P);
    publish::Parents(P, true);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, false);
    publish::Visible(P);
    publish::ClickEvents(P);
    publish::FocusEvents(P);
    publish::KeyEvents(P);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value) {
    if (FChecked == Value)
        return;
    FChecked = Value;
    SetTabStop(Value);
    ApplyChecked();
    if (!Value)
        return;
    if (Parent())
        for (Integer I = 0; I < Parent()->ControlCount(); ++I)
            if (auto* Sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(I));
                Sibling && Sibling != this)
                Sibling->SetChecked(false);
    if (!ClicksDisabled())
        Click();
}

QWidget* TRadioButton::CreateWidget(QWidget* ParentWidget) {
    return new QRadioButton(ParentWidget);
}

void TRadioButton::InitWidget() {
    TButtonControl::InitWidget();
    auto* Button = static_cast<QRadioButton*>(FWidget);
    Button->setAutoExclusive(false); // the siblings are switched off here
    if (FAlignment == taLeftJustify)
        Button->setLayoutDirection(Qt::RightToLeft);
    ApplyChecked();
    Listen(Button, &QRadioButton::clicked, [this](bool) {
        ApplyChecked();
        SetChecked(true);
    });
}

void TRadioButton::ApplyText() {
    if (auto* Button = qobject_cast<QRadioButton*>(FWidget))
        Button->setText(ToQString(Caption()));
}

void TRadioButton::ApplyChecked() {
    auto* Button = qobject_cast<QRadioButton*>(FWidget);
    if (!Button)
        return;
    QSignalBlocker Quiet(Button);
    Button->setChecked(FChecked);
}

bool TRadioButton::KeyDown(Word& Key, TShiftState Shift) {
    if (TButtonControl::KeyDown(Key, Shift))
        return true;
    const bool Forward = Key == VK_DOWN || Key == VK_RIGHT;
    if (!Shift.Empty() || (!Forward && Key != VK_UP && Key != VK_LEFT))
        return false;
    if (TRadioButton* Next = NextInGroup(Forward)) {
        Next->SetFocus(); // this button's OnExit may free it: nothing of it follows
        Next->SetChecked(true);
    }
    return true;
}

TRadioButton* TRadioButton::NextInGroup(bool Forward) const {
    if (!Parent())
        return nullptr;
    std::vector<TWinControl*> Order = Parent()->TabList();
    if (!Forward)
        std::reverse(Order.begin(), Order.end());
    const auto Self =
        static_cast<size_t>(std::find(Order.begin(), Order.end(), this) - Order.begin());
    for (size_t Step = 1; Step < Order.size(); ++Step)
        if (auto* Radio = dynamic_cast<TRadioButton*>(Order[(Self + Step) % Order.size()]);
            Radio && Radio->CanFocus())
            return Radio;
    return nullptr;
}

// --- TCustomGroupBox ---------------------------------------------------------

ORLO_PUBLISHED(TCustomGroupBox, "StdCtrls") {}

ORLO_PUBLISHED(TGroupBox, "StdCtrls") {
    publish::Align(P);
    publish::Anchors(P);
    publish::Caption(P);
    publish::Appearance(P);
    publish::Parents(P, true);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, false);
    publish::Visible(P);
    publish::ClickEvents(P);
    publish::FocusEvents(P);
}

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 185, 105);
    FControlStyle.Include(csAcceptsControls);
}

QWidget* TCustomGroupBox::CreateWidget(QWidget* ParentWidget) {
    return new QGroupBox(ParentWidget);
}

void TCustomGroupBox::ApplyText() {
    if (auto* Box = qobject_cast<QGroupBox*>(FWidget))
        Box->setTitle(ToQString(Caption()));
}

TRect TCustomGroupBox::AlignRect() const {
    TRect R = ClientRect();
    R.Top += Canvas()->TextHeight("0");
    R.Left += 2;
    R.Top += 2;
    R.Right -= 2;
    R.Bottom -= 2;
    return R;
}

// --- TCustomEdit -------------------------------------------------------------

ORLO_PUBLISHED(TCustomEdit, "StdCtrls") {}

ORLO_PUBLISHED(TEdit, "StdCtrls") {
    publish::Anchors(P);
    P.Property("AutoSelect", &TEdit::AutoSelect).Default(1);
    P.Property("AutoSize", &TEdit::AutoSize).Default(1);
    P.Property("CharCase", &TEdit::CharCase, &TEdit::SetCharCase).Default(ecNormal);
    publish::Appearance(P);
    P.Property("HideSelection", &TEdit::HideSelection).Default(1);
    P.Property("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
    publish::Parents(P, false);
    P.Property("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar).Default(0);
    P.Property("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(0);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    P.Property("Text", &TEdit::Caption, &TEdit::SetCaption).Type(TCaptionTypeInfo());
    publish::Visible(P);
    P.Property("OnChange", &TEdit::OnChange);
    publish::ClickEvents(P);
    publish::FocusEvents(P);
    publish::KeyEvents(P);
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 121, 21);
    FColor = clWindow;
    FParentColor = false;
    SetTabStop(true);
    FControlStyle.Exclude(csSetCaption);
}

void TCustomEdit::SetMaxLength(Integer Value) {
    FMaxLength = Value;
    if (auto* Edit = qobject_cast<QLineEdit*>(FWidget))
        Edit->setMaxLength(Value > 0 ? Value : 32767);
}

void TCustomEdit::SetReadOnly(bool Value) {
    FReadOnly = Value;
    if (auto* Edit = qobject_cast<QLineEdit*>(FWidget))
        Edit->setReadOnly(Value);
    else if (auto* Memo = qobject_cast<QPlainTextEdit*>(FWidget))
        Memo->setReadOnly(Value);
}

void TCustomEdit::SetPasswordChar(char Value) {
    FPasswordChar = Value;
    if (auto* Edit = qobject_cast<QLineEdit*>(FWidget))
        Edit->setEchoMode(Value ? QLineEdit::Password : QLineEdit::Normal);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    FCharCase = Value;
    SetText(Cased(Caption()));
}

String TCustomEdit::Cased(const String& Value) const {
    switch (FCharCase) {
    case ecUpperCase:
        return AnsiUpperCase(Value);
    case ecLowerCase:
        return AnsiLowerCase(Value);
    default:
        return Value;
    }
}

void TCustomEdit::SetSelStart(Integer Value) {
    FSelStart = std::clamp<Integer>(Value, 0, Length(Text()));
    FSelLength = 0;
    ApplySelection();
}

void TCustomEdit::SetSelLength(Integer Value) {
    FSelLength = std::clamp<Integer>(Value, 0, Length(Text()) - FSelStart);
    ApplySelection();
}

String TCustomEdit::SelText() const {
    return Text().substr(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength));
}

void TCustomEdit::SelectAll() {
    FSelStart = 0;
    FSelLength = Length(Text());
    ApplySelection();
}

void TCustomEdit::ApplySelection() {
    if (auto* Edit = qobject_cast<QLineEdit*>(FWidget))
        Edit->setSelection(FSelStart, FSelLength);
}

void TCustomEdit::Change() {
    Modified = true;
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::TextChanged() {
    TWinControl::TextChanged();
    if (ComponentState().Contains(csLoading))
        return;
    FSelStart = std::min(FSelStart, Length(Text()));
    FSelLength = 0;
    Change();
}

void TCustomEdit::UserEdited(const String& Value) {
    FText = Cased(Value);
    if (FText != Value)
        ShowCasedText();
    TakeWidgetSelection();
    TextChanged();
}

void TCustomEdit::ShowCasedText() {
    // What was typed or pasted, in the case asked for, where it was.
    auto* Edit = static_cast<QLineEdit*>(FWidget);
    QSignalBlocker Quiet(Edit);
    const int Cursor = Edit->cursorPosition();
    Edit->setText(ToQString(FText));
    Edit->setCursorPosition(Cursor);
}

void TCustomEdit::TakeWidgetSelection() {
    auto* Edit = qobject_cast<QLineEdit*>(FWidget);
    if (!Edit)
        return;
    // Counted in the text's own characters, not Qt's.
    const QString Shown = Edit->text();
    const int Start = Edit->hasSelectedText() ? Edit->selectionStart() : Edit->cursorPosition();
    FSelStart = Length(FromQString(Shown.left(Start)));
    FSelLength = Length(FromQString(Edit->selectedText()));
}

QWidget* TCustomEdit::CreateWidget(QWidget* ParentWidget) {
    return new QLineEdit(ParentWidget);
}

void TCustomEdit::InitWidget() {
    TWinControl::InitWidget();
    auto* Edit = static_cast<QLineEdit*>(FWidget);
    SetMaxLength(FMaxLength);
    SetReadOnly(FReadOnly);
    SetPasswordChar(FPasswordChar);
    Listen(Edit, &QLineEdit::textEdited,
           [this](const QString& Value) { UserEdited(FromQString(Value)); });
    // The user's cursor and selection.
    Listen(Edit, &QLineEdit::selectionChanged, [this] { TakeWidgetSelection(); });
    Listen(Edit, &QLineEdit::cursorPositionChanged, [this](int, int) { TakeWidgetSelection(); });
}

void TCustomEdit::ApplyText() {
    if (auto* Edit = qobject_cast<QLineEdit*>(FWidget)) {
        QSignalBlocker Quiet(Edit);
        Edit->setText(ToQString(Caption()));
    }
}

Integer TCustomEdit::BackgroundRole() const {
    return QPalette::Base;
}

// --- TCustomMemo -------------------------------------------------------------

ORLO_PUBLISHED(TCustomMemo, "StdCtrls") {}

ORLO_PUBLISHED(TMemo, "StdCtrls") {
    publish::Align(P);
    P.Property("Alignment", &TMemo::Alignment).Default(taLeftJustify);
    publish::Anchors(P);
    publish::Appearance(P);
    P.Property("HideSelection", &TMemo::HideSelection).Default(1);
    P.Property("Lines", &TMemo::Lines, &TMemo::SetLines);
    P.Property("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
    publish::Parents(P, false);
    P.Property("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(0);
    P.Property("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    publish::Visible(P);
    P.Property("WantReturns", &TMemo::WantReturns).Default(1);
    P.Property("WantTabs", &TMemo::WantTabs).Default(0);
    P.Property("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(1);
    P.Property("OnChange", &TMemo::OnChange);
    publish::ClickEvents(P);
    publish::FocusEvents(P);
    publish::KeyEvents(P);
}

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), FLines(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 185, 89);
    FLines->OnChange = TNotifyEvent::Make<&TCustomMemo::LinesChanged>(this);
}

TCustomMemo::~TCustomMemo() {
    FLines->OnChange = nullptr;
}

String TCustomMemo::Text() const {
    return FLines->Text();
}

void TCustomMemo::SetText(const String& Value) {
    FLines->SetText(Value);
}

void TCustomMemo::LinesChanged(TObject*) {
    if (!FTakingUserText)
        ApplyText();
    TextChanged();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    ApplyWrap();
}

void TCustomMemo::SetWordWrap(bool Value) {
    FWordWrap = Value;
    ApplyWrap();
}

void TCustomMemo::ApplyWrap() {
    auto* Memo = qobject_cast<QPlainTextEdit*>(FWidget);
    if (!Memo)
        return;
    Memo->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    const bool Horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    const bool Vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
    Memo->setHorizontalScrollBarPolicy(Horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    Memo->setVerticalScrollBarPolicy(Vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

bool TCustomMemo::WantsKey(Word Key) const {
    return (Key == VK_RETURN && WantReturns) || (Key == VK_TAB && WantTabs);
}

bool TCustomMemo::WidgetEvent(QEvent* Event) {
    if (Event->type() != QEvent::KeyPress)
        return TCustomEdit::WidgetEvent(Event);
    static_cast<QPlainTextEdit*>(FWidget)->setTabChangesFocus(!WantTabs);
    const auto* Key = static_cast<QKeyEvent*>(Event);
    const bool PlainReturn = VirtualKeyOf(Key) == VK_RETURN && Key->modifiers() == Qt::NoModifier;
    if (TCustomEdit::WidgetEvent(Event))
        return true; // a handler may have freed this memo
    // No button took it: a memo that wants no returns types none either.
    return PlainReturn && !WantReturns;
}

QWidget* TCustomMemo::CreateWidget(QWidget* ParentWidget) {
    return new QPlainTextEdit(ParentWidget);
}

void TCustomMemo::InitWidget() {
    TWinControl::InitWidget();
    auto* Memo = static_cast<QPlainTextEdit*>(FWidget);
    Memo->setReadOnly(FReadOnly);
    Memo->setTabChangesFocus(!WantTabs);
    ApplyWrap();
    Listen(Memo, &QPlainTextEdit::textChanged, [this, Memo] {
        TSetForScope<bool> Taking(FTakingUserText, true);
        FLines->SetText(FromQString(Memo->toPlainText()));
    });
}

void TCustomMemo::ApplyText() {
    if (auto* Memo = qobject_cast<QPlainTextEdit*>(FWidget)) {
        QSignalBlocker Quiet(Memo);
        Memo->setPlainText(QLinesOf(FLines.get()).join('\n'));
    }
}

// --- TCustomComboBox ---------------------------------------------------------

ORLO_PUBLISHED(TCustomComboBox, "StdCtrls") {}

ORLO_PUBLISHED(TComboBox, "StdCtrls") {
    P.Property("Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
    publish::Anchors(P);
    publish::Color(P);
    publish::Ctl3D(P);
    publish::DragCursor(P);
    publish::DragMode(P);
    P.Property("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
    publish::Enabled(P);
    publish::Font(P);
    P.Property("ItemHeight", &TComboBox::ItemHeight);
    P.Property("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1);
    P.Property("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength).Default(0);
    publish::Parents(P, false);
    publish::ShowHint(P);
    P.Property("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(0);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    P.Property("Text", &TComboBox::Caption, &TComboBox::SetCaption).Type(TCaptionTypeInfo());
    publish::Visible(P);
    P.Property("OnChange", &TComboBox::OnChange);
    publish::ClickEvents(P);
    P.Property("OnDrawItem", &TComboBox::OnDrawItem);
    P.Property("OnDropDown", &TComboBox::OnDropDown);
    publish::FocusEvents(P);
    publish::KeyEvents(P);
    P.Property("OnMeasureItem", &TComboBox::OnMeasureItem);
    P.Property("Items", &TComboBox::Items, &TComboBox::SetItems);
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TStringList>()),
      FCanvas(std::make_unique<TCanvas>()) {
    SetBounds(0, 0, 145, 21);
    FColor = clWindow;
    FParentColor = false;
    SetTabStop(true);
    FItems->OnChange = TNotifyEvent::Make<&TCustomComboBox::ItemsChanged>(this);
}

TCustomComboBox::~TCustomComboBox() {
    FItems->OnChange = nullptr;
}

QComboBox* TCustomComboBox::Box() const {
    return qobject_cast<QComboBox*>(FWidget);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    FStyle = Value;
    if (Box()) {
        Box()->setEditable(Editable());
        ApplyOwnerDraw(Box()->view(), this, FStyle == csOwnerDrawVariable);
    }
    ApplySelection();
}

String TCustomComboBox::Text() const {
    return FText;
}

void TCustomComboBox::SetText(const String& Value) {
    if (!Editable()) {
        // A list-only box shows entries only: the text picks one or none.
        SetItemIndex(FItems->IndexOf(Value));
        return;
    }
    FText = Value;
    FItemIndex = FItems->IndexOf(Value);
    ApplySelection();
}

void TCustomComboBox::SetItemIndex(Integer Value) {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) {
        FItemIndex = Value; // the items may come later in the form file
        FLoadedIndex = true;
        return;
    }
    if (Value < -1 || Value >= FItems->Count())
        Value = -1;
    FItemIndex = Value;
    if (Value >= 0)
        FText = FItems->Get(Value);
    else if (!Editable())
        FText.clear();
    ApplySelection();
}

void TCustomComboBox::SetSorted(bool Value) {
    FItems->SetSorted(Value);
}

void TCustomComboBox::SetDropDownCount(Integer Value) {
    FDropDownCount = Value;
    if (Box())
        Box()->setMaxVisibleItems(std::max(1, Value));
}

void TCustomComboBox::SetMaxLength(Integer Value) {
    FMaxLength = Value;
    if (Box() && Box()->lineEdit())
        Box()->lineEdit()->setMaxLength(Value > 0 ? Value : 32767);
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    if (FDroppedDown == Value)
        return;
    FDroppedDown = Value;
    if (Value)
        DropDown();
    if (Box()) {
        if (Value)
            Box()->showPopup();
        else
            Box()->hidePopup();
    }
}

void TCustomComboBox::PopupChanging(bool Open) {
    if (FDroppedDown == Open)
        return; // SetDroppedDown did it
    FDroppedDown = Open;
    if (Open)
        DropDown();
}

void TCustomComboBox::EditTextChanged(const String& Value) {
    const QComboBox* Combo = Box();
    const int Current = Combo->currentIndex();
    // A pick makes its entry current first, then shows its text, then
    // reports the new current entry; typing leaves the current entry.
    const bool Picking =
        Current != FShownIndex && Current >= 0 && Combo->itemText(Current) == ToQString(Value);
    if (Editable() && !Picking && !FTyping && Value != FText)
        TypedInWidget(Value);
}

bool TCustomComboBox::WidgetEvent(QEvent* Event) {
    if (Event->type() != QEvent::KeyPress || !Editable())
        return TWinControl::WidgetEvent(Event);
    if (TWinControl::WidgetEvent(Event))
        return true; // taken: a handler may have freed this box
    // A handler run by the key (OnDropDown) may free this box.
    const TControlWatch Watch(this);
    {
        FTyping = true;
        TScopeGuard Typed([&] {
            if (!Watch.Gone())
                FTyping = false;
        });
        WidgetOwnEvent(FWidget, Event);
    }
    if (!Watch.Gone() && Box())
        EditTextChanged(FromQString(Box()->currentText()));
    return true; // the widget had it: Qt must not give it the key again
}

void TCustomComboBox::SetSelStart(Integer Value) {
    FSelStart = std::clamp<Integer>(Value, 0, Length(FText));
    FSelLength = 0;
    if (Box() && Box()->lineEdit())
        Box()->lineEdit()->setCursorPosition(FSelStart);
}

void TCustomComboBox::SetSelLength(Integer Value) {
    FSelLength = std::clamp<Integer>(Value, 0, Length(FText) - FSelStart);
    if (Box() && Box()->lineEdit())
        Box()->lineEdit()->setSelection(FSelStart, FSelLength);
}

void TCustomComboBox::SelectAll() {
    FSelStart = 0;
    SetSelLength(Length(FText));
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    FText.clear();
    FItemIndex = -1;
    ApplySelection();
}

void TCustomComboBox::UserSelect(Integer Index) {
    if (Index < 0 || Index >= FItems->Count())
        throw EListError(Format("List index out of bounds (%d)", Index));
    FItemIndex = Index;
    FText = FItems->Get(Index);
    FDroppedDown = false;
    ApplySelection();
    Click();
    Change();
}

void TCustomComboBox::UserType(const String& Value) {
    if (!Editable())
        throw EInvalidOperation("A list-only combo box takes no typing");
    FText = Value;
    FItemIndex = FItems->IndexOf(Value);
    ApplySelection();
    Change();
}

void TCustomComboBox::TypedInWidget(const String& Value) {
    // The widget shows it already: setting it again would lose the cursor
    // and what the completer selected.
    FText = Value;
    FItemIndex = FItems->IndexOf(Value);
    Change();
}

void TCustomComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::DropDown() {
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::ItemsChanged(TObject*) {
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    else if (FItemIndex >= 0 && FItems->Get(FItemIndex) != FText && Editable())
        FItemIndex = FItems->IndexOf(FText);
    ApplyItems();
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    if (FLoadedIndex) {
        FLoadedIndex = false;
        SetItemIndex(FItemIndex);
    }
}

bool TCustomComboBox::WantsKey(Word Key) const {
    return FDroppedDown && (Key == VK_RETURN || Key == VK_ESCAPE);
}

QWidget* TCustomComboBox::CreateWidget(QWidget* ParentWidget) {
    return new TComboBoxWidget(ParentWidget);
}

void TCustomComboBox::InitWidget() {
    TWinControl::InitWidget();
    QComboBox* Combo = Box();
    Combo->setEditable(Editable());
    Combo->setInsertPolicy(QComboBox::NoInsert);
    Combo->setMaxVisibleItems(std::max(1, FDropDownCount));
    ApplyOwnerDraw(Combo->view(), this, FStyle == csOwnerDrawVariable);
    ApplyItems();
    SetMaxLength(FMaxLength);
    Listen(Combo, &QComboBox::activated, [this](int Index) { UserSelect(Index); });
    Listen(Combo, &QComboBox::editTextChanged,
           [this](const QString& Value) { EditTextChanged(FromQString(Value)); });
    Listen(Combo, &QComboBox::currentIndexChanged, [this](int Index) { FShownIndex = Index; });
    static_cast<TComboBoxWidget*>(Combo)->PopupChanging = [this](bool Open) {
        Dispatch([&] { PopupChanging(Open); });
    };
}

void TCustomComboBox::ApplyItems() {
    QComboBox* Combo = Box();
    if (!Combo)
        return;
    QSignalBlocker Quiet(Combo);
    Combo->clear();
    Combo->addItems(QLinesOf(FItems.get()));
    ApplySelection();
}

void TCustomComboBox::ApplySelection() {
    QComboBox* Combo = Box();
    if (!Combo)
        return;
    QSignalBlocker Quiet(Combo);
    Combo->setCurrentIndex(FItemIndex);
    FShownIndex = Combo->currentIndex();
    if (Combo->isEditable())
        Combo->setEditText(ToQString(FText));
}

void TCustomComboBox::ApplyText() {
    ApplySelection();
}

Integer TCustomComboBox::BackgroundRole() const {
    return QPalette::Base;
}

// --- TCustomListBox ----------------------------------------------------------

ORLO_PUBLISHED(TCustomListBox, "StdCtrls") {}

ORLO_PUBLISHED(TListBox, "StdCtrls") {
    publish::Align(P);
    publish::Anchors(P);
    publish::Appearance(P);
    P.Property("IntegralHeight", &TListBox::IntegralHeight).Default(0);
    P.Property("ItemHeight", &TListBox::ItemHeight);
    P.Property("Items", &TListBox::Items, &TListBox::SetItems);
    publish::Parents(P, false);
    publish::ShowHint(P);
    P.Property("Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(0);
    P.Property("Style", &TListBox::Style).Default(lbStandard);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    publish::Visible(P);
    publish::ClickEvents(P);
    P.Property("OnDrawItem", &TListBox::OnDrawItem);
    publish::FocusEvents(P);
    publish::KeyEvents(P);
    P.Property("OnMeasureItem", &TListBox::OnMeasureItem);
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TStringList>()),
      FCanvas(std::make_unique<TCanvas>()) {
    SetBounds(0, 0, 121, 97);
    FColor = clWindow;
    FParentColor = false;
    SetTabStop(true);
    FItems->OnChange = TNotifyEvent::Make<&TCustomListBox::ItemsChanged>(this);
}

TCustomListBox::~TCustomListBox() {
    FItems->OnChange = nullptr;
}

QListWidget* TCustomListBox::List() const {
    return qobject_cast<QListWidget*>(FWidget);
}

void TCustomListBox::SetItemIndex(Integer Value) {
    if (Value < -1 || Value >= FItems->Count())
        Value = -1;
    FItemIndex = Value;
    if (QListWidget* L = List()) {
        QSignalBlocker Quiet(L);
        L->setCurrentRow(Value);
    }
}

void TCustomListBox::SetSorted(bool Value) {
    FItems->SetSorted(Value);
}

void TCustomListBox::UserSelect(Integer Index) {
    if (Index < 0 || Index >= FItems->Count())
        throw EListError(Format("List index out of bounds (%d)", Index));
    SetItemIndex(Index);
    Click();
}

void TCustomListBox::ItemsChanged(TObject*) {
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    ApplyItems();
}

QWidget* TCustomListBox::CreateWidget(QWidget* ParentWidget) {
    return new QListWidget(ParentWidget);
}

void TCustomListBox::InitWidget() {
    TWinControl::InitWidget();
    QListWidget* L = List();
    ApplyOwnerDraw(L, this, Style == lbOwnerDrawVariable);
    ApplyItems();
    // The selection, not the current row: the view makes its first row
    // current when it takes the focus, which is no choice of the user's.
    Listen(L, &QListWidget::itemSelectionChanged, [this, L] {
        const QList<QListWidgetItem*> Selected = L->selectedItems();
        if (!Selected.isEmpty())
            UserSelect(L->row(Selected.first()));
    });
    Listen(L, &QListWidget::itemDoubleClicked, [this](QListWidgetItem*) {
        if (OnDblClick)
            OnDblClick(this);
    });
}

void TCustomListBox::ApplyItems() {
    QListWidget* L = List();
    if (!L)
        return;
    QSignalBlocker Quiet(L);
    L->clear();
    L->addItems(QLinesOf(FItems.get()));
    L->setCurrentRow(FItemIndex);
}

Integer TCustomListBox::BackgroundRole() const {
    return QPalette::Base;
}

} // namespace orlo
