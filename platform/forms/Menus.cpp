#include "platform/forms/Menus.h"

#include "platform/forms/StdCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QFont>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <memory>

namespace orlo {

namespace {

struct TKeyName {
    Word Key;
    const char* Name;
};

// Keys whose names differ from their character; letters and digits name themselves.
constexpr TKeyName KeyNames[] = {
    {8, "BkSp"},  {9, "Tab"},    {13, "Enter"}, {27, "Esc"},  {32, "Space"},
    {33, "PgUp"}, {34, "PgDn"},  {35, "End"},   {36, "Home"}, {37, "Left"},
    {38, "Up"},   {39, "Right"}, {40, "Down"},  {45, "Ins"},  {46, "Del"},
};

constexpr Word FirstFunctionKey = VK_F1;
constexpr Word LastFunctionKey = VK_F1 + 23;

struct TModifierName {
    TShortCut Bit;
    const char* Prefix;
};
constexpr TModifierName ModifierNames[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

String KeyName(Word Key) {
    if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))
        return String(1, static_cast<char>(Key));
    if (Key >= FirstFunctionKey && Key <= LastFunctionKey)
        return Format("F%d", Key - FirstFunctionKey + 1);
    for (const TKeyName& Entry : KeyNames)
        if (Entry.Key == Key)
            return Entry.Name;
    return String();
}

// Deletes a Qt object now, or once the running Qt dispatch has unwound (an
// item freed by its own click handler while Qt is inside QAction::trigger).
void DisposeObject(QObject* Object) {
    if (!Object)
        return;
    Object->disconnect();
    if (auto* Widget = qobject_cast<QWidget*>(Object)) {
        DisposeWidget(Widget);
        return;
    }
    if (TQtDispatch::Running())
        Object->deleteLater();
    else
        delete Object;
}

} // namespace

const TTypeInfo* TShortCutTypeInfo() {
    static const TTypeInfo Info = MakeOrdinalTypeInfo("TShortCut", tkInteger, otUWord, 0, 65535);
    return &Info;
}

TShortCut ShortCut(Word Key, TShiftState Shift) {
    if ((Key & 0xFF00) != 0)
        return 0;
    TShortCut Result = Key;
    if (Shift.Contains(ssShift))
        Result |= scShift;
    if (Shift.Contains(ssCtrl))
        Result |= scCtrl;
    if (Shift.Contains(ssAlt))
        Result |= scAlt;
    return Result;
}

Word ShortCutKey(TShortCut ShortCut) {
    return ShortCut & 0xFF;
}

TShiftState ShortCutShift(TShortCut ShortCut) {
    TShiftState Shift;
    if (ShortCut & scShift)
        Shift.Include(ssShift);
    if (ShortCut & scCtrl)
        Shift.Include(ssCtrl);
    if (ShortCut & scAlt)
        Shift.Include(ssAlt);
    return Shift;
}

String ShortCutToText(TShortCut ShortCut) {
    const String Name = KeyName(ShortCutKey(ShortCut));
    if (Name.empty())
        return String();
    String Result;
    for (const TModifierName& Modifier : ModifierNames)
        if (ShortCut & Modifier.Bit)
            Result += Modifier.Prefix;
    return Result + Name;
}

TShortCut TextToShortCut(const String& Text) {
    String Rest = Trim(Text);
    TShortCut Modifiers = 0;
    for (bool Found = true; Found;) {
        Found = false;
        for (const TModifierName& Modifier : ModifierNames) {
            const String Prefix = Modifier.Prefix;
            if (Rest.size() > Prefix.size() && SameText(Rest.substr(0, Prefix.size()), Prefix)) {
                Modifiers |= Modifier.Bit;
                Rest.erase(0, Prefix.size());
                Found = true;
            }
        }
    }
    for (Word Key = 1; Key < 256; ++Key)
        if (const String Name = KeyName(Key); !Name.empty() && SameText(Name, Rest))
            return static_cast<TShortCut>(Key | Modifiers);
    return 0;
}

Integer MenuBarHeight() {
    static const Integer Height = [] {
        NeedWidgetApplication();
        QMenuBar Bar;
        Bar.addAction(QStringLiteral("&File"));
        return static_cast<Integer>(Bar.sizeHint().height());
    }();
    return Height;
}

// --- TMenuItem -------------------------------------------------------------------

ORLO_PUBLISHED(TMenuItem, "Menus") {
    P.Property("Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
    P.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).Type(TCaptionTypeInfo());
    P.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(0);
    P.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(0);
    P.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(1);
    P.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    P.Property("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext).Default(0);
    P.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
    P.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(0);
    P.Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
        .Type(TShortCutTypeInfo())
        .Default(0);
    P.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(1);
    P.Property("OnClick", &TMenuItem::OnClick);
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    *FAlive = false;
    if (FParent)
        FParent->Remove(this);
    while (!FItems.empty()) {
        TMenuItem* Item = FItems.back();
        Item->FParent = nullptr;
        FItems.pop_back();
        delete Item;
    }
    ReleaseQt();
}

TMenuItem* TMenuItem::Items(Integer Index) const {
    if (Index < 0 || Index >= Count())
        throw EMenuError("Menu index out of range");
    return FItems[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
    if (Item->FParent || Item->FMenu)
        throw EMenuError("Menu inserted twice");
    for (const TMenuItem* Up = this; Up; Up = Up->FParent)
        if (Up == Item)
            throw EMenuError("Menu inserted twice");
    if (Index < 0 || Index > Count())
        throw EMenuError("Menu index out of range");
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    StructureChanged();
}

void TMenuItem::Remove(TMenuItem* Item) {
    const Integer Index = IndexOf(Item);
    if (Index < 0)
        throw EMenuError("Sub-menu is not in menu");
    Delete(Index);
}

void TMenuItem::Delete(Integer Index) {
    TMenuItem* Item = Items(Index);
    FItems.erase(FItems.begin() + Index);
    Item->FParent = nullptr;
    StructureChanged();
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        delete FItems.back(); // unhooks itself
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const {
    const auto Found = std::find(FItems.begin(), FItems.end(), Item);
    return Found == FItems.end() ? -1 : static_cast<Integer>(Found - FItems.begin());
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
    const String Wanted = StripAccelChars(Trim(ACaption));
    for (TMenuItem* Item : FItems)
        if (AnsiSameText(StripAccelChars(Item->FCaption), Wanted))
            return Item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* Top = this;
    while (Top->FParent)
        Top = Top->FParent;
    return Top->FMenu;
}

Integer TMenuItem::MenuIndex() const {
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(Integer Value) {
    if (!FParent)
        return;
    TMenuItem* Parent = FParent;
    const Integer Target = std::clamp<Integer>(Value, 0, Parent->Count() - 1);
    if (Target == MenuIndex())
        return;
    auto& Items = Parent->FItems;
    Items.erase(Items.begin() + MenuIndex());
    Items.insert(Items.begin() + Target, this);
    Parent->StructureChanged();
}

void TMenuItem::SetCaption(const String& Value) {
    if (FCaption == Value)
        return;
    FCaption = Value;
    ApplyText();
}

void TMenuItem::SetHint(const String& Value) {
    FHint = Value;
    ApplyHint();
}

void TMenuItem::SetShortCut(TShortCut Value) {
    FShortCut = Value;
    ApplyText();
}

void TMenuItem::SetChecked(bool Value) {
    FChecked = Value;
    if (Value && FRadioItem)
        UncheckGroupSiblings();
    ApplyCheck();
}

void TMenuItem::SetRadioItem(bool Value) {
    FRadioItem = Value;
    if (Value && FChecked)
        UncheckGroupSiblings();
}

void TMenuItem::SetGroupIndex(Byte Value) {
    FGroupIndex = Value;
    if (FRadioItem && FChecked)
        UncheckGroupSiblings();
}

void TMenuItem::UncheckGroupSiblings() {
    if (!FParent)
        return;
    for (TMenuItem* Sibling : FParent->FItems)
        if (Sibling != this && Sibling->FRadioItem && Sibling->FGroupIndex == FGroupIndex &&
            Sibling->FChecked) {
            Sibling->FChecked = false;
            Sibling->ApplyCheck();
        }
}

void TMenuItem::SetDefault(bool Value) {
    FDefault = Value;
    ApplyAction();
}

void TMenuItem::SetEnabled(bool Value) {
    FEnabled = Value;
    ApplyAction();
}

void TMenuItem::SetVisible(bool Value) {
    FVisible = Value;
    ApplyAction();
}

void TMenuItem::Click() {
    if (FEnabled && OnClick)
        OnClick(this);
}

// --- Qt side

QAction* TMenuItem::NeedAction() {
    if (FAction)
        return FAction;
    FAction = new QAction();
    QObject::connect(FAction, &QAction::triggered, FAction, [this](bool) {
        TQtDispatch Guard;
        GuardedCall(this, [this] {
            ApplyCheck(); // Qt toggled it; the handler decides
            Click();      // may free this item: nothing follows
        });
    });
    ApplyAction();
    StructureChanged();
    return FAction;
}

void TMenuItem::ApplyText() {
    if (!FAction)
        return;
    FAction->setSeparator(IsLine());
    if (IsLine()) {
        FAction->setText(QString()); // a separator with text shows as a section heading
        return;
    }
    QString Text = ToQString(FCaption);
    if (const String Keys = ShortCutToText(FShortCut); !Keys.empty())
        Text += QLatin1Char('\t') + ToQString(Keys); // shown; the form's keys handle it
    FAction->setText(Text);
}

void TMenuItem::ApplyHint() {
    if (!FAction)
        return;
    FAction->setStatusTip(ToQString(GetLongHint(FHint)));
    FAction->setToolTip(ToQString(GetShortHint(FHint)));
}

void TMenuItem::ApplyAction() {
    if (!FAction)
        return;
    ApplyText();
    ApplyHint();
    FAction->setEnabled(FEnabled);
    FAction->setVisible(FVisible);
    QFont Font = FAction->font();
    Font.setBold(FDefault);
    FAction->setFont(Font);
    ApplyCheck();
}

void TMenuItem::ApplyCheck() {
    if (!FAction)
        return;
    FAction->setCheckable(FChecked);
    FAction->setChecked(FChecked);
}

void TMenuItem::FillContainer(QWidget* Container) {
    for (QAction* Old : Container->actions())
        Container->removeAction(Old);
    for (TMenuItem* Item : FItems)
        Container->addAction(Item->NeedAction());
}

void TMenuItem::StructureChanged() {
    if (FMenu) {
        FMenu->ItemsChanged();
        return;
    }
    if (!FAction)
        return;
    if (FItems.empty()) {
        FAction->setMenu(nullptr);
        QMenu* Old = std::exchange(FSubMenu, nullptr);
        DisposeObject(Old);
        return;
    }
    if (!FSubMenu) {
        FSubMenu = new QMenu();
        // A sub-menu about to open clicks its item, which may update the sub-items.
        QObject::connect(FSubMenu, &QMenu::aboutToShow, FSubMenu, [this] {
            TQtDispatch Guard;
            GuardedCall(this, [this] { Click(); });
        });
        FAction->setMenu(FSubMenu);
    }
    FillContainer(FSubMenu);
}

void TMenuItem::ReleaseQt() {
    QMenu* Menu = std::exchange(FSubMenu, nullptr);
    QAction* Action = std::exchange(FAction, nullptr);
    if (Action)
        Action->setMenu(nullptr);
    DisposeObject(Menu);
    DisposeObject(Action);
}

// --- Shortcuts

TMenuItem* TMenuItem::FindShortCut(TShortCut Key) {
    for (TMenuItem* Item : FItems) {
        if (Item->FShortCut == Key)
            return Item;
        if (TMenuItem* Found = Item->FindShortCut(Key))
            return Found;
    }
    return nullptr;
}

bool TMenuItem::ClickShortCut(TShortCut Key) {
    TMenuItem* Item = FindShortCut(Key);
    if (!Item)
        return false;
    // The parents' OnClick may free the item, a parent or the whole menu.
    const std::shared_ptr<bool> Alive = Item->FAlive;
    std::vector<std::pair<TMenuItem*, std::shared_ptr<bool>>> Parents;
    for (TMenuItem* Up = Item->FParent; Up && Up->FParent; Up = Up->FParent)
        Parents.insert(Parents.begin(), {Up, Up->FAlive});
    for (const auto& [Parent, ParentAlive] : Parents)
        if (*Alive && *ParentAlive)
            Parent->Click();
    if (!*Alive)
        return true;
    if (!Item->FEnabled)
        return false;
    Item->Click(); // may free everything: nothing follows
    return true;
}

TComponent* TMenuItem::GetParentComponent() const {
    if (FParent && FParent->FMenu)
        return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
    if (FParent)
        FParent->Remove(this);
    if (auto* Menu = dynamic_cast<TMenu*>(Value))
        Menu->Items()->Add(this);
    else if (auto* Item = dynamic_cast<TMenuItem*>(Value))
        Item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
    for (TMenuItem* Item : FItems)
        if (Item->Owner() == Root)
            Proc(Item);
}

void TMenuItem::SetChildOrder(TComponent* Child, Integer Order) {
    if (auto* Item = dynamic_cast<TMenuItem*>(Child); Item && Item->FParent == this)
        Item->SetMenuIndex(Order);
}

// --- TMenu -----------------------------------------------------------------------

ORLO_PUBLISHED(TMenu, "Menus") {}

TMenu::TMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    DetachContainer();
    FItems.reset();
}

bool TMenu::IsShortCut(Word Key, TShiftState Shift) {
    const TShortCut Wanted = ShortCut(Key, Shift);
    return Wanted != 0 && FItems->ClickShortCut(Wanted);
}

TMenuItem* TMenu::FindItem(TShortCut ShortCut) const {
    return ShortCut == 0 ? nullptr : FItems->FindShortCut(ShortCut);
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
    FItems->GetChildren(Proc, Root);
}

void TMenu::SetChildOrder(TComponent* Child, Integer Order) {
    FItems->SetChildOrder(Child, Order);
}

void TMenu::AttachContainer(QWidget* Container) {
    FContainer = Container;
    ItemsChanged();
}

void TMenu::DetachContainer() {
    if (FContainer)
        for (QAction* Old : FContainer->actions())
            FContainer->removeAction(Old);
    FContainer = nullptr;
}

void TMenu::ItemsChanged() {
    if (FContainer)
        FItems->FillContainer(FContainer);
}

// --- TMainMenu -------------------------------------------------------------------

ORLO_PUBLISHED(TMainMenu, "Menus") {
    P.Property("AutoMerge", &TMainMenu::AutoMerge).Default(0);
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
TMainMenu::~TMainMenu() = default;

void TMainMenu::AttachBar(QMenuBar* Bar) {
    AttachContainer(Bar);
}

void TMainMenu::DetachBar() {
    DetachContainer();
}

// --- TPopupMenu ------------------------------------------------------------------

ORLO_PUBLISHED(TPopupMenu, "Menus") {
    P.Property("Alignment", &TPopupMenu::Alignment).Default(paLeft);
    P.Property("AutoPopup", &TPopupMenu::AutoPopup).Default(1);
    P.Property("HelpContext", &TPopupMenu::HelpContext).Default(0);
    P.Property("OnPopup", &TPopupMenu::OnPopup);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() {
    DetachContainer();
    DisposeObject(std::exchange(FMenu, nullptr));
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
    if (FPopupComponent)
        RemoveFreeNotification(FPopupComponent);
    FPopupComponent = Value;
    if (Value)
        FreeNotification(Value);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::Popup(Integer X, Integer Y) {
    const std::shared_ptr<bool> Alive = Items()->FAlive;
    if (OnPopup)
        OnPopup(this); // may free this menu
    if (!*Alive)
        return;
    if (!FMenu) {
        NeedWidgetApplication();
        FMenu = new QMenu();
        AttachContainer(FMenu);
    }
    QPoint At(X, Y);
    const int Width = FMenu->sizeHint().width();
    if (Alignment == paRight)
        At.rx() -= Width;
    else if (Alignment == paCenter)
        At.rx() -= Width / 2;
    FMenu->popup(At);
}

} // namespace orlo
