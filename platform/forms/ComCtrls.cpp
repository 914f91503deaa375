#include "platform/forms/ComCtrls.h"

#include "platform/rtl/SysUtils.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

namespace orlo {

// --- Tree view and list view ---------------------------------------------------------

namespace {

// Form files name the controls by their class.
const bool ListControlsRegistered =
    (RegisterClasses({TTreeView::StaticClass(), TListView::StaticClass()}), true);

[[noreturn]] void IndexError(Integer Index) {
    throw EListError(Format("List index out of bounds (%d)", Index));
}

// The nodes below Node, depth first (Node itself not included).
void CollectSubtree(TTreeNode* Node, std::vector<TTreeNode*>& Into) {
    for (Integer I = 0; I < Node->Count(); ++I) {
        Into.push_back(Node->Item(I));
        CollectSubtree(Node->Item(I), Into);
    }
}

Integer CountSubtree(const TTreeNode* Node) {
    Integer Result = Node->Count();
    for (Integer I = 0; I < Node->Count(); ++I)
        Result += CountSubtree(Node->Item(I));
    return Result;
}

Qt::Alignment QtAlignment(TAlignment Value) {
    switch (Value) {
    case taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// Counts the control's own widget signals being handled: Qt's item views keep
// using their items after such a signal, so items must not go meanwhile.
class TSignalScope {
public:
    // Alive: the control's liveness flag; a handler may free the control.
    TSignalScope(Integer& Depth, std::shared_ptr<bool> Alive)
        : FDepth(Depth), FAlive(std::move(Alive)) {
        ++FDepth;
    }
    ~TSignalScope() {
        if (*FAlive)
            --FDepth;
    }
    TSignalScope(const TSignalScope&) = delete;
    TSignalScope& operator=(const TSignalScope&) = delete;

private:
    Integer& FDepth;
    std::shared_ptr<bool> FAlive;
};

// Runs Fn on the next turn of the event loop, unless the widget or the
// control (its liveness flag) is gone by then.
template <class F> void Later(QWidget* Widget, const std::shared_ptr<bool>& Alive, F&& Fn) {
    QMetaObject::invokeMethod(
        Widget,
        [Alive, Fn = std::forward<F>(Fn)] {
            if (*Alive)
                Fn();
        },
        Qt::QueuedConnection);
}

void ApplyFrame(QTreeWidget* Tree, TFormBorderStyle Style) {
    Tree->setFrameShape(Style == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

// A tree view's widget: the right button selects the node under the mouse
// only when the tree's RightClickSelect asks for it (the pop-up menu comes
// either way). Alive: the tree's liveness flag, as the widget may outlive it.
class TTreeViewWidget final : public QTreeWidget {
public:
    TTreeViewWidget(const TCustomTreeView* Tree, std::shared_ptr<bool> Alive, QWidget* Parent)
        : QTreeWidget(Parent), FTree(Tree), FAlive(std::move(Alive)) {}

protected:
    void mousePressEvent(QMouseEvent* Event) override {
        if (Event->button() == Qt::RightButton && *FAlive && !FTree->RightClickSelect) {
            Event->accept();
            return;
        }
        QTreeWidget::mousePressEvent(Event);
    }

private:
    const TCustomTreeView* FTree;
    std::shared_ptr<bool> FAlive;
};

} // namespace

// Remembers whether a tree view, and one of its nodes, outlive a handler.
class TNodeGuard {
public:
    TNodeGuard(TCustomTreeView* Tree, const TTreeNode* Node)
        : FTree(Tree), FNode(Node), FAlive(Tree->FAlive), FDeletions(Tree->FDeletions) {}
    bool TreeAlive() const noexcept { return *FAlive; }
    // The tree is alive and still holds the node (nil counts as held).
    bool NodeAlive() const {
        return *FAlive && (!FNode || FTree->FDeletions == FDeletions || FTree->Contains(FNode));
    }

private:
    TCustomTreeView* FTree;
    const TTreeNode* FNode;
    std::shared_ptr<bool> FAlive;
    Integer FDeletions;
};

// --- TTreeNode -----------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* Owner, TTreeNode* Parent, String Text, void* Data)
    : FOwner(Owner), FParent(Parent), FText(std::move(Text)), FData(Data) {}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const {
    return FOwner->Owner();
}

void TTreeNode::SetText(const String& Value) {
    FText = Value;
    TreeView()->NodeTextChanged(this);
}

TTreeNode* TTreeNode::Parent() const {
    return FParent && !FParent->IsRoot() ? FParent : nullptr;
}

TTreeNode* TTreeNode::Item(Integer Index) const {
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    return FChildren[static_cast<size_t>(Index)].get();
}

TTreeNode* TTreeNode::GetFirstChild() const {
    return FChildren.empty() ? nullptr : FChildren.front().get();
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const Integer I = Index();
    return I + 1 < FParent->Count() ? FParent->Item(I + 1) : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const Integer I = Index();
    return I > 0 ? FParent->Item(I - 1) : nullptr;
}

Integer TTreeNode::Index() const {
    if (!FParent)
        return -1;
    const auto& Siblings = FParent->FChildren;
    const auto It = std::find_if(Siblings.begin(), Siblings.end(),
                                 [this](const auto& Node) { return Node.get() == this; });
    return static_cast<Integer>(It - Siblings.begin());
}

Integer TTreeNode::Level() const {
    Integer Result = 0;
    for (const TTreeNode* Node = Parent(); Node; Node = Node->Parent())
        ++Result;
    return Result;
}

Integer TTreeNode::AbsoluteIndex() const {
    // The nodes before this one: its earlier siblings with their subtrees,
    // then the parent and everything before the parent.
    Integer Result = 0;
    for (const TTreeNode* Node = this; Node->FParent; Node = Node->FParent) {
        const Integer I = Node->Index();
        for (Integer S = 0; S < I; ++S)
            Result += 1 + CountSubtree(Node->FParent->Item(S));
        if (!Node->FParent->IsRoot())
            ++Result;
    }
    return Result;
}

bool TTreeNode::HasAsParent(const TTreeNode* Node) const {
    for (const TTreeNode* Up = Parent(); Up; Up = Up->Parent())
        if (Up == Node)
            return true;
    return false;
}

void TTreeNode::SetExpanded(bool Value) {
    if (Value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool Recurse) {
    TreeView()->ChangeExpansion(this, true, Recurse);
}

void TTreeNode::Collapse(bool Recurse) {
    TreeView()->ChangeExpansion(this, false, Recurse);
}

bool TTreeNode::Selected() const {
    return TreeView()->Selected() == this;
}

void TTreeNode::SetSelected(bool Value) {
    if (Value)
        TreeView()->SetSelected(this);
    else if (Selected())
        TreeView()->SetSelected(nullptr);
}

void TTreeNode::Delete() {
    FOwner->Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!FChildren.empty())
        FOwner->Delete(FChildren.back().get());
}

// --- TTreeNodes ----------------------------------------------------------------------

ORLO_PUBLISHED(TTreeNodes, "ComCtrls") {}

TTreeNodes::TTreeNodes(TCustomTreeView* Owner)
    : FTreeView(Owner), FRoot(new TTreeNode(this, nullptr, String(), nullptr)) {}

TTreeNodes::~TTreeNodes() = default;

TPersistent* TTreeNodes::GetOwner() const {
    return FTreeView;
}

Integer TTreeNodes::Count() const {
    return CountSubtree(FRoot.get());
}

TTreeNode* TTreeNodes::Item(Integer Index) const {
    std::vector<TTreeNode*> All;
    if (Index >= 0)
        CollectSubtree(FRoot.get(), All);
    if (Index < 0 || Index >= static_cast<Integer>(All.size()))
        IndexError(Index);
    return All[static_cast<size_t>(Index)];
}

TTreeNode* TTreeNodes::GetFirstNode() const {
    return FRoot->GetFirstChild();
}

TTreeNode* TTreeNodes::LevelOf(TTreeNode* Sibling) const {
    return Sibling ? Sibling->FParent : FRoot.get();
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* Parent, size_t Position, const String& S, void* Data) {
    auto& Siblings = Parent->FChildren;
    auto* Node = new TTreeNode(this, Parent, S, Data);
    Siblings.insert(Siblings.begin() + static_cast<std::ptrdiff_t>(Position),
                    std::unique_ptr<TTreeNode>(Node));
    FTreeView->NodeAdded(Node);
    return Node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& S) {
    return AddObject(Sibling, S, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const String& S, void* Data) {
    TTreeNode* Parent = LevelOf(Sibling);
    return InsertNode(Parent, Parent->FChildren.size(), S, Data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S) {
    return InsertNode(LevelOf(Sibling), 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& S) {
    if (!Sibling)
        return Add(nullptr, S);
    return InsertNode(Sibling->FParent, static_cast<size_t>(Sibling->Index()), S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& S) {
    return AddChildObject(Parent, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Data) {
    TTreeNode* Level = Parent ? Parent : FRoot.get();
    return InsertNode(Level, Level->FChildren.size(), S, Data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S) {
    return InsertNode(Parent ? Parent : FRoot.get(), 0, S, nullptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (!Node || Node->IsRoot() || Node->FOwner != this)
        return;
    FTreeView->NodeDeleting(Node);
    auto& Siblings = Node->FParent->FChildren;
    const auto It = std::find_if(Siblings.begin(), Siblings.end(),
                                 [Node](const auto& Child) { return Child.get() == Node; });
    if (It != Siblings.end())
        Siblings.erase(It);
}

void TTreeNodes::Clear() {
    FTreeView->NodesCleared();
    FRoot->FChildren.clear();
}

void TTreeNodes::BeginUpdate() {
    ++FUpdateCount;
}

void TTreeNodes::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        FTreeView->NodesRebuilt();
}

// --- TCustomTreeView -----------------------------------------------------------------

ORLO_PUBLISHED(TCustomTreeView, "ComCtrls") {}

ORLO_PUBLISHED(TTreeView, "ComCtrls") {
    publish::Align(P);
    publish::Anchors(P);
    P.Property("AutoExpand", &TTreeView::AutoExpand).Default(0);
    P.Property("BorderStyle", &TTreeView::BorderStyle, &TTreeView::SetBorderStyle)
        .Default(bsSingle);
    P.Property("ChangeDelay", &TTreeView::ChangeDelay).Default(0);
    publish::Appearance(P);
    P.Property("HideSelection", &TTreeView::HideSelection).Default(1);
    P.Property("HotTrack", &TTreeView::HotTrack).Default(0);
    P.Property("Indent", &TTreeView::Indent, &TTreeView::SetIndent);
    publish::Parents(P, false);
    P.Property("ReadOnly", &TTreeView::ReadOnly).Default(0);
    P.Property("RightClickSelect", &TTreeView::RightClickSelect).Default(0);
    P.Property("RowSelect", &TTreeView::RowSelect).Default(0);
    P.Property("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons).Default(1);
    publish::ShowHint(P);
    P.Property("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines).Default(1);
    P.Property("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot).Default(1);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    P.Property("ToolTips", &TTreeView::ToolTips).Default(1);
    publish::Visible(P);
    P.Property("OnChange", &TTreeView::OnChange);
    P.Property("OnChanging", &TTreeView::OnChanging);
    publish::ClickEvents(P);
    P.Property("OnCollapsed", &TTreeView::OnCollapsed);
    P.Property("OnCollapsing", &TTreeView::OnCollapsing);
    publish::FocusEvents(P);
    P.Property("OnExpanded", &TTreeView::OnExpanded);
    P.Property("OnExpanding", &TTreeView::OnExpanding);
    publish::KeyEvents(P);
}

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TTreeNodes>(this)) {
    SetBounds(0, 0, 121, 97);
    FColor = clWindow;
    FParentColor = false;
    SetTabStop(true);
}

// Handlers that would run while the nodes go must find the tree marked dead.
TCustomTreeView::~TCustomTreeView() {
    *FAlive = false;
    FSelected = nullptr;
}

QTreeWidget* TCustomTreeView::Tree() const {
    return qobject_cast<QTreeWidget*>(FWidget);
}

TTreeNode* TCustomTreeView::NodeOf(const QTreeWidgetItem* Item) const {
    if (!Item || FWidgetStale || Item->treeWidget() != Tree())
        return nullptr;
    return reinterpret_cast<TTreeNode*>(Item->data(0, Qt::UserRole).value<quintptr>());
}

bool TCustomTreeView::Contains(const TTreeNode* Node) const {
    std::vector<TTreeNode*> All;
    CollectSubtree(FItems->FRoot.get(), All);
    return std::find(All.begin(), All.end(), Node) != All.end();
}

void TCustomTreeView::SetSelected(TTreeNode* Node) {
    if (Node == FSelected)
        return;
    if (OnChanging) {
        bool Allow = true;
        const TNodeGuard Guard(this, Node);
        OnChanging(this, Node, Allow);
        if (!Guard.TreeAlive())
            return;
        if (!Allow || !Guard.NodeAlive()) {
            ApplySelection();
            return;
        }
    }
    FSelected = Node;
    ApplySelection();
    if (OnChange)
        OnChange(this, Node);
}

void TCustomTreeView::FullExpand() {
    ChangeTopLevel(true);
}

void TCustomTreeView::FullCollapse() {
    ChangeTopLevel(false);
}

void TCustomTreeView::ChangeTopLevel(bool Expand) {
    for (TTreeNode* Node = FItems->GetFirstNode(); Node;) {
        const TNodeGuard Guard(this, Node);
        ChangeExpansion(Node, Expand, true);
        if (!Guard.NodeAlive())
            return;
        Node = Node->GetNextSibling();
    }
}

void TCustomTreeView::ChangeExpansion(TTreeNode* Node, bool Expand, bool Recurse) {
    std::vector<TTreeNode*> Nodes{Node};
    if (Recurse)
        CollectSubtree(Node, Nodes);
    const std::shared_ptr<bool> Alive = FAlive;
    const Integer Deletions = FDeletions;
    for (TTreeNode* Each : Nodes) {
        if (!*Alive)
            return;
        if (FDeletions != Deletions && !Contains(Each))
            continue;
        ChangeOne(Each, Expand);
    }
}

void TCustomTreeView::ChangeOne(TTreeNode* Node, bool Expand) {
    if (Node->FExpanded == Expand || (Expand && !Node->HasChildren()))
        return;
    bool Allow = true;
    const TNodeGuard Guard(this, Node);
    if (Expand && OnExpanding)
        OnExpanding(this, Node, Allow);
    else if (!Expand && OnCollapsing)
        OnCollapsing(this, Node, Allow);
    if (!Guard.NodeAlive() || !Allow)
        return;
    Node->FExpanded = Expand;
    ApplyExpanded(Node);
    const TTVExpandedEvent& Done = Expand ? OnExpanded : OnCollapsed;
    if (Done)
        Done(this, Node);
}

void TCustomTreeView::UserCurrentChanged(QTreeWidgetItem* Current) {
    const TSignalScope Scope(FSignalDepth, FAlive);
    SetSelected(NodeOf(Current));
}

void TCustomTreeView::UserExpansion(QTreeWidgetItem* Item, bool Expand) {
    TTreeNode* Node = NodeOf(Item);
    if (!Node || Node->FExpanded == Expand)
        return;
    const TSignalScope Scope(FSignalDepth, FAlive);
    const TNodeGuard Guard(this, Node);
    ChangeExpansion(Node, Expand, false);
    // A refused change puts the widget back.
    if (Guard.NodeAlive() && Node->FExpanded != Expand)
        ApplyExpanded(Node);
}

void TCustomTreeView::NodeAdded(TTreeNode* Node) {
    QTreeWidget* T = Tree();
    if (!T || FItems->FUpdateCount > 0 || WidgetStale(true))
        return;
    QTreeWidgetItem* ParentItem = Node->FParent->IsRoot() ? nullptr : Node->FParent->FItem;
    if (!Node->FParent->IsRoot() && !ParentItem)
        return;
    QSignalBlocker Quiet(T);
    auto* Item = new QTreeWidgetItem(QStringList{ToQString(Node->FText)});
    Item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(Node)));
    Node->FItem = Item;
    const int At = Node->Index();
    if (ParentItem)
        ParentItem->insertChild(At, Item);
    else
        T->insertTopLevelItem(At, Item);
    if (Node->Parent() && Node->FParent->FExpanded)
        ParentItem->setExpanded(true);
}

void TCustomTreeView::NodeDeleting(TTreeNode* Node) {
    ++FDeletions;
    if (FSelected && (FSelected == Node || FSelected->HasAsParent(Node)))
        FSelected = nullptr;
    if (QTreeWidgetItem* Item = Node->FItem; Item && !WidgetStale(false)) {
        QSignalBlocker Quiet(Tree());
        ForgetItems(Node);
        delete Item;
    }
}

void TCustomTreeView::NodesCleared() {
    ++FDeletions;
    FSelected = nullptr;
    if (WidgetStale(false))
        return;
    ForgetItems(FItems->FRoot.get());
    if (QTreeWidget* T = Tree()) {
        QSignalBlocker Quiet(T);
        T->clear();
    }
}

bool TCustomTreeView::WidgetStale(bool RebuildNow) {
    QTreeWidget* T = Tree();
    if (!T)
        return false;
    if (FSignalDepth > 0) {
        // The widget is rebuilt once the signal is over.
        if (!FWidgetStale) {
            FWidgetStale = true;
            ForgetItems(FItems->FRoot.get());
            Later(T, FAlive, [this] {
                if (FWidgetStale)
                    NodesRebuilt();
            });
        }
        return true;
    }
    if (FWidgetStale && RebuildNow) {
        NodesRebuilt();
        return true;
    }
    return FWidgetStale;
}

void TCustomTreeView::NodeTextChanged(TTreeNode* Node) {
    if (Node->FItem)
        Node->FItem->setText(0, ToQString(Node->FText));
}

void TCustomTreeView::NodesRebuilt() {
    QTreeWidget* T = Tree();
    if (!T || (FSignalDepth > 0 && WidgetStale(false)))
        return;
    FWidgetStale = false;
    QSignalBlocker Quiet(T);
    ForgetItems(FItems->FRoot.get());
    T->clear();
    CreateItems();
}

void TCustomTreeView::ForgetItems(TTreeNode* Node) {
    Node->FItem = nullptr;
    for (auto& Child : Node->FChildren)
        ForgetItems(Child.get());
}

void TCustomTreeView::CreateItems() {
    QTreeWidget* T = Tree();
    // Items are made detached and added at once, then opened where the nodes are.
    std::vector<TTreeNode*> Expanded;
    const auto Make = [&](auto& Self, TTreeNode* Node) -> QTreeWidgetItem* {
        auto* Item = new QTreeWidgetItem(QStringList{ToQString(Node->FText)});
        Item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(Node)));
        Node->FItem = Item;
        if (Node->FExpanded)
            Expanded.push_back(Node);
        for (auto& Child : Node->FChildren)
            Item->addChild(Self(Self, Child.get()));
        return Item;
    };
    QList<QTreeWidgetItem*> Top;
    for (auto& Node : FItems->FRoot->FChildren)
        Top.append(Make(Make, Node.get()));
    T->addTopLevelItems(Top);
    for (TTreeNode* Node : Expanded)
        Node->FItem->setExpanded(true);
    ApplySelection();
}

void TCustomTreeView::ApplySelection() {
    QTreeWidget* T = Tree();
    if (!T || FWidgetStale)
        return;
    QSignalBlocker Quiet(T);
    T->setCurrentItem(FSelected ? FSelected->FItem : nullptr);
}

void TCustomTreeView::ApplyExpanded(TTreeNode* Node) {
    if (!Node->FItem)
        return;
    QSignalBlocker Quiet(Tree());
    Node->FItem->setExpanded(Node->FExpanded);
}

void TCustomTreeView::SetBorderStyle(TFormBorderStyle Value) {
    FBorderStyle = Value == bsNone ? bsNone : bsSingle;
    ApplyLook();
}

void TCustomTreeView::SetShowButtons(bool Value) {
    FShowButtons = Value;
    ApplyLook();
}

void TCustomTreeView::SetShowRoot(bool Value) {
    FShowRoot = Value;
    ApplyLook();
}

void TCustomTreeView::SetIndent(Integer Value) {
    FIndent = std::max(0, Value);
    ApplyLook();
}

void TCustomTreeView::ApplyLook() {
    QTreeWidget* T = Tree();
    if (!T)
        return;
    ApplyFrame(T, FBorderStyle);
    T->setRootIsDecorated(FShowRoot && FShowButtons);
    T->setIndentation(FIndent);
}

QWidget* TCustomTreeView::CreateWidget(QWidget* ParentWidget) {
    auto* T = new TTreeViewWidget(this, FAlive, ParentWidget);
    T->setHeaderHidden(true);
    T->setColumnCount(1);
    T->setSelectionMode(QAbstractItemView::SingleSelection);
    T->setUniformRowHeights(true);
    return T;
}

void TCustomTreeView::InitWidget() {
    TWinControl::InitWidget();
    QTreeWidget* T = Tree();
    ApplyLook();
    CreateItems();
    Listen(T, &QTreeWidget::currentItemChanged,
           [this](QTreeWidgetItem* Current, QTreeWidgetItem*) { UserCurrentChanged(Current); });
    Listen(T, &QTreeWidget::itemExpanded,
           [this](QTreeWidgetItem* Item) { UserExpansion(Item, true); });
    Listen(T, &QTreeWidget::itemCollapsed,
           [this](QTreeWidgetItem* Item) { UserExpansion(Item, false); });
    // The viewport takes the mouse, so the clicks come as the tree's signals.
    Listen(T, &QTreeWidget::itemClicked, [this](QTreeWidgetItem*, int) { Click(); });
    Listen(T, &QTreeWidget::itemDoubleClicked, [this](QTreeWidgetItem*, int) {
        if (OnDblClick)
            OnDblClick(this);
    });
}

void TCustomTreeView::ReleaseWidget() {
    FWidgetStale = false;
    ForgetItems(FItems->FRoot.get());
    TWinControl::ReleaseWidget();
}

Integer TCustomTreeView::BackgroundRole() const {
    return QPalette::Base;
}

// --- TListColumn ---------------------------------------------------------------------

ORLO_PUBLISHED(TListColumn, "ComCtrls") {
    P.Property("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment)
        .Default(taLeftJustify);
    P.Property("AutoSize", &TListColumn::AutoSize).Default(0);
    P.Property("Caption", &TListColumn::Caption, &TListColumn::SetCaption).Type(TCaptionTypeInfo());
    P.Property("MaxWidth", &TListColumn::MaxWidth, &TListColumn::SetMaxWidth).Default(0);
    P.Property("MinWidth", &TListColumn::MinWidth, &TListColumn::SetMinWidth).Default(0);
    P.Property("Tag", &TListColumn::Tag).Default(0);
    P.Property("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50);
}

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

void TListColumn::SetCaption(const String& Value) {
    FCaption = Value;
    Changed(false);
}

Integer TListColumn::Limited(Integer Value) const {
    Value = std::max(0, Value);
    if (FMinWidth > 0)
        Value = std::max(Value, FMinWidth);
    if (FMaxWidth > 0)
        Value = std::min(Value, FMaxWidth);
    return Value;
}

void TListColumn::SetWidth(Integer Value) {
    FWidth = Limited(Value);
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Changed(false);
}

void TListColumn::SetMinWidth(Integer Value) {
    FMinWidth = std::max(0, Value);
    SetWidth(FWidth);
}

void TListColumn::SetMaxWidth(Integer Value) {
    FMaxWidth = std::max(0, Value);
    SetWidth(FWidth);
}

void TListColumn::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TListColumn*>(Source);
    if (!Other)
        return TCollectionItem::Assign(Source);
    FCaption = Other->FCaption;
    FAlignment = Other->FAlignment;
    FMinWidth = Other->FMinWidth;
    FMaxWidth = Other->FMaxWidth;
    AutoSize = Other->AutoSize;
    Tag = Other->Tag;
    SetWidth(Other->FWidth);
}

String TListColumn::DisplayName() const {
    return FCaption.empty() ? TCollectionItem::DisplayName() : FCaption;
}

// --- TListColumns --------------------------------------------------------------------

ORLO_PUBLISHED(TListColumns, "ComCtrls") {}

TListColumns::TListColumns(TCustomListView* Owner)
    : TOwnedCollection(Owner, TListColumn::StaticClass()), FListView(Owner) {}

void TListColumns::Update(TCollectionItem*) {
    FListView->ColumnsChanged();
}

// --- TListItem -----------------------------------------------------------------------

TListItem::TListItem(TListItems* Owner)
    : FOwner(Owner), FSubItems(std::make_unique<TStringList>()) {
    FSubItems->OnChange = TNotifyEvent::Make<&TListItem::SubItemsChanged>(this);
}

TListItem::~TListItem() {
    FSubItems->OnChange = nullptr;
}

TCustomListView* TListItem::ListView() const {
    return FOwner->Owner();
}

void TListItem::SetCaption(const String& Value) {
    FCaption = Value;
    ListView()->ItemChanged(this);
}

void TListItem::SubItemsChanged(TObject*) {
    ListView()->ItemChanged(this);
}

Integer TListItem::Index() const {
    return FOwner->IndexOf(this);
}

bool TListItem::Selected() const {
    return ListView()->Selected() == this;
}

void TListItem::SetSelected(bool Value) {
    if (Value)
        ListView()->SetSelected(this);
    else if (Selected())
        ListView()->SetSelected(nullptr);
}

void TListItem::Delete() {
    FOwner->Delete(Index());
}

// --- TListItems ----------------------------------------------------------------------

ORLO_PUBLISHED(TListItems, "ComCtrls") {}

TListItems::TListItems(TCustomListView* Owner) : FListView(Owner) {}

TListItems::~TListItems() = default;

TPersistent* TListItems::GetOwner() const {
    return FListView;
}

TListItem* TListItems::Item(Integer Index) const {
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    return FItems[static_cast<size_t>(Index)].get();
}

Integer TListItems::IndexOf(const TListItem* Item) const {
    const auto It = std::find_if(FItems.begin(), FItems.end(),
                                 [Item](const auto& Each) { return Each.get() == Item; });
    return It == FItems.end() ? -1 : static_cast<Integer>(It - FItems.begin());
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(Integer Index) {
    if (Index < 0 || Index > Count())
        IndexError(Index);
    auto* Item = new TListItem(this);
    FItems.insert(FItems.begin() + Index, std::unique_ptr<TListItem>(Item));
    FListView->ItemsChanged();
    return Item;
}

void TListItems::Delete(Integer Index) {
    TListItem* Item = this->Item(Index);
    FListView->ItemDeleting(Item);
    FItems.erase(FItems.begin() + Index);
    FListView->ItemsChanged();
}

void TListItems::Clear() {
    for (auto& Item : FItems)
        FListView->ItemDeleting(Item.get());
    FItems.clear();
    FListView->ItemsChanged();
}

void TListItems::BeginUpdate() {
    ++FUpdateCount;
}

void TListItems::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) {
        FListView->SortIfNeeded();
        FListView->ApplyItems();
    }
}

// --- TCustomListView -----------------------------------------------------------------

ORLO_PUBLISHED(TCustomListView, "ComCtrls") {}

ORLO_PUBLISHED(TListView, "ComCtrls") {
    publish::Align(P);
    publish::Anchors(P);
    P.Property("BorderStyle", &TListView::BorderStyle, &TListView::SetBorderStyle)
        .Default(bsSingle);
    publish::Color(P);
    P.Property("Columns", &TListView::Columns, &TListView::SetColumns);
    P.Property("ColumnClick", &TListView::ColumnClick).Default(1);
    publish::Ctl3D(P);
    publish::DragCursor(P);
    publish::DragMode(P);
    publish::Enabled(P);
    publish::Font(P);
    P.Property("GridLines", &TListView::GridLines, &TListView::SetGridLines).Default(0);
    P.Property("HideSelection", &TListView::HideSelection).Default(1);
    P.Property("HotTrack", &TListView::HotTrack).Default(0);
    P.Property("MultiSelect", &TListView::MultiSelect).Default(0);
    P.Property("ReadOnly", &TListView::ReadOnly).Default(0);
    P.Property("RowSelect", &TListView::RowSelect).Default(0);
    publish::Parents(P, false);
    P.Property("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders)
        .Default(1);
    publish::ShowHint(P);
    P.Property("SortType", &TListView::SortType, &TListView::SetSortType).Default(stNone);
    publish::TabOrder(P);
    publish::TabStop(P, true);
    P.Property("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle).Default(vsIcon);
    publish::Visible(P);
    P.Property("OnChange", &TListView::OnChange);
    publish::ClickEvents(P);
    P.Property("OnColumnClick", &TListView::OnColumnClick);
    publish::FocusEvents(P);
    publish::KeyEvents(P);
    P.Property("OnSelectItem", &TListView::OnSelectItem);
}

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)) {
    SetBounds(0, 0, 250, 150);
    FColor = clWindow;
    FParentColor = false;
    SetTabStop(true);
}

TCustomListView::~TCustomListView() {
    *FAlive = false;
    FSelected = nullptr;
    // Items go first: their notifications must find the columns whole.
    FItems.reset();
    FColumns.reset();
}

QTreeWidget* TCustomListView::Tree() const {
    return qobject_cast<QTreeWidget*>(FWidget);
}

void TCustomListView::SetSelected(TListItem* Item) {
    if (Item == FSelected)
        return;
    TListItem* Left = FSelected;
    FSelected = Item;
    ApplySelection();
    NotifySelection(Left, Item);
}

void TCustomListView::NotifySelection(TListItem* Left, TListItem* Arrived) {
    const std::shared_ptr<bool> Alive = FAlive;
    if (Left) {
        DoChange(Left, ctState);
        if (!*Alive)
            return;
        if (OnSelectItem && FItems->IndexOf(Left) >= 0)
            OnSelectItem(this, Left, false);
        if (!*Alive)
            return;
    }
    if (!Arrived || FSelected != Arrived)
        return;
    DoChange(Arrived, ctState);
    if (*Alive && OnSelectItem && FSelected == Arrived)
        OnSelectItem(this, Arrived, true);
}

void TCustomListView::DoChange(TListItem* Item, TItemChange Change) {
    if (OnChange && !ComponentState().Contains(csLoading) &&
        !ComponentState().Contains(csDestroying))
        OnChange(this, Item, Change);
}

Integer TCustomListView::ItemIndex() const {
    return FSelected ? FSelected->Index() : -1;
}

void TCustomListView::SetItemIndex(Integer Value) {
    SetSelected(Value >= 0 && Value < FItems->Count() ? FItems->Item(Value) : nullptr);
}

void TCustomListView::SetSortType(TSortType Value) {
    FSortType = Value;
    SortIfNeeded();
}

bool TCustomListView::Sorts() const {
    return FSortType == stText || FSortType == stBoth;
}

void TCustomListView::SortIfNeeded() {
    if (Sorts() && FItems->FUpdateCount == 0)
        AlphaSort();
}

void TCustomListView::AlphaSort() {
    auto& Items = FItems->FItems;
    std::stable_sort(Items.begin(), Items.end(), [](const auto& A, const auto& B) {
        return AnsiCompareText(A->Caption(), B->Caption()) < 0;
    });
    ApplyItems();
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
    FShowColumnHeaders = Value;
    ApplyLook();
}

void TCustomListView::SetGridLines(bool Value) {
    FGridLines = Value;
    ApplyLook();
}

void TCustomListView::SetBorderStyle(TFormBorderStyle Value) {
    FBorderStyle = Value == bsNone ? bsNone : bsSingle;
    ApplyLook();
}

void TCustomListView::UserColumnClick(Integer Index) {
    TListColumn* Column = FColumns->Items(Index);
    if (ColumnClick && OnColumnClick)
        OnColumnClick(this, Column);
}

void TCustomListView::UserCurrentChanged(QTreeWidgetItem* Current) {
    if (FWidgetStale)
        return;
    const TSignalScope Scope(FSignalDepth, FAlive);
    QTreeWidget* T = Tree();
    const int Row = Current ? T->indexOfTopLevelItem(Current) : -1;
    SetSelected(Row >= 0 && Row < FItems->Count() ? FItems->Item(Row) : nullptr);
}

void TCustomListView::UserResizedColumn(int Index, int NewWidth) {
    if (Index < 0 || Index >= FColumns->Count())
        return;
    TListColumn* Column = FColumns->Items(Index);
    Column->FWidth = Column->Limited(NewWidth);
    if (Column->FWidth != NewWidth)
        ApplyColumns();
}

void TCustomListView::ItemChanged(TListItem* Item) {
    if (FItems->FUpdateCount == 0) {
        if (Sorts())
            AlphaSort();
        else
            ApplyItem(Item);
    }
    DoChange(Item, ctText);
}

void TCustomListView::ItemDeleting(TListItem* Item) {
    if (FSelected == Item)
        FSelected = nullptr;
}

void TCustomListView::ItemsChanged() {
    if (FItems->FUpdateCount == 0)
        ApplyItems();
}

void TCustomListView::ColumnsChanged() {
    ApplyColumns();
    ApplyItems();
}

void TCustomListView::ApplyColumns() {
    QTreeWidget* T = Tree();
    if (!T)
        return;
    QSignalBlocker Quiet(T->header());
    const Integer Count = FColumns->Count();
    T->setColumnCount(std::max<Integer>(1, Count));
    QStringList Captions;
    for (Integer I = 0; I < Count; ++I)
        Captions << ToQString(StripAccelChars(FColumns->Items(I)->Caption()));
    T->setHeaderLabels(Captions);
    for (Integer I = 0; I < Count; ++I) {
        TListColumn* Column = FColumns->Items(I);
        T->setColumnWidth(I, Column->Width());
        T->headerItem()->setTextAlignment(I, QtAlignment(Column->Alignment()));
    }
    ApplyLook();
}

void TCustomListView::ApplyItems() {
    QTreeWidget* T = Tree();
    if (!T || FItems->FUpdateCount > 0)
        return;
    if (FSignalDepth > 0) {
        // Rows must not go while the widget reports on them: rebuilt after the signal.
        if (!FWidgetStale) {
            FWidgetStale = true;
            Later(T, FAlive, [this] { ApplyItems(); });
        }
        return;
    }
    FWidgetStale = false;
    QSignalBlocker Quiet(T);
    T->clear();
    QList<QTreeWidgetItem*> Rows;
    Rows.reserve(FItems->Count());
    for (Integer I = 0; I < FItems->Count(); ++I)
        Rows.append(new QTreeWidgetItem());
    T->addTopLevelItems(Rows);
    for (Integer I = 0; I < FItems->Count(); ++I)
        ApplyItem(FItems->Item(I));
    ApplySelection();
}

void TCustomListView::ApplyItem(TListItem* Item) {
    QTreeWidget* T = Tree();
    if (!T)
        return;
    if (FWidgetStale || FSignalDepth > 0)
        return ApplyItems();
    QTreeWidgetItem* Row = T->topLevelItem(Item->Index());
    if (!Row)
        return;
    const Integer Columns = std::max<Integer>(1, FColumns->Count());
    for (Integer C = 0; C < Columns; ++C) {
        const TStrings* SubItems = Item->SubItems();
        const String Text = C == 0                      ? Item->Caption()
                            : C - 1 < SubItems->Count() ? SubItems->Get(C - 1)
                                                        : String();
        Row->setText(C, ToQString(Text));
        if (C < FColumns->Count())
            Row->setTextAlignment(C, QtAlignment(FColumns->Items(C)->Alignment()));
    }
}

void TCustomListView::ApplySelection() {
    QTreeWidget* T = Tree();
    if (!T || FWidgetStale)
        return;
    QSignalBlocker Quiet(T);
    T->setCurrentItem(FSelected ? T->topLevelItem(FSelected->Index()) : nullptr);
}

void TCustomListView::ApplyLook() {
    QTreeWidget* T = Tree();
    if (!T)
        return;
    ApplyFrame(T, FBorderStyle);
    T->setHeaderHidden(!FShowColumnHeaders || FColumns->Count() == 0);
}

QWidget* TCustomListView::CreateWidget(QWidget* ParentWidget) {
    auto* T = new QTreeWidget(ParentWidget);
    T->setRootIsDecorated(false);
    T->setItemsExpandable(false);
    T->setUniformRowHeights(true);
    T->setSelectionMode(QAbstractItemView::SingleSelection);
    T->setAllColumnsShowFocus(true);
    T->header()->setStretchLastSection(false);
    T->header()->setSectionsClickable(true);
    return T;
}

void TCustomListView::InitWidget() {
    TWinControl::InitWidget();
    QTreeWidget* T = Tree();
    ApplyColumns();
    ApplyItems();
    Listen(T, &QTreeWidget::currentItemChanged,
           [this](QTreeWidgetItem* Current, QTreeWidgetItem*) { UserCurrentChanged(Current); });
    Listen(T->header(), &QHeaderView::sectionResized,
           [this](int Index, int, int NewWidth) { UserResizedColumn(Index, NewWidth); });
    Listen(T->header(), &QHeaderView::sectionClicked, [this](int Index) {
        if (Index < FColumns->Count())
            UserColumnClick(Index);
    });
    // The viewport takes the mouse, so the clicks come as the tree's signals.
    Listen(T, &QTreeWidget::itemClicked, [this](QTreeWidgetItem*, int) { Click(); });
    Listen(T, &QTreeWidget::itemDoubleClicked, [this](QTreeWidgetItem*, int) {
        if (OnDblClick)
            OnDblClick(this);
    });
}

Integer TCustomListView::BackgroundRole() const {
    return QPalette::Base;
}

// --- Tool bar and status bar -----------------------------------------------------

namespace {

// Form files name these classes without a published field for each.
const bool BarsRegistered = (RegisterClasses({TToolBar::StaticClass(), TToolButton::StaticClass(),
                                              TStatusBar::StaticClass()}),
                             true);

constexpr Integer ButtonTextMargin = 12;
constexpr Integer EdgeWidth = 2;

} // namespace

// --- TToolButton

ORLO_PUBLISHED(TToolButton, "ComCtrls") {
    P.Property("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(0);
    publish::Caption(P);
    P.Property("Down", &TToolButton::Down, &TToolButton::SetDown).Default(0);
    publish::DragCursor(P);
    publish::DragMode(P);
    P.Property("DropdownMenu", &TToolButton::DropdownMenu);
    publish::Enabled(P);
    P.Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(0);
    P.Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex);
    P.Property("Indeterminate", &TToolButton::Indeterminate).Default(0);
    P.Property("Marked", &TToolButton::Marked).Default(0);
    P.Property("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
    publish::ParentShowHint(P);
    publish::PopupMenu(P);
    P.Property("Wrap", &TToolButton::Wrap, &TToolButton::SetWrap).Default(0);
    publish::ShowHint(P);
    P.Property("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
    publish::Visible(P);
    publish::ClickEvents(P);
}

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(0, 0, 23, 22);
    FControlStyle.Exclude(csSetCaption);
}

TToolButton::~TToolButton() {
    if (ToolBar())
        SetParent(nullptr); // the others close the gap
    SetMenuItem(nullptr);
}

TToolBar* TToolButton::ToolBar() const {
    return dynamic_cast<TToolBar*>(Parent());
}

void TToolButton::Rearrange() {
    if (TToolBar* Bar = ToolBar())
        Bar->ArrangeButtons();
}

void TToolButton::SetParent(TWinControl* AParent) {
    TToolBar* Old = ToolBar();
    TGraphicControl::SetParent(AParent);
    if (Old && Old != ToolBar())
        Old->ArrangeButtons();
    Rearrange();
}

void TToolButton::SetVisible(bool Value) {
    TGraphicControl::SetVisible(Value);
    Rearrange();
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
    if (FStyle == Value)
        return;
    const bool WasSeparator = IsSeparator();
    FStyle = Value;
    if (FStyle != tbsCheck)
        FDown = false;
    if (WasSeparator != IsSeparator() && Widget()) {
        ReleaseWidget(); // a button and a gap are different widgets
        AllocateWidget();
    }
    ApplyDown();
    Rearrange();
}

void TToolButton::SetWrap(bool Value) {
    FWrap = Value;
    Rearrange();
}

void TToolButton::SetDown(bool Value) {
    if (FDown == Value)
        return;
    FDown = Value;
    if (FDown)
        ReleaseGroup();
    ApplyDown();
}

// The grouped check buttons next to this one (no separator between) go up.
void TToolButton::ReleaseGroup() {
    TToolBar* Bar = ToolBar();
    if (!Bar || !FGrouped || FStyle != tbsCheck)
        return;
    const Integer Count = Bar->ButtonCount();
    Integer Self = 0;
    while (Self < Count && Bar->Buttons(Self) != this)
        ++Self;
    const auto InGroup = [](const TToolButton* B) { return B->FGrouped && B->FStyle == tbsCheck; };
    for (Integer I = Self - 1; I >= 0 && InGroup(Bar->Buttons(I)); --I)
        Bar->Buttons(I)->SetDown(false);
    for (Integer I = Self + 1; I < Count && InGroup(Bar->Buttons(I)); ++I)
        Bar->Buttons(I)->SetDown(false);
}

void TToolButton::SetMenuItem(TMenuItem* Value) {
    if (FMenuItem)
        RemoveFreeNotification(FMenuItem);
    FMenuItem = Value;
    if (!Value)
        return;
    FreeNotification(Value);
    SetCaption(Value->Caption());
    SetHint(Value->Hint());
    SetDown(Value->Checked());
    SetEnabled(Value->Enabled());
    SetVisible(Value->Visible());
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FMenuItem)
        FMenuItem = nullptr;
    if (AComponent == DropdownMenu)
        DropdownMenu = nullptr;
}

void TToolButton::Click() {
    if (FStyle == tbsCheck && !(FDown && FGrouped && !FAllowAllUp))
        SetDown(!FDown);
    ApplyDown(); // Qt may have toggled it on its own
    if (OnClick || !FMenuItem)
        TGraphicControl::Click(); // may free this button: nothing follows
    else
        FMenuItem->Click();
}

QWidget* TToolButton::CreateWidget(QWidget* ParentWidget) {
    if (IsSeparator()) {
        auto* Gap = new QFrame(ParentWidget);
        if (FStyle == tbsDivider)
            Gap->setFrameStyle(QFrame::VLine | QFrame::Sunken);
        return Gap;
    }
    return new QToolButton(ParentWidget);
}

void TToolButton::InitWidget() {
    TGraphicControl::InitWidget();
    if (auto* Button = qobject_cast<QToolButton*>(FWidget)) {
        Button->setAutoRaise(true);
        Button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        Listen(Button, &QToolButton::clicked, [this](bool) { Click(); });
    }
    ApplyDown();
}

void TToolButton::ApplyDown() {
    if (auto* Button = qobject_cast<QToolButton*>(FWidget)) {
        Button->setCheckable(FStyle == tbsCheck);
        Button->setChecked(FDown);
    }
}

void TToolButton::ApplyText() {
    if (auto* Button = qobject_cast<QToolButton*>(FWidget))
        Button->setText(ToQString(Caption()));
}

void TToolButton::TextChanged() {
    TGraphicControl::TextChanged();
    Rearrange();
}

void TToolButton::FontChanged() {
    TGraphicControl::FontChanged();
    FCaptionWidths.clear();
    Rearrange();
}

Integer TToolButton::CaptionWidth() const {
    constexpr size_t Kept = 4;
    const auto Known = std::find_if(FCaptionWidths.begin(), FCaptionWidths.end(),
                                    [this](const auto& Entry) { return Entry.first == Caption(); });
    if (Known != FCaptionWidths.end())
        return Known->second;
    if (FCaptionWidths.size() == Kept)
        FCaptionWidths.erase(FCaptionWidths.begin());
    FCaptionWidths.emplace_back(Caption(), Canvas()->TextWidth(StripAccelChars(Caption())));
    return FCaptionWidths.back().second;
}

// --- TToolBar

ORLO_PUBLISHED(TToolBar, "ComCtrls") {
    P.Property("Align", &TToolBar::Align, &TToolBar::SetAlign).Default(alTop);
    P.Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
    P.Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
    publish::Caption(P);
    publish::Color(P);
    publish::Ctl3D(P);
    publish::DragCursor(P);
    publish::DragMode(P);
    P.Property("EdgeBorders", &TToolBar::EdgeBorders, &TToolBar::SetEdgeBorders)
        .Default(TEdgeBorders{ebTop}.Bits());
    publish::Enabled(P);
    P.Property("Flat", &TToolBar::Flat).Default(0);
    publish::Font(P);
    P.Property("Indent", &TToolBar::Indent, &TToolBar::SetIndent).Default(0);
    P.Property("List", &TToolBar::List).Default(0);
    publish::ParentColor(P, true);
    publish::ParentFont(P);
    publish::ParentShowHint(P);
    publish::PopupMenu(P);
    P.Property("ShowCaptions", &TToolBar::ShowCaptions).Default(0);
    publish::ShowHint(P);
    publish::TabOrder(P);
    publish::TabStop(P, false);
    P.Property("Transparent", &TToolBar::Transparent).Default(0);
    publish::Visible(P);
    P.Property("Wrapable", &TToolBar::Wrapable).Default(1);
    publish::ClickEvents(P);
}

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Exclude(csSetCaption);
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

TToolBar::~TToolBar() = default;

Integer TToolBar::ButtonCount() const {
    Integer Count = 0;
    for (Integer I = 0; I < ControlCount(); ++I)
        if (dynamic_cast<TToolButton*>(Controls(I)))
            ++Count;
    return Count;
}

TToolButton* TToolBar::Buttons(Integer Index) const {
    Integer Seen = 0;
    for (Integer I = 0; I < ControlCount(); ++I)
        if (auto* Button = dynamic_cast<TToolButton*>(Controls(I)); Button && Seen++ == Index)
            return Button;
    throw EListError(Format("List index out of bounds (%d)", Index));
}

void TToolBar::SetButtonHeight(Integer Value) {
    FButtonHeight = std::max(1, Value);
    ArrangeButtons();
}

void TToolBar::SetButtonWidth(Integer Value) {
    FButtonWidth = std::max(1, Value);
    ArrangeButtons();
}

void TToolBar::SetIndent(Integer Value) {
    FIndent = std::max(0, Value);
    ArrangeButtons();
}

void TToolBar::SetEdgeBorders(TEdgeBorders Value) {
    FEdgeBorders = Value;
    ArrangeButtons();
}

Integer TToolBar::ButtonExtent(const TToolButton* Button) const {
    if (Button->IsSeparator())
        return Button->Width();
    if (Button->Caption().empty())
        return FButtonWidth;
    return std::max(FButtonWidth, Button->CaptionWidth() + ButtonTextMargin);
}

void TToolBar::ArrangeButtons() {
    if (FArranging || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying))
        return;
    FArranging = true;
    const Integer Top = FEdgeBorders.Contains(ebTop) ? EdgeWidth : 0;
    Integer X = FIndent + (FEdgeBorders.Contains(ebLeft) ? EdgeWidth : 0);
    Integer Y = Top;
    for (Integer I = 0; I < ControlCount(); ++I) {
        auto* Button = dynamic_cast<TToolButton*>(Controls(I));
        if (!Button || !Button->Visible())
            continue;
        const Integer Extent = ButtonExtent(Button);
        if (Wrapable && X > FIndent && X + Extent > ClientWidth() && !Button->IsSeparator()) {
            X = FIndent;
            Y += FButtonHeight;
        }
        Button->SetBounds(X, Y, Extent, FButtonHeight);
        X += Extent;
        if (Button->Wrap()) {
            X = FIndent;
            Y += FButtonHeight;
        }
    }
    FArranging = false;
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    ArrangeButtons();
}

void TToolBar::Resize() {
    TWinControl::Resize();
    ArrangeButtons();
}

QWidget* TToolBar::CreateWidget(QWidget* ParentWidget) {
    auto* Bar = new QFrame(ParentWidget);
    return Bar;
}

void TToolBar::InitWidget() {
    TWinControl::InitWidget();
    FWidget->setAutoFillBackground(true);
    if (auto* Frame = qobject_cast<QFrame*>(FWidget); Frame && !FEdgeBorders.Empty())
        Frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
}

// --- TStatusPanel

ORLO_PUBLISHED(TStatusPanel, "ComCtrls") {
    P.Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
        .Default(taLeftJustify);
    P.Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
    P.Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
    P.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
    P.Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
}

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(nullptr) {
    SetCollection(Collection); // only now: joining shows the panel
}

void TStatusPanel::SetText(const String& Value) {
    if (FText == Value)
        return;
    FText = Value;
    Changed(false);
}

void TStatusPanel::SetWidth(Integer Value) {
    FWidth = std::max(0, Value);
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
    FBevel = Value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
    FStyle = Value;
    Changed(false);
}

void TStatusPanel::Assign(TPersistent* Source) {
    auto* Panel = dynamic_cast<TStatusPanel*>(Source);
    if (!Panel) {
        TCollectionItem::Assign(Source);
        return;
    }
    FText = Panel->FText;
    FWidth = Panel->FWidth;
    FAlignment = Panel->FAlignment;
    FBevel = Panel->FBevel;
    FStyle = Panel->FStyle;
    Changed(true);
}

String TStatusPanel::DisplayName() const {
    return FText.empty() ? TCollectionItem::DisplayName() : FText;
}

// --- TStatusPanels

ORLO_PUBLISHED(TStatusPanels, "ComCtrls") {}

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TOwnedCollection(StatusBar, TStatusPanel::StaticClass()), FStatusBar(StatusBar) {}

TStatusPanel* TStatusPanels::Items(Integer Index) const {
    return static_cast<TStatusPanel*>(TCollection::Items(Index));
}

void TStatusPanels::Update(TCollectionItem*) {
    FStatusBar->ApplyPanels();
}

// --- TStatusBar

ORLO_PUBLISHED(TStatusBar, "ComCtrls") {
    P.Property("Align", &TStatusBar::Align, &TStatusBar::SetAlign).Default(alBottom);
    publish::Anchors(P);
    P.Property("AutoHint", &TStatusBar::AutoHint).Default(0);
    publish::Color(P);
    publish::DragCursor(P);
    publish::DragMode(P);
    publish::Enabled(P);
    publish::Font(P);
    P.Property("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels);
    publish::ParentColor(P, true);
    publish::ParentFont(P);
    publish::ParentShowHint(P);
    publish::PopupMenu(P);
    publish::ShowHint(P);
    P.Property("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(0);
    P.Property("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
    P.Property("SizeGrip", &TStatusBar::SizeGrip).Default(1);
    publish::Visible(P);
    publish::ClickEvents(P);
    P.Property("OnResize", &TStatusBar::OnResize);
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
    FControlStyle.Exclude(csSetCaption);
    SetBounds(0, 0, 150, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool Value) {
    FSimplePanel = Value;
    ApplyPanels();
}

void TStatusBar::SetSimpleText(const String& Value) {
    FSimpleText = Value;
    ApplyPanels();
}

TRect TStatusBar::PanelRect(Integer Index) const {
    if (FSimplePanel)
        return TRect{0, 0, ClientWidth(), ClientHeight()};
    Integer X = 0;
    for (Integer I = 0; I < Index; ++I)
        X += FPanels->Items(I)->Width();
    const bool Last = Index == FPanels->Count() - 1;
    const Integer Right = Last ? std::max(X, ClientWidth()) : X + FPanels->Items(Index)->Width();
    return TRect{X, 0, Right, ClientHeight()};
}

std::vector<String> TStatusBar::ShownTexts() const {
    std::vector<String> Texts;
    if (!FWidget)
        return Texts;
    for (const QLabel* Label : FWidget->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        Texts.push_back(FromQString(Label->text()));
    return Texts;
}

QWidget* TStatusBar::CreateWidget(QWidget* ParentWidget) {
    return new QWidget(ParentWidget);
}

void TStatusBar::InitWidget() {
    TWinControl::InitWidget();
    FWidget->setAutoFillBackground(true);
    ApplyPanels();
}

void TStatusBar::Resize() {
    TWinControl::Resize();
    ApplyPanels();
    if (OnResize && !ComponentState().Contains(csLoading))
        OnResize(this);
}

// One label per panel (or one for the simple text), made or dropped as the
// number changes and then given their texts and places.
void TStatusBar::ApplyPanels() {
    if (!FWidget)
        return;
    const Integer Wanted = FSimplePanel ? 1 : FPanels->Count();
    QList<QLabel*> Labels = FWidget->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    while (Labels.size() > Wanted)
        DisposeWidget(Labels.takeLast());
    while (Labels.size() < Wanted) {
        auto* Label = new QLabel(FWidget);
        Label->show();
        Labels.append(Label);
    }
    for (Integer I = 0; I < Wanted; ++I) {
        QLabel* Label = Labels[I];
        const TRect R = PanelRect(I);
        Label->setGeometry(R.Left, R.Top, R.Width(), R.Height());
        if (FSimplePanel) {
            Label->setText(ToQString(FSimpleText));
            Label->setFrameStyle(QFrame::NoFrame);
            continue;
        }
        const TStatusPanel* Panel = FPanels->Items(I);
        Label->setText(ToQString(Panel->Text()));
        static constexpr Qt::Alignment Alignments[] = {Qt::AlignLeft, Qt::AlignRight,
                                                       Qt::AlignHCenter};
        Label->setAlignment(Alignments[Panel->Alignment()] | Qt::AlignVCenter);
        Label->setFrameStyle(
            Panel->Bevel() == pbNone
                ? QFrame::NoFrame
                : QFrame::Panel | (Panel->Bevel() == pbRaised ? QFrame::Raised : QFrame::Sunken));
    }
}

} // namespace orlo
