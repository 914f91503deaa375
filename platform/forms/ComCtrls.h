#pragma once
// Common controls.

#include "platform/classes/Collection.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"

#include <utility>
#include <vector>

namespace orlo {

// --- Tool bar and status bar -----------------------------------------------------

ORLO_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)
ORLO_ENUM(TEdgeBorder, ebLeft, ebTop, ebRight, ebBottom)
ORLO_SET(TEdgeBorders, TEdgeBorder)
ORLO_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
ORLO_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

class TToolBar;

// A button of a tool bar. Buttons show their caption (the platform keeps no
// image lists); separators and dividers are gaps of their own width.
class TToolButton : public TGraphicControl {
    ORLO_CLASS(TToolButton, TGraphicControl)
public:
    explicit TToolButton(TComponent* AOwner);
    ~TToolButton() override;

    TToolButtonStyle Style() const noexcept { return FStyle; }
    void SetStyle(TToolButtonStyle Value);
    bool IsSeparator() const { return FStyle == tbsSeparator || FStyle == tbsDivider; }
    // The pressed state of a check button; a grouped one releases its group.
    bool Down() const noexcept { return FDown; }
    void SetDown(bool Value);
    bool Grouped() const noexcept { return FGrouped; }
    void SetGrouped(bool Value) { FGrouped = Value; }
    bool AllowAllUp() const noexcept { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    Integer ImageIndex() const noexcept { return FImageIndex; }
    void SetImageIndex(Integer Value) { FImageIndex = Value; }
    bool Wrap() const noexcept { return FWrap; }
    void SetWrap(bool Value);
    bool Indeterminate = false;
    bool Marked = false;
    TPopupMenu* DropdownMenu = nullptr;

    // The menu item this button stands for: setting it copies the item's
    // caption, hint, check state, enabled and visible state; a click without
    // an OnClick of the button's own clicks the item.
    TMenuItem* MenuItem() const noexcept { return FMenuItem; }
    void SetMenuItem(TMenuItem* Value);

    // A check button toggles (within its group), then OnClick or the menu
    // item's click. The handler may free the button.
    void Click() override;
    void SetParent(TWinControl* AParent) override;
    void SetVisible(bool Value) override;
    TToolBar* ToolBar() const;
    // The width of the caption as shown. Measuring text is costly, so the
    // widths of the last few captions are kept (a language switch goes back
    // and forth between them) until the font changes.
    Integer CaptionWidth() const;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ApplyText() override;
    void TextChanged() override;
    void FontChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool ClicksOnRelease() const override { return false; }

private:
    void ApplyDown();
    void ReleaseGroup();
    void Rearrange();

    TToolButtonStyle FStyle = tbsButton;
    bool FDown = false;
    bool FGrouped = false;
    bool FAllowAllUp = false;
    bool FWrap = false;
    Integer FImageIndex = -1;
    TMenuItem* FMenuItem = nullptr;
    mutable std::vector<std::pair<String, Integer>> FCaptionWidths; // newest last
};

// A row of tool buttons, laid out from the left in the order they were added.
class TToolBar : public TWinControl {
    ORLO_CLASS(TToolBar, TWinControl)
public:
    explicit TToolBar(TComponent* AOwner);
    ~TToolBar() override;

    Integer ButtonCount() const;
    TToolButton* Buttons(Integer Index) const; // EListError "List index out of bounds (%d)"
    Integer ButtonHeight() const noexcept { return FButtonHeight; }
    void SetButtonHeight(Integer Value);
    Integer ButtonWidth() const noexcept { return FButtonWidth; }
    void SetButtonWidth(Integer Value);
    Integer Indent() const noexcept { return FIndent; }
    void SetIndent(Integer Value);
    TEdgeBorders EdgeBorders() const noexcept { return FEdgeBorders; }
    void SetEdgeBorders(TEdgeBorders Value);
    bool ShowCaptions = false;
    bool Flat = false;
    bool List = false;
    bool Wrapable = true;
    bool Transparent = false;

    // Places every visible button again (a button was added, changed or went).
    void ArrangeButtons();

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void Loaded() override;
    void Resize() override;
    bool TakesFocus() const override { return false; }

private:
    Integer ButtonExtent(const TToolButton* Button) const;

    Integer FButtonHeight = 22;
    Integer FButtonWidth = 23;
    Integer FIndent = 0;
    TEdgeBorders FEdgeBorders{ebTop};
    bool FArranging = false;
};

class TStatusBar;

class TStatusPanel : public TCollectionItem {
    ORLO_CLASS(TStatusPanel, TCollectionItem)
public:
    explicit TStatusPanel(TCollection* Collection);

    const String& Text() const noexcept { return FText; }
    void SetText(const String& Value);
    Integer Width() const noexcept { return FWidth; }
    void SetWidth(Integer Value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStatusPanelBevel Bevel() const noexcept { return FBevel; }
    void SetBevel(TStatusPanelBevel Value);
    TStatusPanelStyle Style() const noexcept { return FStyle; }
    void SetStyle(TStatusPanelStyle Value);

    void Assign(TPersistent* Source) override;
    String DisplayName() const override;

private:
    String FText;
    Integer FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
};

class TStatusPanels : public TOwnedCollection {
    ORLO_CLASS(TStatusPanels, TOwnedCollection)
public:
    explicit TStatusPanels(TStatusBar* StatusBar);
    TStatusPanel* Items(Integer Index) const;
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* FStatusBar;
};

// A bar at the bottom of a form: panels side by side (the last one reaches
// the right edge), or one simple panel with its own text.
class TStatusBar : public TWinControl {
    ORLO_CLASS(TStatusBar, TWinControl)
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels* Panels() const noexcept { return FPanels.get(); }
    void SetPanels(TStatusPanels* Value) { FPanels->Assign(Value); }
    bool SimplePanel() const noexcept { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const String& SimpleText() const noexcept { return FSimpleText; }
    void SetSimpleText(const String& Value);
    bool SizeGrip = true;
    bool AutoHint = false;

    // The texts as the bar shows them now (one per label, left to right).
    std::vector<String> ShownTexts() const;
    // The panels' shown rectangles, in client coordinates.
    TRect PanelRect(Integer Index) const;

    TNotifyEvent OnResize;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void Resize() override;
    bool TakesFocus() const override { return false; }

private:
    friend class TStatusPanels;
    void ApplyPanels();

    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    String FSimpleText;
};

} // namespace orlo
