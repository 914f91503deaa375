// Tree views, list views in report style and splitters: their own state, the
// Qt widgets that mirror it, what the user does through those widgets, form
// files, and handlers that free what called them.

#include "platform/forms/ComCtrls.h"
#include "platform/classes/Streams.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/rtl/ExpectError.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QTreeWidget>
#include <gmock/gmock.h>

namespace orlo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

template <class T> T* AddControl(TForm* Form, const String& Name) {
    auto* Control = new T(Form);
    Control->SetName(Name);
    Control->SetParent(Form);
    return Control;
}

// The texts of a tree, one per node, indented by level; "+" marks open nodes.
String Outline(const TTreeNodes* Nodes) {
    String Result;
    for (Integer I = 0; I < Nodes->Count(); ++I) {
        const TTreeNode* Node = Nodes->Item(I);
        Result += String(static_cast<size_t>(Node->Level()) * 2, ' ') + Node->Text() +
                  (Node->Expanded() ? "+" : "") + "\n";
    }
    return Result;
}

// The same outline read from the Qt widget.
String WidgetOutline(QTreeWidget* Tree) {
    String Result;
    const auto Walk = [&](auto& Self, QTreeWidgetItem* Item, Integer Level) -> void {
        Result += String(static_cast<size_t>(Level) * 2, ' ') + FromQString(Item->text(0)) +
                  (Item->isExpanded() ? "+" : "") + "\n";
        for (int I = 0; I < Item->childCount(); ++I)
            Self(Self, Item->child(I), Level + 1);
    };
    for (int I = 0; I < Tree->topLevelItemCount(); ++I)
        Walk(Walk, Tree->topLevelItem(I), 0);
    return Result;
}

class TreeViewTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Form.SetName("TreeForm");
        Tree = AddControl<TTreeView>(&Form, "Tree1");
        Tree->SetBounds(0, 0, 200, 200);
    }
    // Form1 with Button1 (Caption, Font) and Memo1 (Lines), as a picker shows it.
    void Fill() {
        TTreeNodes* Items = Tree->Items();
        Root = Items->AddObject(nullptr, "Form1: TForm1", &Form);
        Button = Items->AddChild(Root, "Button1: TButton");
        Items->AddChild(Button, "Caption: String");
        Items->AddChild(Items->AddChild(Button, "Font: TFont"), "Color: TColor");
        Memo = Items->AddChild(Root, "Memo1: TMemo");
        Items->AddChild(Memo, "Lines[0]: String");
    }
    QTreeWidget* Widget() const { return qobject_cast<QTreeWidget*>(Tree->Widget()); }

    TForm Form{nullptr};
    TTreeView* Tree = nullptr;
    TTreeNode* Root = nullptr;
    TTreeNode* Button = nullptr;
    TTreeNode* Memo = nullptr;
};

TEST_F(TreeViewTest, NodesKeepTheirPlaceTextAndData) {
    Fill();
    TTreeNodes* Items = Tree->Items();
    Items->AddFirst(Button, "First");
    Items->Insert(Memo, "Before memo");
    Items->AddChildFirst(Memo, "Lines head");
    Items->Add(nullptr, "Second root");
    EXPECT_EQ(Outline(Items), "Form1: TForm1\n"
                              "  First\n"
                              "  Button1: TButton\n"
                              "    Caption: String\n"
                              "    Font: TFont\n"
                              "      Color: TColor\n"
                              "  Before memo\n"
                              "  Memo1: TMemo\n"
                              "    Lines head\n"
                              "    Lines[0]: String\n"
                              "Second root\n");
    EXPECT_EQ(Items->Count(), 11);
    EXPECT_EQ(Root->Data(), &Form);
    EXPECT_EQ(Root->Parent(), nullptr);
    EXPECT_EQ(Memo->Parent(), Root);
    EXPECT_EQ(Memo->Index(), 3);
    EXPECT_EQ(Memo->AbsoluteIndex(), 7);
    EXPECT_EQ(Items->Item(7), Memo);
    EXPECT_EQ(Memo->Item(1)->Level(), 2);
    EXPECT_EQ(Button->GetNextSibling()->Text(), "Before memo");
    EXPECT_EQ(Button->GetPrevSibling()->Text(), "First");
    EXPECT_TRUE(Memo->Item(0)->HasAsParent(Root));
    EXPECT_FALSE(Root->HasAsParent(Memo));
    ExpectError<EListError>([&] { Items->Item(11); }, "List index out of bounds (11)");
    ExpectError<EListError>([&] { Root->Item(-1); }, "List index out of bounds (-1)");
    Button->Delete();
    EXPECT_EQ(Items->Count(), 7);
    Items->Clear();
    EXPECT_EQ(Items->Count(), 0);
    EXPECT_EQ(Items->GetFirstNode(), nullptr);
}

TEST_F(TreeViewTest, ExpandOpensOneLevelAndTheWidgetFollows) {
    Fill();
    Root->Expand(false);
    Form.HandleNeeded();
    EXPECT_EQ(Outline(Tree->Items()), WidgetOutline(Widget()));
    EXPECT_TRUE(Root->Expanded());
    EXPECT_FALSE(Button->Expanded());
    // A node without children stays closed.
    Button->Item(0)->Expand(false);
    EXPECT_FALSE(Button->Item(0)->Expanded());
    Root->Expand(true);
    EXPECT_TRUE(Button->Item(1)->Expanded());
    EXPECT_EQ(Outline(Tree->Items()), WidgetOutline(Widget()));
    Tree->FullCollapse();
    EXPECT_FALSE(Root->Expanded());
    EXPECT_FALSE(Memo->Expanded());
    EXPECT_EQ(Outline(Tree->Items()), WidgetOutline(Widget()));
    // Nodes added while the widget exists appear in place; texts follow.
    Root->Expand(false);
    Tree->Items()->AddChild(Memo, "Lines[1]: String");
    Memo->SetText("Notes: TMemo");
    EXPECT_EQ(Outline(Tree->Items()), WidgetOutline(Widget()));
}

TEST_F(TreeViewTest, CollapsingCanBeRefusedInCodeAndByTheUser) {
    Fill();
    std::vector<String> Log;
    struct THandlers {
        std::vector<String>* Log;
        TTreeNode* Root;
        void Expanding(TObject*, TTreeNode* Node, bool&) {
            Log->push_back("expanding " + Node->Text());
        }
        void Collapsing(TObject*, TTreeNode* Node, bool& Allow) {
            Log->push_back("collapsing " + Node->Text());
            Allow = Node != Root;
        }
        void Collapsed(TObject*, TTreeNode* Node) { Log->push_back("collapsed " + Node->Text()); }
    } Handlers{&Log, Root};
    Tree->OnExpanding = TTVExpandingEvent::Make<&THandlers::Expanding>(&Handlers);
    Tree->OnCollapsing = TTVCollapsingEvent::Make<&THandlers::Collapsing>(&Handlers);
    Tree->OnCollapsed = TTVExpandedEvent::Make<&THandlers::Collapsed>(&Handlers);
    Form.HandleNeeded();
    Root->Expand(false);
    Button->Expand(false);
    Root->Collapse(false);
    EXPECT_TRUE(Root->Expanded());
    // The user closes the root in the widget: it opens again.
    Widget()->collapseItem(TCustomTreeView::ItemOf(Root));
    EXPECT_TRUE(Root->Expanded());
    EXPECT_TRUE(TCustomTreeView::ItemOf(Root)->isExpanded());
    // Other nodes close.
    Widget()->collapseItem(TCustomTreeView::ItemOf(Button));
    EXPECT_FALSE(Button->Expanded());
    // The user opens a node: the handler is asked.
    Widget()->expandItem(TCustomTreeView::ItemOf(Memo));
    EXPECT_TRUE(Memo->Expanded());
    EXPECT_THAT(Log, ElementsAre("expanding Form1: TForm1", "expanding Button1: TButton",
                                 "collapsing Form1: TForm1", "collapsing Form1: TForm1",
                                 "collapsing Button1: TButton", "collapsed Button1: TButton",
                                 "expanding Memo1: TMemo"));
}

TEST_F(TreeViewTest, SelectionFiresChangeAndCanBeRefused) {
    Fill();
    Root->Expand(true);
    std::vector<String> Log;
    struct THandlers {
        std::vector<String>* Log;
        TTreeNode* Refused = nullptr;
        void Changing(TObject*, TTreeNode* Node, bool& Allow) { Allow = Node != Refused; }
        void Change(TObject*, TTreeNode* Node) { Log->push_back(Node ? Node->Text() : "nil"); }
    } Handlers{&Log, Memo};
    Tree->OnChanging = TTVChangingEvent::Make<&THandlers::Changing>(&Handlers);
    Tree->OnChange = TTVChangedEvent::Make<&THandlers::Change>(&Handlers);
    Form.HandleNeeded();
    Button->SetSelected(true);
    EXPECT_EQ(Tree->Selected(), Button);
    EXPECT_EQ(Widget()->currentItem(), TCustomTreeView::ItemOf(Button));
    // The user picks a node in the widget.
    Widget()->setCurrentItem(TCustomTreeView::ItemOf(Button->Item(0)));
    EXPECT_EQ(Tree->Selected(), Button->Item(0));
    // A refused change leaves selection and widget where they were.
    Widget()->setCurrentItem(TCustomTreeView::ItemOf(Memo));
    EXPECT_EQ(Tree->Selected(), Button->Item(0));
    EXPECT_EQ(Widget()->currentItem(), TCustomTreeView::ItemOf(Button->Item(0)));
    // Deleting the selected node (or its parent) leaves nothing selected.
    Button->Delete();
    EXPECT_EQ(Tree->Selected(), nullptr);
    EXPECT_EQ(Widget()->currentItem(), nullptr);
    EXPECT_THAT(Log, ElementsAre("Button1: TButton", "Caption: String"));
}

TEST_F(TreeViewTest, UpdatesRebuildTheWidgetOnce) {
    Form.HandleNeeded();
    Tree->Items()->BeginUpdate();
    Fill();
    Root->Expand(false);
    EXPECT_EQ(Widget()->topLevelItemCount(), 0);
    Tree->Items()->EndUpdate();
    EXPECT_EQ(Outline(Tree->Items()), WidgetOutline(Widget()));
    Tree->Items()->Clear();
    EXPECT_EQ(Widget()->topLevelItemCount(), 0);
    // The widget can go and come back with the same nodes.
    Fill();
    Form.DestroyWnd();
    Form.HandleNeeded();
    EXPECT_EQ(Outline(Tree->Items()), WidgetOutline(Widget()));
}

// Handlers that free the node or the tree that called them.
TEST_F(TreeViewTest, HandlersMayFreeTheirNodeOrTheirTree) {
    Fill();
    Form.HandleNeeded();
    struct THandlers {
        TTreeView* Tree;
        void ClearOnChange(TObject*, TTreeNode*) { Tree->Items()->Clear(); }
        void DeleteOnExpanding(TObject*, TTreeNode* Node, bool&) { Node->Delete(); }
        void FreeOnCollapsing(TObject*, TTreeNode*, bool&) { delete Tree; }
    } Handlers{Tree};
    // The user's selection clears the tree from the change handler.
    Tree->OnChange = TTVChangedEvent::Make<&THandlers::ClearOnChange>(&Handlers);
    Widget()->setCurrentItem(TCustomTreeView::ItemOf(Root));
    EXPECT_EQ(Tree->Items()->Count(), 0);
    EXPECT_EQ(Tree->Selected(), nullptr);
    // The widget catches up once the user's signal is over.
    QApplication::processEvents();
    EXPECT_EQ(Widget()->topLevelItemCount(), 0);
    Tree->OnChange = nullptr;
    // Expanding a whole subtree whose nodes delete themselves.
    Fill();
    Tree->OnExpanding = TTVExpandingEvent::Make<&THandlers::DeleteOnExpanding>(&Handlers);
    Root->Expand(true);
    EXPECT_EQ(Tree->Items()->Count(), 0);
    Tree->OnExpanding = nullptr;
    // The user's collapse frees the tree view itself.
    Fill();
    Root->Expand(false);
    Tree->OnCollapsing = TTVCollapsingEvent::Make<&THandlers::FreeOnCollapsing>(&Handlers);
    QTreeWidget* View = Widget();
    View->collapseItem(TCustomTreeView::ItemOf(Root));
    EXPECT_EQ(Form.FindComponent("Tree1"), nullptr);
    QApplication::processEvents();
}

// --- List view -------------------------------------------------------------------------

class ListViewTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Form.SetName("ListForm");
        List = AddControl<TListView>(&Form, "List1");
        List->SetViewStyle(vsReport);
        List->SetBounds(0, 0, 300, 200);
        AddColumn("Name", 120);
        AddColumn("Line", 60);
    }
    TListColumn* AddColumn(const String& Caption, Integer Width) {
        TListColumn* Column = List->Columns()->Add();
        Column->SetCaption(Caption);
        Column->SetWidth(Width);
        return Column;
    }
    TListItem* AddItem(const String& Caption, const String& Line, void* Data = nullptr) {
        TListItem* Item = List->Items()->Add();
        Item->SetCaption(Caption);
        Item->SubItems()->Add(Line);
        Item->SetData(Data);
        return Item;
    }
    QTreeWidget* Widget() const { return qobject_cast<QTreeWidget*>(List->Widget()); }
    std::vector<String> Captions() const {
        std::vector<String> Result;
        for (Integer I = 0; I < List->Items()->Count(); ++I)
            Result.push_back(List->Items()->Item(I)->Caption());
        return Result;
    }
    std::vector<String> WidgetRows() const {
        std::vector<String> Result;
        for (int I = 0; I < Widget()->topLevelItemCount(); ++I)
            Result.push_back(FromQString(Widget()->topLevelItem(I)->text(0) + "|" +
                                         Widget()->topLevelItem(I)->text(1)));
        return Result;
    }

    TForm Form{nullptr};
    TListView* List = nullptr;
};

TEST_F(ListViewTest, ItemsShowCaptionSubItemsAndKeepTheirObject) {
    int Marker = 0;
    TListItem* Item = AddItem("Caption1", "12", &Marker);
    AddItem("Text2", "40");
    Form.HandleNeeded();
    EXPECT_EQ(Item->Data(), &Marker);
    EXPECT_EQ(Item->Index(), 0);
    EXPECT_EQ(Widget()->headerItem()->text(0), "Name");
    EXPECT_EQ(Widget()->columnWidth(0), 120);
    EXPECT_THAT(WidgetRows(), ElementsAre("Caption1|12", "Text2|40"));
    Item->SubItems()->Put(0, "13");
    AddItem("Third", "7");
    EXPECT_THAT(WidgetRows(), ElementsAre("Caption1|13", "Text2|40", "Third|7"));
    List->Items()->Delete(1);
    EXPECT_THAT(WidgetRows(), ElementsAre("Caption1|13", "Third|7"));
    ExpectError<EListError>([&] { List->Items()->Item(2); }, "List index out of bounds (2)");
    ExpectError<EListError>([&] { List->Items()->Insert(5); }, "List index out of bounds (5)");
}

TEST_F(ListViewTest, SortingByCaptionIgnoresCaseAndKeepsEqualOrder) {
    struct TCase {
        TSortType Sort;
        std::vector<String> Expected;
    };
    const TCase Cases[] = {
        {stNone, {"beta", "Alpha", "gamma", "alpha"}},
        {stData, {"beta", "Alpha", "gamma", "alpha"}},
        {stText, {"Alpha", "alpha", "beta", "gamma"}},
        {stBoth, {"Alpha", "alpha", "beta", "gamma"}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(static_cast<int>(Case.Sort));
        List->Items()->Clear();
        List->SetSortType(Case.Sort);
        for (const char* Caption : {"beta", "Alpha", "gamma", "alpha"})
            AddItem(Caption, "");
        EXPECT_EQ(Captions(), Case.Expected);
    }
    // A changed caption moves its item; the widget follows.
    Form.HandleNeeded();
    List->Items()->Item(3)->SetCaption("aardvark");
    EXPECT_THAT(Captions(), ElementsAre("aardvark", "Alpha", "alpha", "beta"));
    EXPECT_THAT(WidgetRows(), ElementsAre("aardvark|", "Alpha|", "alpha|", "beta|"));
    // Within an update nothing moves until the end.
    List->Items()->BeginUpdate();
    List->Items()->Item(0)->SetCaption("zebra");
    EXPECT_EQ(List->Items()->Item(0)->Caption(), "zebra");
    List->Items()->EndUpdate();
    EXPECT_THAT(Captions(), ElementsAre("Alpha", "alpha", "beta", "zebra"));
    EXPECT_THAT(WidgetRows(), ElementsAre("Alpha|", "alpha|", "beta|", "zebra|"));
}

TEST_F(ListViewTest, SelectionReportsTheItemLeftAndTheItemSelected) {
    TListItem* First = AddItem("First", "1");
    TListItem* Second = AddItem("Second", "2");
    std::vector<String> Log;
    struct THandlers {
        std::vector<String>* Log;
        void Change(TObject*, TListItem* Item, TItemChange Change) {
            if (Change == ctState)
                Log->push_back("state " + Item->Caption());
        }
        void Select(TObject*, TListItem* Item, bool Selected) {
            Log->push_back((Selected ? "select " : "leave ") + Item->Caption());
        }
    } Handlers{&Log};
    List->OnChange = TLVChangeEvent::Make<&THandlers::Change>(&Handlers);
    List->OnSelectItem = TLVSelectItemEvent::Make<&THandlers::Select>(&Handlers);
    Form.HandleNeeded();
    First->SetSelected(true);
    // The user selects the second row in the widget.
    Widget()->setCurrentItem(Widget()->topLevelItem(1));
    EXPECT_EQ(List->Selected(), Second);
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_THAT(Log, ElementsAre("state First", "select First", "state First", "leave First",
                                 "state Second", "select Second"));
    Second->Delete();
    EXPECT_EQ(List->Selected(), nullptr);
    List->SetItemIndex(0);
    EXPECT_EQ(Widget()->currentItem(), Widget()->topLevelItem(0));
    List->SetItemIndex(7);
    EXPECT_EQ(List->Selected(), nullptr);
}

TEST_F(ListViewTest, HandlersMayFreeTheItemsOrTheListView) {
    AddItem("First", "1")->SetSelected(true);
    AddItem("Second", "2");
    Form.HandleNeeded();
    struct THandlers {
        TListView* List;
        std::vector<String> Selected;
        void ClearOnLeave(TObject*, TListItem* Item, bool Selected) {
            if (!Selected)
                List->Items()->Clear();
            else
                this->Selected.push_back(Item->Caption());
        }
        void FreeOnSelect(TObject*, TListItem*, bool) { delete List; }
    } Handlers{List, {}};
    // Leaving the first row clears the list: the arriving row is gone, no event for it.
    List->OnSelectItem = TLVSelectItemEvent::Make<&THandlers::ClearOnLeave>(&Handlers);
    Widget()->setCurrentItem(Widget()->topLevelItem(1));
    EXPECT_EQ(List->Items()->Count(), 0);
    EXPECT_EQ(List->Selected(), nullptr);
    EXPECT_TRUE(Handlers.Selected.empty());
    QApplication::processEvents();
    EXPECT_EQ(Widget()->topLevelItemCount(), 0);
    // The user's pick frees the list view.
    AddItem("Again", "3");
    List->OnSelectItem = TLVSelectItemEvent::Make<&THandlers::FreeOnSelect>(&Handlers);
    Widget()->setCurrentItem(Widget()->topLevelItem(0));
    EXPECT_EQ(Form.FindComponent("List1"), nullptr);
    QApplication::processEvents();
}

TEST_F(ListViewTest, ColumnWidthsFollowTheUserAndStream) {
    TListColumn* Name = List->Columns()->Items(0);
    Name->SetMinWidth(40);
    Name->SetMaxWidth(300);
    struct TCase {
        Integer Asked;
        Integer Kept;
    };
    for (const TCase Case : {TCase{100, 100}, TCase{10, 40}, TCase{900, 300}}) {
        Name->SetWidth(Case.Asked);
        EXPECT_EQ(Name->Width(), Case.Kept);
    }
    Form.HandleNeeded();
    // The user drags the header: the column keeps the new width.
    Widget()->header()->resizeSection(0, 150);
    EXPECT_EQ(Name->Width(), 150);
    Widget()->header()->resizeSection(0, 500);
    EXPECT_EQ(Name->Width(), 300);
    EXPECT_EQ(Widget()->columnWidth(0), 300);
    Name->SetWidth(144);
    EXPECT_EQ(Widget()->columnWidth(0), 144);
    const String Text = FormText(&Form);
    EXPECT_THAT(Text, HasSubstr("    Columns = <\n"
                                "      item\n"
                                "        Caption = 'Name'\n"
                                "        MaxWidth = 300\n"
                                "        MinWidth = 40\n"
                                "        Width = 144\n"
                                "      end\n"
                                "      item\n"
                                "        Caption = 'Line'\n"
                                "        Width = 60\n"
                                "      end>\n"));
    // A column click reaches its handler with the column.
    struct THandlers {
        TListColumn* Clicked = nullptr;
        void Click(TObject*, TListColumn* Column) { Clicked = Column; }
    } Handlers;
    List->OnColumnClick = TLVColumnClickEvent::Make<&THandlers::Click>(&Handlers);
    List->UserColumnClick(1);
    EXPECT_EQ(Handlers.Clicked, List->Columns()->Items(1));
}

// --- Splitter ----------------------------------------------------------------------------

class SplitterTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        Form.SetName("SplitForm");
        Form.SetClientWidth(400);
        Form.SetClientHeight(200);
        Left = AddControl<TListBox>(&Form, "LeftList");
        Left->SetAlign(alLeft);
        Left->SetWidth(150);
        Splitter = AddControl<TSplitter>(&Form, "Splitter1");
        Splitter->SetLeft(150);
        Rest = AddControl<TListBox>(&Form, "RestList");
        Rest->SetAlign(alClient);
    }

    TForm Form{nullptr};
    TListBox* Left = nullptr;
    TSplitter* Splitter = nullptr;
    TListBox* Rest = nullptr;
};

TEST_F(SplitterTest, DraggingResizesTheNeighbourWithinLimits) {
    ASSERT_EQ(Splitter->Neighbour(), Left);
    EXPECT_EQ(Splitter->Left(), 150);
    EXPECT_EQ(Rest->Left(), 153);
    struct TCase {
        bool AutoSnap;
        Integer Delta;
        Integer Width; // of the left list afterwards
    };
    const TCase Cases[] = {
        {true, 50, 200},  {true, -30, 170}, {true, 10000, 400 - 3 - 30},
        {true, -1000, 0}, {true, 40, 40},   {false, -1000, 30},
        {false, -5, 30},  {true, -15, 0},   {false, 100, 100},
    };
    Integer Moved = 0;
    struct THandlers {
        Integer* Moved;
        void OnMoved(TObject*) { ++*Moved; }
    } Handlers{&Moved};
    Splitter->OnMoved = TNotifyEvent::Make<&THandlers::OnMoved>(&Handlers);
    Integer Changes = 0;
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Delta);
        const Integer Before = Left->Width();
        Splitter->AutoSnap = Case.AutoSnap;
        Splitter->MoveBy(Case.Delta);
        EXPECT_EQ(Left->Width(), Case.Width);
        EXPECT_EQ(Splitter->Left(), Case.Width);
        EXPECT_EQ(Rest->Left(), Case.Width + 3);
        EXPECT_EQ(Rest->Width(), 400 - 3 - Case.Width);
        Changes += Before != Case.Width;
    }
    EXPECT_EQ(Moved, Changes);
}

TEST_F(SplitterTest, RightAlignedSplitterGrowsTheControlToItsRight) {
    Rest->SetAlign(alNone);
    auto* Right = AddControl<TListBox>(&Form, "RightList");
    Right->SetAlign(alRight);
    Right->SetWidth(100);
    auto* Second = AddControl<TSplitter>(&Form, "Splitter2");
    Second->SetAlign(alRight);
    Second->SetLeft(Right->Left() - 3);
    ASSERT_EQ(Second->Neighbour(), Right);
    Second->MoveBy(-40);
    EXPECT_EQ(Right->Width(), 140);
    EXPECT_EQ(Second->Left(), 400 - 140 - 3);
}

TEST_F(SplitterTest, CanResizeMayChangeOrRefuseTheSize) {
    struct THandlers {
        bool Refuse = false;
        void CanResize(TObject*, Integer& NewSize, bool& Accept) {
            NewSize = NewSize / 10 * 10;
            Accept = !Refuse;
        }
    } Handlers;
    Splitter->OnCanResize = TCanResizeEvent::Make<&THandlers::CanResize>(&Handlers);
    Splitter->MoveBy(27);
    EXPECT_EQ(Left->Width(), 170);
    Handlers.Refuse = true;
    Splitter->MoveBy(50);
    EXPECT_EQ(Left->Width(), 170);
}

TEST_F(SplitterTest, MouseDragThroughTheWidgetAndAHandlerFreeingTheSplitter) {
    Form.Show();
    QWidget* Bar = Splitter->Widget();
    ASSERT_NE(Bar, nullptr);
    EXPECT_EQ(Bar->cursor().shape(), Qt::SplitHCursor);
    const auto Send = [&](QEvent::Type Type, int X) {
        const QPointF Local(1, 10);
        const QPointF Global(X, 10);
        QMouseEvent Event(Type, Local, Global, Qt::LeftButton,
                          Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(Bar, &Event);
    };
    Send(QEvent::MouseButtonPress, 500);
    Send(QEvent::MouseButtonRelease, 560);
    EXPECT_EQ(Left->Width(), 210);
    struct THandlers {
        TSplitter* Splitter;
        void FreeIt(TObject*, Integer&, bool&) { delete Splitter; }
    } Handlers{Splitter};
    Splitter->OnCanResize = TCanResizeEvent::Make<&THandlers::FreeIt>(&Handlers);
    Send(QEvent::MouseButtonPress, 500);
    Send(QEvent::MouseButtonRelease, 450);
    EXPECT_EQ(Form.FindComponent("Splitter1"), nullptr);
    EXPECT_EQ(Left->Width(), 210);
    QApplication::processEvents();
}

// --- Form files and pictures ---------------------------------------------------------------

constexpr const char* ListsFormText = R"(object ListsForm: TListsForm
  Left = 100
  Top = 100
  Width = 408
  Height = 227
  Caption = 'Lists'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object Tree: TTreeView
    Left = 0
    Top = 0
    Width = 150
    Height = 200
    Align = alLeft
    Indent = 12
    ShowRoot = False
    TabOrder = 0
    OnCollapsing = TreeCollapsing
  end
  object Splitter: TSplitter
    Left = 150
    Top = 0
    Width = 3
    Height = 200
    Cursor = crHSplit
    MinSize = 50
  end
  object List: TListView
    Left = 153
    Top = 0
    Width = 247
    Height = 200
    Align = alClient
    Columns = <
      item
        Caption = 'Name'
        Width = 120
      end
      item
        Alignment = taRightJustify
        Caption = 'Line'
      end>
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Courier New'
    Font.Style = []
    RowSelect = True
    ParentFont = False
    SortType = stText
    TabOrder = 1
    ViewStyle = vsReport
    OnSelectItem = ListSelectItem
  end
end
)";

class TListsForm : public TForm {
    ORLO_CLASS(TListsForm, TForm)
public:
    explicit TListsForm(TComponent* AOwner) : TForm(AOwner) {}
    TTreeView* Tree = nullptr;
    TSplitter* Splitter = nullptr;
    TListView* List = nullptr;
    void TreeCollapsing(TObject*, TTreeNode* Node, bool& Allow) {
        Allow = Node->Parent() != nullptr;
    }
    void ListSelectItem(TObject*, TListItem*, bool) {}
};

} // namespace

ORLO_PUBLISHED(TListsForm, "ComCtrlsTest") {
    P.Field("Tree", &TListsForm::Tree);
    P.Field("Splitter", &TListsForm::Splitter);
    P.Field("List", &TListsForm::List);
    P.Method<&TListsForm::TreeCollapsing>("TreeCollapsing");
    P.Method<&TListsForm::ListSelectItem>("ListSelectItem");
}

namespace {

TEST(ComCtrlsStreamTest, FormFileLoadsStreamsBackAndShows) {
    Application->Initialize();
    TFormResource Resource("TListsForm", ListsFormText);
    std::unique_ptr<TListsForm> Form(TCustomForm::Create<TListsForm>(nullptr));
    EXPECT_EQ(FormText(Form.get()), ListsFormText);
    EXPECT_FALSE(Form->Tree->ShowRoot());
    EXPECT_EQ(Form->Tree->Indent(), 12);
    EXPECT_TRUE(Form->Tree->OnCollapsing);
    EXPECT_EQ(Form->Splitter->Neighbour(), Form->Tree);
    EXPECT_EQ(Form->Splitter->MinSize(), 50);
    ASSERT_EQ(Form->List->Columns()->Count(), 2);
    EXPECT_EQ(Form->List->Columns()->Items(1)->Width(), 50);
    EXPECT_EQ(Form->List->Columns()->Items(1)->Alignment(), taRightJustify);
    EXPECT_EQ(Form->List->SortType(), stText);
    EXPECT_EQ(Form->List->Font()->Name(), "Courier New");

    // Filled as a picker or a check list would be, then shown.
    TTreeNode* Top = Form->Tree->Items()->Add(nullptr, "Form1: TForm1");
    for (const char* Name : {"Button1: TButton", "Label1: TLabel", "Memo1: TMemo"})
        Form->Tree->Items()->AddChild(Top, Name);
    Top->Expand(false);
    Top->Item(1)->SetSelected(true);
    for (const auto& [Caption, Line] :
         {std::pair{"Title", "12"}, {"Greeting", "40"}, {"Bye", "7"}}) {
        TListItem* Item = Form->List->Items()->Add();
        Item->SetCaption(Caption);
        Item->SubItems()->Add(Line);
    }
    Form->List->Items()->Item(1)->SetSelected(true);
    // Items are not part of the form file.
    EXPECT_EQ(FormText(Form.get()), ListsFormText);
    Form->Show();
    auto* ListWidget = qobject_cast<QTreeWidget*>(Form->List->Widget());
    EXPECT_EQ(ListWidget->font().family(), "Courier New");
    EXPECT_EQ(ListWidget->topLevelItem(0)->text(0), "Bye");
    // The collapse handler bound by name refuses to close the root.
    Top->Collapse(false);
    EXPECT_TRUE(Top->Expanded());
    const QImage Picture = GrabImage(Form.get());
    EXPECT_EQ(Picture.size(), QSize(Form->ClientWidth(), Form->ClientHeight()));
    SaveScreenshot(Form.get(), ScreenshotPath("lists-tree-splitter-list"));
}

} // namespace
} // namespace orlo::test
