#include "design/ComponentExplorerDialog.h"

#include "platform/classes/Lists.h"
#include "platform/rtl/SysUtils.h"
#include "tools/VersionControl.h"

#include <algorithm>
#include <set>

namespace orlo {

namespace {

const TUnitVersion
    Version("$Header: /design/ComponentExplorerDialog.cpp 1.0 10.12.26 07:00 orlo $");

// Form files name the explorer and the dialog by their class.
const bool ExplorerRegistered =
    (RegisterClasses({TComponentExplorer::StaticClass(), TComponentExplorerDialog::StaticClass()}),
     true);

// The names of the filter check boxes' texts; the property names stay as they are.
constexpr std::array<const char*, 7> FilterTextNames{
    "", "", "", "", "FilterUser", "FilterAll", "FilterAssigned"};
constexpr std::array<const char*, 7> FilterPropertyNames{"Caption", "Hint", "Strings", "Text",
                                                         "",        "",     ""};

// The property entries of a level and below, in the order the tree shows them.
void CollectProperties(TMainEntries* Level, std::vector<TPropertyEntry*>& Into) {
    for (Integer I = 0; I < Level->Count(); ++I) {
        TMainEntry* Main = Level->Items(I);
        for (Integer P = 0; P < Main->Props()->Count(); ++P)
            Into.push_back(Main->Props()->Items(P));
        CollectProperties(Main->Items(), Into);
    }
}

std::vector<TPropertyEntry*> PropertiesOf(TBaseEntry* Entry) {
    std::vector<TPropertyEntry*> Result;
    if (auto* Prop = dynamic_cast<TPropertyEntry*>(Entry)) {
        Result.push_back(Prop);
    } else if (auto* Main = dynamic_cast<TMainEntry*>(Entry)) {
        for (Integer P = 0; P < Main->Props()->Count(); ++P)
            Result.push_back(Main->Props()->Items(P));
        CollectProperties(Main->Items(), Result);
    }
    return Result;
}

bool IsNoProperty(const TMainEntry* Main) {
    return Main->SubType().Contains(stNoValidate);
}

// Frees the main entries left without properties and children, deepest
// first; entries that are no properties of the form stay.
void PruneEmpty(TMainEntries* Level) {
    for (Integer I = Level->Count() - 1; I >= 0; --I) {
        TMainEntry* Main = Level->Items(I);
        PruneEmpty(Main->Items());
        if (Main->Props()->Count() == 0 && Main->Items()->Count() == 0 && !IsNoProperty(Main))
            delete Main;
    }
}

// Frees the entries that are no properties of the form (string tables).
void DropNoProperties(TMainEntries* Level) {
    for (Integer I = Level->Count() - 1; I >= 0; --I) {
        TMainEntry* Main = Level->Items(I);
        if (IsNoProperty(Main))
            delete Main;
        else
            DropNoProperties(Main->Items());
    }
}

// The main entries from the top level down to Main.
std::vector<TMainEntry*> PathTo(TMainEntry* Main) {
    std::vector<TMainEntry*> Path;
    for (TMainEntry* Up = Main; Up; Up = Up->GetParent()->GetParent())
        Path.insert(Path.begin(), Up);
    return Path;
}

// "Button1.Font": the names from the component down to Main.
String PathText(TMainEntry* Main) {
    String Result;
    for (TMainEntry* Each : PathTo(Main))
        Result += (Result.empty() ? "" : ".") + Each->Name();
    return Result;
}

// The entry of In at the same path of names as Prop; nil when there is none.
TPropertyEntry* FindSame(TPropertyEntry* Prop, TMainEntries* In) {
    TMainEntry* Found = nullptr;
    for (TMainEntry* Each : PathTo(Prop->MainEntry())) {
        const Integer At = In->IndexOfName(Each->Name());
        if (At < 0)
            return nullptr;
        Found = In->Items(At);
        In = Found->Items();
    }
    const Integer At = Found ? Found->Props()->IndexOfProp(Prop->Name()) : -1;
    return At < 0 ? nullptr : Found->Props()->Items(At);
}

// The main entry of Target at Main's path of names, made where missing.
TMainEntry* EnsurePath(TMainEntry* Main, TMainEntries* Target) {
    TMainEntry* Found = nullptr;
    for (TMainEntry* Each : PathTo(Main)) {
        const Integer At = Target->IndexOfName(Each->Name());
        if (At >= 0) {
            Found = Target->Items(At);
        } else {
            Found = static_cast<TMainEntry*>(Target->Add());
            Found->AssignThis(Each);
        }
        Target = Found->Items();
    }
    return Found;
}

// The texts of the expanded nodes, with the texts of their parents.
void ExpandedPaths(TTreeNode* Node, const String& Prefix, std::set<String>& Into) {
    for (; Node; Node = Node->GetNextSibling()) {
        const String Path = Prefix + "/" + Node->Text();
        if (Node->Expanded())
            Into.insert(Path);
        ExpandedPaths(Node->GetFirstChild(), Path, Into);
    }
}

void RestoreExpanded(TTreeNode* Node, const String& Prefix, const std::set<String>& Paths) {
    for (; Node; Node = Node->GetNextSibling()) {
        const String Path = Prefix + "/" + Node->Text();
        if (Paths.count(Path))
            Node->Expand(false);
        RestoreExpanded(Node->GetFirstChild(), Path, Paths);
    }
}

void AddEntryNodes(TTreeNodes* Nodes, TTreeNode* Parent, TMainEntry* Main) {
    for (Integer P = 0; P < Main->Props()->Count(); ++P) {
        TPropertyEntry* Prop = Main->Props()->Items(P);
        Nodes->AddChildObject(Parent, Prop->GetDescriptor(String()), Prop);
    }
    for (Integer I = 0; I < Main->Items()->Count(); ++I) {
        TMainEntry* Child = Main->Items()->Items(I);
        AddEntryNodes(
            Nodes, Nodes->AddChildObject(Parent, Child->Name() + ": " + Child->TypeName(), Child),
            Child);
    }
}

} // namespace

// --- TComponentExplorer ------------------------------------------------------------

ORLO_PUBLISHED(TComponentExplorer, "ComponentExplorerDialog") {
    publish::Align(P);
    publish::Anchors(P);
    publish::Visible(P);
}

TComponentExplorer::TComponentExplorer(TComponent* AOwner)
    : TCustomPanel(AOwner), FSettings(std::make_unique<TCESettings>()) {
    SetBevelOuter(bvNone);
    SetBounds(0, 0, 640, 390);
    MakeFilterControls();
    MakeTrees();
    MakeMoveButtons();
    SetTexts([](const String& Name) { return Name; });
    Init(nullptr, nullptr, nullptr);
    ShowSettings();
}

TComponentExplorer::~TComponentExplorer() {
    // The trees point at the entries: they go first.
    SourceTree->Items()->Clear();
    DestTree->Items()->Clear();
}

template <class C> C* TComponentExplorer::MakeChild(TWinControl* Parent, TAlign Align) {
    auto* Child = new C(this);
    Child->SetParent(Parent);
    Child->SetAlign(Align);
    return Child;
}

void TComponentExplorer::MakeFilterControls() {
    FilterPanel = MakeChild<TPanel>(this, alTop);
    FilterPanel->SetHeight(54);
    FilterPanel->SetBevelOuter(bvNone);
    for (size_t I = 0; I < FilterChecks.size(); ++I) {
        TCheckBox* Check = MakeChild<TCheckBox>(FilterPanel, alNone);
        const bool SecondRow = static_cast<TPropFilterEnum>(I) == pfUser;
        const Integer Column = I < pfUser ? static_cast<Integer>(I) : static_cast<Integer>(I) - 1;
        Check->SetBounds(SecondRow ? 8 : 8 + Column * 96, SecondRow ? 30 : 6,
                         I == pfAssigned ? 144 : 92, 20);
        Check->OnClick = TNotifyEvent::Make<&TComponentExplorer::FilterClick>(this);
        FilterChecks[I] = Check;
    }
    FilterEdit = MakeChild<TEdit>(FilterPanel, alNone);
    FilterEdit->SetBounds(104, 28, 380, 22);
    FilterEdit->OnChange = TNotifyEvent::Make<&TComponentExplorer::FilterEditChange>(this);

    SortPanel = MakeChild<TPanel>(this, alTop);
    SortPanel->SetTop(54);
    SortPanel->SetHeight(28);
    SortPanel->SetBevelOuter(bvNone);
    SortByNameRadio = MakeChild<TRadioButton>(SortPanel, alNone);
    SortByNameRadio->SetBounds(8, 4, 180, 20);
    SortByTypeRadio = MakeChild<TRadioButton>(SortPanel, alNone);
    SortByTypeRadio->SetBounds(200, 4, 180, 20);
    for (TRadioButton* Radio : {SortByNameRadio, SortByTypeRadio})
        Radio->OnClick = TNotifyEvent::Make<&TComponentExplorer::SortClick>(this);

    InfoBar = MakeChild<TPanel>(this, alBottom);
    InfoBar->SetHeight(24);
    InfoBar->SetBevelOuter(bvLowered);
    InfoBar->SetAlignment(taLeftJustify);
}

void TComponentExplorer::MakeTrees() {
    const auto MakeSide = [this](TAlign Align, TLabel*& Heading, TTreeView*& Tree) {
        TPanel* Side = MakeChild<TPanel>(this, Align);
        Side->SetBevelOuter(bvNone);
        Heading = MakeChild<TLabel>(Side, alTop);
        Tree = MakeChild<TTreeView>(Side, alClient);
        Tree->OnChange = TTVChangedEvent::Make<&TComponentExplorer::TreeChange>(this);
        Tree->OnDblClick = TNotifyEvent::Make<&TComponentExplorer::TreeDblClick>(this);
        return Side;
    };
    SourcePanel = MakeSide(alLeft, SourceLabel, SourceTree);
    MovePanel = MakeChild<TPanel>(this, alLeft);
    MovePanel->SetBevelOuter(bvNone);
    MovePanel->SetWidth(44);
    MovePanel->SetLeft(SourcePanel->Left() + SourcePanel->Width());
    DestPanel = MakeSide(alClient, DestLabel, DestTree);
}

void TComponentExplorer::MakeMoveButtons() {
    Integer Top = 40;
    for (auto [Button, Caption] : {std::pair{&AddButton, ">"},
                                   {&AddAllButton, ">>"},
                                   {&RemoveButton, "<"},
                                   {&RemoveAllButton, "<<"}}) {
        *Button = MakeChild<TButton>(MovePanel, alNone);
        (*Button)->SetBounds(6, Top, 32, 26);
        (*Button)->SetCaption(Caption);
        (*Button)->SetShowHint(true);
        (*Button)->OnClick = TNotifyEvent::Make<&TComponentExplorer::MoveClick>(this);
        Top += Button == &AddAllButton ? 52 : 32;
    }
}

void TComponentExplorer::Resize() {
    TCustomPanel::Resize();
    if (SourcePanel)
        SourcePanel->SetWidth(std::max(0, (ClientWidth() - MovePanel->Width()) / 2));
}

void TComponentExplorer::SetSettings(TCESettings* Value) {
    FSettings->Assign(Value);
    ShowSettings();
    Refilter();
}

void TComponentExplorer::Init(TComponent* Root, TComponentEntries* Picked, TClass PropClass) {
    SourceTree->Items()->Clear();
    DestTree->Items()->Clear();
    FRoot = Root;
    FPropClass = PropClass ? PropClass : TPropertyEntry::StaticClass();
    FAvailable = std::make_unique<TComponentEntries>(nullptr, FPropClass);
    FPicked = std::make_unique<TComponentEntries>(nullptr, FPropClass);
    FPicked->SetAssignMode(false);
    if (Picked) {
        FPicked->Assign(Picked);
        DropNoProperties(FPicked.get());
        FPicked->RefreshProps();
        PruneEmpty(FPicked.get());
    }
    Refilter();
}

void TComponentExplorer::Refilter() {
    SourceTree->Items()->Clear();
    FAvailable->Clear();
    if (FRoot)
        AddRootToMainEntries(FRoot, FAvailable.get(), *FSettings, FPropClass,
                             FSettings->StandardFilter());
    FAvailable->RemoveEqualPropertyEntries(FPicked.get());
    PruneEmpty(FAvailable.get());
    ShowTrees();
}

void TComponentExplorer::WriteTo(TComponentEntries* Target) const {
    std::vector<TPropertyEntry*> Present;
    for (Integer I = 0; I < Target->Count(); ++I)
        if (!IsNoProperty(Target->Items(I)))
            for (TPropertyEntry* Prop : PropertiesOf(Target->Items(I)))
                if (!IsNoProperty(Prop->MainEntry()))
                    Present.push_back(Prop);
    for (TPropertyEntry* Prop : Present)
        if (!FindSame(Prop, FPicked.get()))
            delete Prop;
    std::vector<TPropertyEntry*> Wanted;
    CollectProperties(FPicked.get(), Wanted);
    for (TPropertyEntry* Prop : Wanted) {
        if (FindSame(Prop, Target))
            continue;
        TMainEntry* Main = EnsurePath(Prop->MainEntry(), Target);
        TPropertyEntry::Create(Prop->ClassType(), Main, Prop->Name(), Prop->TypeName(),
                               Prop->Kind())
            ->Assign(Prop);
    }
    PruneEmpty(Target);
}

void TComponentExplorer::MoveProperties(const std::vector<TPropertyEntry*>& Props,
                                        TComponentEntries* From, TComponentEntries* Dest) {
    for (TPropertyEntry* Prop : Props)
        Prop->MoveItem(Dest);
    PruneEmpty(From);
    ShowTrees();
}

void TComponentExplorer::MoveSelected(TTreeView* Tree, TComponentEntries* From,
                                      TComponentEntries* Dest) {
    if (TBaseEntry* Entry = SelectedEntry(Tree))
        MoveProperties(PropertiesOf(Entry), From, Dest);
}

void TComponentExplorer::AddSelected() {
    MoveSelected(SourceTree, FAvailable.get(), FPicked.get());
}

void TComponentExplorer::RemoveSelected() {
    MoveSelected(DestTree, FPicked.get(), FAvailable.get());
}

void TComponentExplorer::AddAll() {
    std::vector<TPropertyEntry*> Props;
    CollectProperties(FAvailable.get(), Props);
    MoveProperties(Props, FAvailable.get(), FPicked.get());
}

void TComponentExplorer::RemoveAll() {
    std::vector<TPropertyEntry*> Props;
    CollectProperties(FPicked.get(), Props);
    MoveProperties(Props, FPicked.get(), FAvailable.get());
    // What the filter does not offer goes out of sight again.
    Refilter();
}

TBaseEntry* TComponentExplorer::SelectedEntry(TTreeView* Tree) const {
    TTreeNode* Node = Tree->Selected();
    return Node ? static_cast<TBaseEntry*>(Node->Data()) : nullptr;
}

void TComponentExplorer::ShowTrees() {
    ShowTree(SourceTree, FAvailable.get());
    ShowTree(DestTree, FPicked.get());
    DestTree->FullExpand();
    ShowInfo();
}

void TComponentExplorer::ShowTree(TTreeView* Tree, TComponentEntries* Entries) {
    TTreeNodes* Nodes = Tree->Items();
    std::set<String> Expanded;
    ExpandedPaths(Nodes->GetFirstNode(), String(), Expanded);
    std::vector<TMainEntry*> Components;
    for (Integer I = 0; I < Entries->Count(); ++I)
        Components.push_back(Entries->Items(I));
    const bool ByName = FSettings->SortByCompName;
    std::stable_sort(Components.begin(), Components.end(), [ByName](TMainEntry* A, TMainEntry* B) {
        const Integer ByType = ByName ? 0 : AnsiCompareText(A->TypeName(), B->TypeName());
        return ByType != 0 ? ByType < 0 : AnsiCompareText(A->Name(), B->Name()) < 0;
    });
    WithUpdate(*Nodes, [&] {
        Nodes->Clear();
        for (TMainEntry* Component : Components)
            AddEntryNodes(Nodes,
                          Nodes->AddObject(
                              nullptr,
                              FSettings->ComponentLabel(Component->Name(), Component->TypeName()),
                              Component),
                          Component);
        RestoreExpanded(Nodes->GetFirstNode(), String(), Expanded);
    });
}

String TComponentExplorer::InfoText() const {
    TBaseEntry* Entry = FInfoTree ? SelectedEntry(FInfoTree) : nullptr;
    if (!Entry)
        return FLookup("InfoNone");
    auto* Prop = dynamic_cast<TPropertyEntry*>(Entry);
    if (!Prop) {
        auto* Main = static_cast<TMainEntry*>(Entry);
        return Main->GetParent()->GetParent()
                   ? PathText(Main) + ": " + Main->TypeName()
                   : FSettings->ComponentLabel(Main->Name(), Main->TypeName());
    }
    String Text = Prop->GetDescriptor(PathText(Prop->MainEntry()) + ".");
    try {
        const Variant Value = Prop->GetValue();
        if (!Value.IsNull())
            Text += " = " + Value.AsString();
    } catch (const Exception&) {
        // A value that cannot be read is simply not shown.
    }
    return Text;
}

void TComponentExplorer::ShowInfo() {
    InfoBar->SetCaption(InfoText());
}

void TComponentExplorer::ShowSettings() {
    FShowing = true;
    for (size_t I = 0; I < FilterChecks.size(); ++I)
        FilterChecks[I]->SetChecked(
            FSettings->PropFilter.Contains(static_cast<TPropFilterEnum>(I)));
    FilterEdit->SetText(FSettings->PropFilterText);
    SortByNameRadio->SetChecked(FSettings->SortByCompName);
    SortByTypeRadio->SetChecked(!FSettings->SortByCompName);
    FilterPanel->SetVisible(FSettings->PropFilterVisible);
    SortPanel->SetVisible(FSettings->SortByVisible);
    InfoBar->SetVisible(FSettings->InfoBarVisible);
    FShowing = false;
}

void TComponentExplorer::SetTexts(const TTextLookup& Lookup) {
    FLookup = Lookup;
    for (size_t I = 0; I < FilterChecks.size(); ++I)
        FilterChecks[I]->SetCaption(*FilterTextNames[I] ? Lookup(FilterTextNames[I])
                                                        : String(FilterPropertyNames[I]));
    SortByNameRadio->SetCaption(Lookup("SortByName"));
    SortByTypeRadio->SetCaption(Lookup("SortByType"));
    SourceLabel->SetCaption(Lookup("SourceHeading"));
    DestLabel->SetCaption(Lookup("DestHeading"));
    AddButton->SetHint(Lookup("AddHint"));
    AddAllButton->SetHint(Lookup("AddAllHint"));
    RemoveButton->SetHint(Lookup("RemoveHint"));
    RemoveAllButton->SetHint(Lookup("RemoveAllHint"));
    ShowInfo();
}

void TComponentExplorer::FilterClick(TObject*) {
    if (FShowing)
        return;
    TPropFilter Filter;
    for (size_t I = 0; I < FilterChecks.size(); ++I)
        if (FilterChecks[I]->Checked())
            Filter.Include(static_cast<TPropFilterEnum>(I));
    FSettings->PropFilter = Filter;
    Refilter();
}

void TComponentExplorer::FilterEditChange(TObject*) {
    if (FShowing)
        return;
    FSettings->PropFilterText = FilterEdit->Text();
    if (FSettings->PropFilter.Contains(pfUser))
        Refilter();
}

void TComponentExplorer::SortClick(TObject*) {
    if (FShowing)
        return;
    FSettings->SortByCompName = SortByNameRadio->Checked();
    ShowTrees();
}

void TComponentExplorer::MoveClick(TObject* Sender) {
    if (Sender == AddButton)
        AddSelected();
    else if (Sender == AddAllButton)
        AddAll();
    else if (Sender == RemoveButton)
        RemoveSelected();
    else if (Sender == RemoveAllButton)
        RemoveAll();
}

void TComponentExplorer::TreeChange(TObject* Sender, TTreeNode*) {
    FInfoTree = static_cast<TTreeView*>(Sender);
    ShowInfo();
}

void TComponentExplorer::TreeDblClick(TObject* Sender) {
    if (Sender == SourceTree)
        AddSelected();
    else
        RemoveSelected();
}

// --- TComponentExplorerForm ----------------------------------------------------------

ORLO_PUBLISHED(TComponentExplorerForm, "ComponentExplorerDialog") {
    P.Field("Explorer", &TComponentExplorerForm::Explorer);
    P.Field("ButtonPanel", &TComponentExplorerForm::ButtonPanel);
    P.Field("Glossa", &TComponentExplorerForm::Glossa);
    P.Method<&TComponentExplorerForm::FormCreate>("FormCreate");
    P.Method<&TComponentExplorerForm::GlossaChange>("GlossaChange");
}

void TComponentExplorerForm::FormCreate(TObject*) {
    ShowTexts();
    UseHelpContext(0);
}

void TComponentExplorerForm::GlossaChange(TObject*) {
    ShowTexts();
}

void TComponentExplorerForm::ShowTexts() {
    Explorer->SetTexts([this](const String& Name) { return Glossa->GetString(Name); });
}

TButtonItem* TComponentExplorerForm::HelpButton() const {
    return ButtonPanel->Buttons()->Items(2);
}

void TComponentExplorerForm::UseHelpContext(Integer Context) {
    SetHelpContext(Context);
    // A help button asks for help at its own context.
    HelpButton()->Button()->SetHelpContext(Context);
    HelpButton()->SetBool(2, Context != 0);
}

// --- TComponentExplorerDialog --------------------------------------------------------

ORLO_PUBLISHED(TComponentExplorerDialog, "ComponentExplorerDialog") {
    P.Property("Ctl3D", &TComponentExplorerDialog::Ctl3D).Default(1);
    P.Property("HelpContext", &TComponentExplorerDialog::HelpContext).Default(0);
    P.Property("Settings", &TComponentExplorerDialog::Settings,
               &TComponentExplorerDialog::SetSettings);
    P.Property("OnClose", &TComponentExplorerDialog::OnClose);
    P.Property("OnShow", &TComponentExplorerDialog::OnShow);
}

TComponentExplorerDialog::TComponentExplorerDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FSettings(std::make_unique<TCESettings>()) {}

TComponentExplorerDialog::~TComponentExplorerDialog() = default;

bool TComponentExplorerDialog::Execute() {
    std::unique_ptr<TComponentExplorerForm> Form(
        TCustomForm::Create<TComponentExplorerForm>(nullptr));
    Form->UseHelpContext(HelpContext);
    Form->Explorer->SetSettings(FSettings.get());
    Form->Explorer->Init(FRoot, FEntries, FEntryClass);
    const std::shared_ptr<const bool> Alive = FAlive;
    FForm = Form.get();
    const bool Confirmed = TCommonDialog::Execute();
    if (!*Alive)
        return false; // a show or close handler freed the dialog
    FForm = nullptr;
    if (!Confirmed)
        return false;
    FSettings->Assign(Form->Explorer->Settings());
    if (FEntries)
        Form->Explorer->WriteTo(FEntries);
    return true;
}

bool TComponentExplorerDialog::ExecuteForm() {
    return FForm->ShowModal() == mrOk;
}

bool TComponentExplorerDialog::ExecuteSystem() {
    return ExecuteForm(); // the picker has no system dialog: its own form always
}

bool TComponentExplorerDialog::ExecuteEx(TComponent* Root, TComponentEntries* Entries,
                                         TClass EntryClass) {
    // Forgets the arguments however Execute ends, unless it freed the dialog.
    struct TForget {
        TComponentExplorerDialog* Dialog;
        std::shared_ptr<bool> Alive;
        ~TForget() {
            if (!*Alive)
                return;
            Dialog->FRoot = nullptr;
            Dialog->FEntries = nullptr;
            Dialog->FEntryClass = nullptr;
        }
    } Forget{this, FAlive};
    FRoot = Root;
    FEntries = Entries;
    FEntryClass = EntryClass;
    return Execute();
}

} // namespace orlo
