#pragma once
// Common controls: tree and list views, tool bars and status bars.

#include "platform/classes/Collection.h"
#include "platform/classes/Strings.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"

#include <memory>
#include <utility>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace orlo {

// --- Tree view and list view ---------------------------------------------------------
//
// Both keep their nodes and items in their own objects; the Qt tree widget
// only mirrors them while it exists. Every event handler may free the node or
// item it is given, or the whole control: the control checks that both are
// still there before it touches them again.

class TTreeNodes;
class TCustomTreeView;

// One node of a tree view; owned by its parent node (top-level nodes by the
// tree's node list). Data is the caller's and never freed by the tree.
class TTreeNode {
public:
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    TTreeNodes* Owner() const noexcept { return FOwner; }
    TCustomTreeView* TreeView() const;
    const String& Text() const noexcept { return FText; }
    void SetText(const String& Value);
    void* Data() const noexcept { return FData; }
    void SetData(void* Value) noexcept { FData = Value; }

    // The node above; nil for a top-level node.
    TTreeNode* Parent() const;
    Integer Count() const noexcept { return static_cast<Integer>(FChildren.size()); }
    // The child at Index; EListError "List index out of bounds (%d)".
    TTreeNode* Item(Integer Index) const;
    bool HasChildren() const noexcept { return !FChildren.empty(); }
    TTreeNode* GetFirstChild() const;
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // Position among its siblings; depth (0 for top-level nodes); position in
    // the whole tree counted depth first.
    Integer Index() const;
    Integer Level() const;
    Integer AbsoluteIndex() const;
    // Whether Node is this node's parent, grandparent, ...
    bool HasAsParent(const TTreeNode* Node) const;

    bool Expanded() const noexcept { return FExpanded; }
    void SetExpanded(bool Value);
    // Opens this node (and with Recurse every node below); the tree's
    // OnExpanding may refuse each.
    void Expand(bool Recurse);
    // Closes this node (and with Recurse every node below); OnCollapsing may refuse each.
    void Collapse(bool Recurse);
    bool Selected() const;
    void SetSelected(bool Value);

    // Frees the node with its children.
    void Delete();
    void DeleteChildren();

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    TTreeNode(TTreeNodes* Owner, TTreeNode* Parent, String Text, void* Data);
    bool IsRoot() const noexcept { return FParent == nullptr; }

    TTreeNodes* FOwner;
    TTreeNode* FParent; // the hidden root for top-level nodes
    String FText;
    void* FData;
    bool FExpanded = false;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
    QTreeWidgetItem* FItem = nullptr; // the mirror while the widget exists
};

// The nodes of one tree view.
class TTreeNodes : public TPersistent {
    ORLO_CLASS(TTreeNodes, TPersistent)
public:
    explicit TTreeNodes(TCustomTreeView* Owner);
    ~TTreeNodes() override;

    TCustomTreeView* Owner() const noexcept { return FTreeView; }
    // Every node, at all levels.
    Integer Count() const;
    // The node at a depth-first position; EListError "List index out of bounds (%d)".
    TTreeNode* Item(Integer Index) const;
    TTreeNode* GetFirstNode() const;

    // A new last node on Sibling's level (the top level when nil).
    TTreeNode* Add(TTreeNode* Sibling, const String& S);
    TTreeNode* AddObject(TTreeNode* Sibling, const String& S, void* Data);
    // A new first node on Sibling's level.
    TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
    // A new node just before Sibling (the last top-level node when nil).
    TTreeNode* Insert(TTreeNode* Sibling, const String& S);
    // A new last child of Parent (a top-level node when nil).
    TTreeNode* AddChild(TTreeNode* Parent, const String& S);
    TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Data);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
    void Delete(TTreeNode* Node);
    void Clear();
    // Gathers changes: the widget is rebuilt once at the end.
    void BeginUpdate();
    void EndUpdate();

    TPersistent* GetOwner() const override;

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* InsertNode(TTreeNode* Parent, size_t Position, const String& S, void* Data);
    TTreeNode* LevelOf(TTreeNode* Sibling) const;

    TCustomTreeView* FTreeView;
    std::unique_ptr<TTreeNode> FRoot; // hidden; its children are the top-level nodes
    Integer FUpdateCount = 0;
};

ORLO_EVENT(TTVChangedEvent, void(TObject* Sender, TTreeNode* Node))
ORLO_EVENT(TTVChangingEvent, void(TObject* Sender, TTreeNode* Node, bool& AllowChange))
ORLO_EVENT(TTVExpandingEvent, void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion))
ORLO_EVENT(TTVCollapsingEvent, void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse))
ORLO_EVENT(TTVExpandedEvent, void(TObject* Sender, TTreeNode* Node))

class TCustomTreeView : public TWinControl {
    ORLO_CLASS(TCustomTreeView, TWinControl)
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() const noexcept { return FItems.get(); }
    TTreeNode* Selected() const noexcept { return FSelected; }
    // Selects Node (nil: nothing); OnChanging may refuse, then OnChange runs.
    void SetSelected(TTreeNode* Node);
    void FullExpand();
    void FullCollapse();

    TFormBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    bool ShowButtons() const noexcept { return FShowButtons; }
    void SetShowButtons(bool Value);
    bool ShowLines() const noexcept { return FShowLines; }
    void SetShowLines(bool Value) { FShowLines = Value; }
    bool ShowRoot() const noexcept { return FShowRoot; }
    void SetShowRoot(bool Value);
    Integer Indent() const noexcept { return FIndent; }
    void SetIndent(Integer Value);
    bool HideSelection = true;
    bool ReadOnly = false;
    bool RowSelect = false;
    bool HotTrack = false;
    bool AutoExpand = false;
    bool RightClickSelect = false;
    bool ToolTips = true;
    Integer ChangeDelay = 0;

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;

    // The node of one of this tree's Qt items; nil for any other.
    TTreeNode* NodeOf(const QTreeWidgetItem* Item) const;
    // The node's Qt item; nil while the tree has no widget.
    static QTreeWidgetItem* ItemOf(const TTreeNode* Node) noexcept { return Node->FItem; }

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    void ReleaseWidget() override;
    Integer BackgroundRole() const override;
    QTreeWidget* Tree() const;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    friend class TNodeGuard;
    // The node list's notifications.
    void NodeAdded(TTreeNode* Node);
    void NodeDeleting(TTreeNode* Node);
    void NodeTextChanged(TTreeNode* Node);
    void NodesCleared();
    void NodesRebuilt();
    // Opens or closes Node (and with Recurse every node below), asking the handlers.
    void ChangeExpansion(TTreeNode* Node, bool Expand, bool Recurse);
    void ChangeTopLevel(bool Expand);
    // Asks OnExpanding or OnCollapsing, then opens or closes the node.
    void ChangeOne(TTreeNode* Node, bool Expand);
    // Whether Node is still part of this tree (handlers may delete nodes).
    bool Contains(const TTreeNode* Node) const;
    // What the widget reports the user did.
    void UserCurrentChanged(QTreeWidgetItem* Current);
    void UserExpansion(QTreeWidgetItem* Item, bool Expand);

    void CreateItems();
    void ApplySelection();
    void ApplyExpanded(TTreeNode* Node);
    void ApplyLook();
    static void ForgetItems(TTreeNode* Node);
    // Whether the caller must leave the widget's items alone: changes made
    // while the widget's own signal runs wait for a rebuild after it; outside
    // a signal a pending rebuild is done at once when RebuildNow.
    bool WidgetStale(bool RebuildNow);

    std::unique_ptr<TTreeNodes> FItems;
    TTreeNode* FSelected = nullptr;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FShowButtons = true;
    bool FShowLines = true;
    bool FShowRoot = true;
    Integer FIndent = 19;
    // Counts node deletions, so a handler's deletions are noticed cheaply.
    Integer FDeletions = 0;
    Integer FSignalDepth = 0;
    bool FWidgetStale = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TTreeView : public TCustomTreeView {
    ORLO_CLASS(TTreeView, TCustomTreeView)
public:
    explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};

ORLO_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)
ORLO_ENUM(TSortType, stNone, stData, stText, stBoth)
ORLO_ENUM(TItemChange, ctText, ctImage, ctState)

class TCustomListView;
class TListItems;

// One column of a list view in report style. The width is what the user
// dragged it to, so settings can persist it.
class TListColumn : public TCollectionItem {
    ORLO_CLASS(TListColumn, TCollectionItem)
public:
    explicit TListColumn(TCollection* Collection);

    const String& Caption() const noexcept { return FCaption; }
    void SetCaption(const String& Value);
    Integer Width() const noexcept { return FWidth; }
    void SetWidth(Integer Value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);
    Integer MinWidth() const noexcept { return FMinWidth; }
    void SetMinWidth(Integer Value);
    Integer MaxWidth() const noexcept { return FMaxWidth; }
    void SetMaxWidth(Integer Value);
    bool AutoSize = false;
    Integer Tag = 0;

    void Assign(TPersistent* Source) override;
    String DisplayName() const override;

private:
    friend class TCustomListView;
    // Width within MinWidth and MaxWidth (0: no limit).
    Integer Limited(Integer Value) const;

    String FCaption;
    Integer FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    Integer FMinWidth = 0;
    Integer FMaxWidth = 0;
};

class TListColumns : public TOwnedCollection {
    ORLO_CLASS(TListColumns, TOwnedCollection)
public:
    explicit TListColumns(TCustomListView* Owner);
    TListColumn* Items(Integer Index) const {
        return static_cast<TListColumn*>(TCollection::Items(Index));
    }
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TCustomListView* Owner() const noexcept { return FListView; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TCustomListView* FListView;
};

// One row of a list view: a caption, the texts of the further columns and an
// object of the caller's, which the list never frees.
class TListItem {
public:
    ~TListItem();
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    TListItems* Owner() const noexcept { return FOwner; }
    TCustomListView* ListView() const;
    const String& Caption() const noexcept { return FCaption; }
    void SetCaption(const String& Value);
    TStrings* SubItems() const noexcept { return FSubItems.get(); }
    void SetSubItems(TStrings* Value) { FSubItems->Assign(Value); }
    void* Data() const noexcept { return FData; }
    void SetData(void* Value) noexcept { FData = Value; }
    Integer Index() const;
    bool Selected() const;
    void SetSelected(bool Value);
    // Frees the item.
    void Delete();

private:
    friend class TListItems;
    explicit TListItem(TListItems* Owner);
    void SubItemsChanged(TObject* Sender);

    TListItems* FOwner;
    String FCaption;
    std::unique_ptr<TStringList> FSubItems;
    void* FData = nullptr;
};

class TListItems : public TPersistent {
    ORLO_CLASS(TListItems, TPersistent)
public:
    explicit TListItems(TCustomListView* Owner);
    ~TListItems() override;

    TCustomListView* Owner() const noexcept { return FListView; }
    Integer Count() const noexcept { return static_cast<Integer>(FItems.size()); }
    // EListError "List index out of bounds (%d)".
    TListItem* Item(Integer Index) const;
    Integer IndexOf(const TListItem* Item) const;
    // A new item at the end (at its sorted place once it has a caption).
    TListItem* Add();
    TListItem* Insert(Integer Index);
    void Delete(Integer Index);
    void Clear();
    // Gathers changes: sorting and the widget wait for the last EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    Integer UpdateCount() const noexcept { return FUpdateCount; }

    TPersistent* GetOwner() const override;

private:
    friend class TListItem;
    friend class TCustomListView;

    TCustomListView* FListView;
    std::vector<std::unique_ptr<TListItem>> FItems;
    Integer FUpdateCount = 0;
};

ORLO_EVENT(TLVChangeEvent, void(TObject* Sender, TListItem* Item, TItemChange Change))
ORLO_EVENT(TLVSelectItemEvent, void(TObject* Sender, TListItem* Item, bool Selected))
ORLO_EVENT(TLVColumnClickEvent, void(TObject* Sender, TListColumn* Column))

// A list view; shown in report style (columns with a header), whatever
// ViewStyle says.
class TCustomListView : public TWinControl {
    ORLO_CLASS(TCustomListView, TWinControl)
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListColumns* Columns() const noexcept { return FColumns.get(); }
    void SetColumns(TListColumns* Value) { FColumns->Assign(Value); }
    TListItems* Items() const noexcept { return FItems.get(); }
    TListItem* Selected() const noexcept { return FSelected; }
    // Selects Item (nil: nothing): OnChange and OnSelectItem for the item
    // left and for the item selected.
    void SetSelected(TListItem* Item);
    Integer ItemIndex() const;
    void SetItemIndex(Integer Value);

    TSortType SortType() const noexcept { return FSortType; }
    void SetSortType(TSortType Value);
    // Sorts the items by caption now (letter case ignored, equal captions keep
    // their order); stText and stBoth do it whenever a caption changes.
    void AlphaSort();
    TViewStyle ViewStyle() const noexcept { return FViewStyle; }
    void SetViewStyle(TViewStyle Value) { FViewStyle = Value; }
    bool ShowColumnHeaders() const noexcept { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool Value);
    bool GridLines() const noexcept { return FGridLines; }
    void SetGridLines(bool Value);
    TFormBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    bool ColumnClick = true;
    bool HideSelection = true;
    bool MultiSelect = false;
    bool ReadOnly = false;
    bool RowSelect = false;
    bool HotTrack = false;

    // What the user does: clicks a column header (OnColumnClick).
    void UserColumnClick(Integer Index);

    TLVChangeEvent OnChange;
    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    Integer BackgroundRole() const override;
    QTreeWidget* Tree() const;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    // Notifications of the items and columns.
    void ItemChanged(TListItem* Item);
    void ItemDeleting(TListItem* Item);
    void ItemsChanged();
    void ColumnsChanged();
    // Sorts when the sort type asks for it and no update is running.
    void SortIfNeeded();
    bool Sorts() const;
    void DoChange(TListItem* Item, TItemChange Change);
    // Calls Fn(Item, Selected) for the selection leaving and arriving; stops
    // when a handler freed the list view.
    void NotifySelection(TListItem* Left, TListItem* Arrived);
    // What the widget reports the user did.
    void UserCurrentChanged(QTreeWidgetItem* Current);
    void UserResizedColumn(int Index, int NewWidth);

    void ApplyColumns();
    void ApplyItems();
    void ApplyItem(TListItem* Item);
    void ApplySelection();
    void ApplyLook();

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    TListItem* FSelected = nullptr;
    TSortType FSortType = stNone;
    TViewStyle FViewStyle = vsIcon;
    bool FShowColumnHeaders = true;
    bool FGridLines = false;
    TFormBorderStyle FBorderStyle = bsSingle;
    // Rows changed while the widget's own signal runs are rebuilt after it.
    Integer FSignalDepth = 0;
    bool FWidgetStale = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TListView : public TCustomListView {
    ORLO_CLASS(TListView, TCustomListView)
public:
    explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};

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

    // Keeps a widget of its own: a Qt tool button takes the clicks and shows the state.
    bool Windowless() const override { return false; }

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
    // A plain frame has no click signal: a release on the bar itself is its click.
    bool ClicksOnRelease() const override { return true; }

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
    bool ClicksOnRelease() const override { return true; }
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
