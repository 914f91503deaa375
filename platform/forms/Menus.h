#pragma once
// Menus: TMenuItem trees under a TMainMenu (a form's menu bar) or a
// TPopupMenu (a control's context menu), and shortcut keys (TShortCut).
//
// Items are components of the form (streamed as nested objects of their menu
// and parent item); the tree is the items' own: an item frees its sub-items.
// The Qt side (one QAction per item, a QMenu per item with sub-items) is made
// when the menu first shows and follows every later change.

#include "platform/forms/Controls.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace orlo {

ORLO_EXCEPTION(EMenuError, Exception);

// A key with its shift state in one word: the key code in the low byte, the
// modifiers in the high bits; 0 is no shortcut. Form files store the number.
using TShortCut = Word;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
const TTypeInfo* TShortCutTypeInfo();

TShortCut ShortCut(Word Key, TShiftState Shift);
Word ShortCutKey(TShortCut ShortCut);
TShiftState ShortCutShift(TShortCut ShortCut);
// "Ctrl+S", "Shift+F9", "Alt+X", "F6"; "" for 0 or a key without a name.
String ShortCutToText(TShortCut ShortCut);
// The reverse of ShortCutToText, without regard to case; 0 when Text names no key.
TShortCut TextToShortCut(const String& Text);

ORLO_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak)
ORLO_ENUM(TPopupAlignment, paLeft, paRight, paCenter)

class TMenu;

class TMenuItem : public TComponent {
    ORLO_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // --- Sub-items
    Integer Count() const noexcept { return static_cast<Integer>(FItems.size()); }
    TMenuItem* Items(Integer Index) const; // EMenuError "Menu index out of range"
    // EMenuError "Menu inserted twice" when Item already sits in a menu.
    void Add(TMenuItem* Item);
    void Insert(Integer Index, TMenuItem* Item);
    // Takes an item out without freeing it; EMenuError "Sub-menu is not in menu".
    void Remove(TMenuItem* Item);
    void Delete(Integer Index);                   // takes item Index out (not freed)
    void Clear();                                 // frees every sub-item
    Integer IndexOf(const TMenuItem* Item) const; // -1 when not a sub-item
    // The sub-item whose caption, without accelerator marks, is Caption (any case).
    TMenuItem* Find(const String& ACaption) const;
    TMenuItem* Parent() const noexcept { return FParent; }
    // The menu this item belongs to (nil while it is in none).
    TMenu* GetParentMenu() const;
    Integer MenuIndex() const;
    void SetMenuIndex(Integer Value);

    // --- Properties
    const String& Caption() const noexcept { return FCaption; }
    void SetCaption(const String& Value);
    bool IsLine() const { return FCaption == "-"; }
    const String& Hint() const noexcept { return FHint; }
    void SetHint(const String& Value);
    TShortCut ShortCut() const noexcept { return FShortCut; }
    void SetShortCut(TShortCut Value);
    bool Checked() const noexcept { return FChecked; }
    // Checking a radio item unchecks the other radio items of its group.
    void SetChecked(bool Value);
    bool RadioItem() const noexcept { return FRadioItem; }
    void SetRadioItem(bool Value);
    Byte GroupIndex() const noexcept { return FGroupIndex; }
    void SetGroupIndex(Byte Value);
    bool Default() const noexcept { return FDefault; }
    void SetDefault(bool Value);
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const noexcept { return FVisible; }
    void SetVisible(bool Value);
    TMenuBreak Break() const noexcept { return FBreak; }
    void SetBreak(TMenuBreak Value) { FBreak = Value; }
    Integer HelpContext() const noexcept { return FHelpContext; }
    void SetHelpContext(Integer Value) { FHelpContext = Value; }

    // OnClick, when the item is enabled. The handler may free the item, its
    // menu or the whole form: nothing of the item is touched afterwards.
    virtual void Click();
    TNotifyEvent OnClick;

    // --- Qt side: nil until the menu shows
    QAction* Action() const noexcept { return FAction; }
    QMenu* SubMenu() const noexcept { return FSubMenu; }

    // --- Streaming
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void SetChildOrder(TComponent* Child, Integer Order) override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

private:
    friend class TMenu;
    friend class TPopupMenu;
    // Makes the item's action (and sub-menu) and those of its sub-items.
    QAction* NeedAction();
    // Fills Container (a menu bar or a QMenu) with the sub-items' actions.
    void FillContainer(QWidget* Container);
    void ReleaseQt();
    void ApplyAction();
    void ApplyText();
    void ApplyHint();
    void ApplyCheck();
    void StructureChanged();
    void UncheckGroupSiblings();
    // Finds the enabled item with ShortCut below this one and clicks it; the
    // parents' OnClick run first (they may update the items).
    bool ClickShortCut(TShortCut Key);
    TMenuItem* FindShortCut(TShortCut Key);

    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on a menu's root item only
    String FCaption;
    String FHint;
    TShortCut FShortCut = 0;
    bool FChecked = false;
    bool FRadioItem = false;
    Byte FGroupIndex = 0;
    bool FDefault = false;
    bool FEnabled = true;
    bool FVisible = true;
    TMenuBreak FBreak = mbNone;
    Integer FHelpContext = 0;
    QAction* FAction = nullptr;
    QMenu* FSubMenu = nullptr;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TMenu : public TComponent {
    ORLO_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The invisible root whose sub-items are the menu's items.
    TMenuItem* Items() const noexcept { return FItems.get(); }
    // Finds the enabled item with this shortcut and clicks it; true when one did.
    bool IsShortCut(Word Key, TShiftState Shift);
    // The item with that shortcut (any depth), nil when none.
    TMenuItem* FindItem(TShortCut ShortCut) const;

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void SetChildOrder(TComponent* Child, Integer Order) override;

protected:
    // The Qt widget holding the top-level items' actions; nil while not shown.
    QPointer<QWidget> FContainer;
    void AttachContainer(QWidget* Container);
    void DetachContainer();

private:
    friend class TMenuItem;
    void ItemsChanged();
    std::unique_ptr<TMenuItem> FItems;
};

class TMainMenu : public TMenu {
    ORLO_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    bool AutoMerge = false;

    // The form's menu bar shows this menu (TCustomForm::SetMenu does it).
    void AttachBar(QMenuBar* Bar);
    void DetachBar();
};

class TPopupMenu : public TMenu {
    ORLO_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TPopupAlignment Alignment = paLeft;
    bool AutoPopup = true;
    Integer HelpContext = 0;
    // The control whose context menu is showing (or showed last).
    TComponent* PopupComponent() const noexcept { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);

    // OnPopup, then shows the menu at the screen point (X, Y) without waiting.
    virtual void Popup(Integer X, Integer Y);
    // The Qt menu shown by Popup; nil before the first Popup.
    QMenu* Menu() const noexcept { return FMenu; }
    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QMenu* FMenu = nullptr;
    TComponent* FPopupComponent = nullptr;
};

// The height of a form's menu bar (the window grows by it; the client area
// starts below it).
Integer MenuBarHeight();

} // namespace orlo
