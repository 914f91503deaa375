#include "platform/forms/Dialogs.h"

#include "platform/os/UserLanguage.h"
#include "platform/rtl/SysUtils.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QFontDialog>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTreeView>

namespace orlo {

// --- TCommonDialog -----------------------------------------------------------

ORLO_PUBLISHED(TCommonDialog, "Dialogs") {
    P.Property("Ctl3D", &TCommonDialog::Ctl3D).Default(1);
    P.Property("HelpContext", &TCommonDialog::HelpContext).Default(0);
    P.Property("OnClose", &TCommonDialog::OnClose);
    P.Property("OnShow", &TCommonDialog::OnShow);
}

void TCommonDialog::DoShow() {
    if (OnShow)
        OnShow(this);
}

void TCommonDialog::DoClose() {
    if (OnClose)
        OnClose(this);
}

TCommonDialog::~TCommonDialog() {
    *FAlive = false;
}

bool TCommonDialog::Execute() {
    const std::shared_ptr<const bool> Alive = FAlive;
    DoShow();
    if (!*Alive)
        return false; // OnShow freed the dialog
    bool Result = false;
    try {
        Result = Application->ModalRunner() ? ExecuteForm() : ExecuteSystem();
    } catch (...) {
        if (*Alive)
            DoClose();
        throw;
    }
    if (*Alive)
        DoClose();
    return Result;
}

String LocalText(const char* English, const char* German) {
    constexpr Word LANG_GERMAN = 0x07;
    return PrimaryLangID(GetUserDefaultLangID()) == LANG_GERMAN ? German : English;
}

// --- Filters -----------------------------------------------------------------

std::vector<TFileFilter> ParseFilter(const String& Filter) {
    std::vector<String> Parts;
    for (size_t Start = 0; Start <= Filter.size();) {
        size_t Bar = Filter.find('|', Start);
        if (Bar == String::npos)
            Bar = Filter.size();
        Parts.push_back(Filter.substr(Start, Bar - Start));
        Start = Bar + 1;
    }
    std::vector<TFileFilter> Result;
    for (size_t I = 0; I + 1 < Parts.size(); I += 2)
        Result.push_back(TFileFilter{Parts[I], Parts[I + 1]});
    return Result;
}

String QtFilterText(const std::vector<TFileFilter>& Filters) {
    String Result;
    for (const TFileFilter& F : Filters) {
        if (!Result.empty())
            Result += ";;";
        String Masks = F.Masks;
        std::replace(Masks.begin(), Masks.end(), ';', ' ');
        Result += F.Description + " (" + Masks + ")";
    }
    return Result;
}

// --- TOpenDialog -------------------------------------------------------------

ORLO_PUBLISHED(TOpenDialog, "Dialogs") {
    P.Property("DefaultExt", &TOpenDialog::DefaultExt);
    P.Property("FileName", &TOpenDialog::FileName);
    P.Property("Filter", &TOpenDialog::Filter);
    P.Property("FilterIndex", &TOpenDialog::FilterIndex).Default(1);
    P.Property("InitialDir", &TOpenDialog::InitialDir);
    P.Property("Options", &TOpenDialog::Options).Default(TOpenOptions{ofHideReadOnly}.Bits());
    P.Property("Title", &TOpenDialog::Title);
}
ORLO_PUBLISHED(TSaveDialog, "Dialogs") {}

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

String TOpenDialog::WithDefaultExt(const String& Name) const {
    if (DefaultExt.empty() || Name.empty())
        return Name;
    const size_t Slash = Name.find_last_of("/\\");
    const size_t Dot = Name.rfind('.');
    if (Dot != String::npos && (Slash == String::npos || Dot > Slash))
        return Name;
    return Name + "." + DefaultExt;
}

bool TOpenDialog::ExecuteSystem() {
    NeedWidgetApplication();
    const std::vector<TFileFilter> Filters = ParseFilter(Filter);
    QString Selected;
    if (FilterIndex >= 1 && FilterIndex <= static_cast<Integer>(Filters.size()))
        Selected = ToQString(QtFilterText({Filters[static_cast<size_t>(FilterIndex - 1)]}));
    const QString Dir = ToQString(FileName.empty()     ? InitialDir
                                  : InitialDir.empty() ? FileName
                                                       : InitialDir + "/" + FileName);
    const QString Caption = ToQString(Title);
    const QString FilterText = ToQString(QtFilterText(Filters));
    const std::shared_ptr<const bool> Alive = FAlive; // Qt's dialog runs events
    QStringList Chosen;
    if (IsSave()) {
        QFileDialog::Options QtOptions;
        if (!Options.Contains(ofOverwritePrompt))
            QtOptions |= QFileDialog::DontConfirmOverwrite;
        QString Name =
            QFileDialog::getSaveFileName(nullptr, Caption, Dir, FilterText, &Selected, QtOptions);
        if (!Name.isEmpty())
            Chosen << Name;
    } else if (Options.Contains(ofAllowMultiSelect)) {
        Chosen = QFileDialog::getOpenFileNames(nullptr, Caption, Dir, FilterText, &Selected);
    } else {
        QString Name = QFileDialog::getOpenFileName(nullptr, Caption, Dir, FilterText, &Selected);
        if (!Name.isEmpty())
            Chosen << Name;
    }
    if (Chosen.isEmpty() || !*Alive)
        return false;
    FFiles->Clear();
    for (const QString& Name : Chosen)
        FFiles->Add(WithDefaultExt(FromQString(Name)));
    FileName = FFiles->Get(0);
    return true;
}

bool TOpenDialog::ExecuteForm() {
    TForm Box(nullptr);
    Box.SetName(IsSave() ? "SaveDialog" : "OpenDialog");
    Box.SetCaption(Title.empty() ? String(IsSave() ? "Save As" : "Open") : Title);
    Box.SetBorderStyle(bsDialog);
    Box.SetClientWidth(360);
    Box.SetClientHeight(100);
    auto* Name = new TEdit(&Box);
    Name->SetName("FileName");
    Name->SetParent(&Box);
    Name->SetBounds(8, 8, 344, 21);
    Name->SetText(FileName.empty() ? InitialDir : FileName);
    auto* Filters = new TComboBox(&Box);
    Filters->SetName("Filter");
    Filters->SetParent(&Box);
    Filters->SetStyle(csDropDownList);
    Filters->SetBounds(8, 36, 344, 21);
    for (const TFileFilter& F : ParseFilter(Filter))
        Filters->Items()->Add(F.Description);
    Filters->SetItemIndex(FilterIndex - 1);
    auto* Ok = new TButton(&Box);
    Ok->SetName("OK");
    Ok->SetParent(&Box);
    Ok->SetCaption(IsSave() ? "&Save" : "&Open");
    Ok->SetBounds(196, 68, 75, 25);
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    auto* Cancel = new TButton(&Box);
    Cancel->SetName("Cancel");
    Cancel->SetParent(&Box);
    Cancel->SetCaption("Cancel");
    Cancel->SetBounds(277, 68, 75, 25);
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    const std::shared_ptr<const bool> Alive = FAlive;
    if (Box.ShowModal() != mrOk || !*Alive || Name->Text().empty())
        return false;
    FileName = WithDefaultExt(Name->Text());
    FilterIndex = Filters->ItemIndex() + 1;
    FFiles->Clear();
    FFiles->Add(FileName);
    return true;
}

// --- TFontDialog -------------------------------------------------------------

ORLO_PUBLISHED(TFontDialog, "Dialogs") {
    P.Property("Font", &TFontDialog::Font, &TFontDialog::SetFont);
    P.Property("MinFontSize", &TFontDialog::MinFontSize).Default(0);
    P.Property("MaxFontSize", &TFontDialog::MaxFontSize).Default(0);
    P.Property("Options", &TFontDialog::Options).Default(TFontDialogOptions{fdEffects}.Bits());
}

TFontDialog::TFontDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

std::pair<Integer, Integer> TFontDialog::SizeRange() const {
    if (Options.Contains(fdLimitSize) && MinFontSize > 0 && MaxFontSize >= MinFontSize)
        return {MinFontSize, MaxFontSize};
    return {1, 1638};
}

namespace {

TFontStyles StylesOf(const QFont& Font) {
    TFontStyles Styles;
    if (Font.bold())
        Styles.Include(fsBold);
    if (Font.italic())
        Styles.Include(fsItalic);
    if (Font.underline())
        Styles.Include(fsUnderline);
    if (Font.strikeOut())
        Styles.Include(fsStrikeOut);
    return Styles;
}

} // namespace

bool TFontDialog::ExecuteSystem() {
    NeedWidgetApplication();
    QFontDialog::FontDialogOptions QtOptions;
    if (Options.Contains(fdFixedPitchOnly))
        QtOptions |= QFontDialog::MonospacedFonts;
    if (Options.Contains(fdScalableOnly) || Options.Contains(fdTrueTypeOnly))
        QtOptions |= QFontDialog::ScalableFonts;
    QFont Initial = FFont->ToQFont();
    Initial.setPointSize(FFont->Size());
    bool Accepted = false;
    const std::shared_ptr<const bool> Alive = FAlive; // Qt's dialog runs events
    const QFont Chosen = QFontDialog::getFont(
        &Accepted, Initial, nullptr, ToQString(LocalText("Font", "Schriftart")), QtOptions);
    if (!Accepted || !*Alive)
        return false;
    const auto [Low, High] = SizeRange();
    FFont->SetName(FromQString(Chosen.family()));
    FFont->SetSize(std::clamp(static_cast<Integer>(std::lround(Chosen.pointSizeF())), Low, High));
    // Qt's dialog always offers the effects; without fdEffects they stay.
    TFontStyles Styles = StylesOf(Chosen);
    if (!Options.Contains(fdEffects))
        for (TFontStyle Effect : {fsUnderline, fsStrikeOut})
            FFont->Style().Contains(Effect) ? Styles.Include(Effect) : Styles.Exclude(Effect);
    FFont->SetStyle(Styles);
    return true;
}

// The font dialog's own form: the font's name, size and style with a sample.
class TFontDialogForm : public TForm {
    ORLO_CLASS(TFontDialogForm, TForm)
public:
    TFontDialogForm(TFontDialog* Dialog);

    TComboBox* NameBox;
    TEdit* SizeEdit;
    TCheckBox* Boxes[4]; // in the order of TFontStyle
    TLabel* Sample;
    // The chosen font (colour, pitch and character set from the dialog's).
    TFont Chosen;

private:
    template <class C>
    C* Add(const String& Name, Integer Left, Integer Top, Integer Width, Integer Height);
    TButton* AddButton(const String& Name, const String& Caption, Integer Left);
    void Changed(TObject*);
    void OkClick(TObject*);
    void HelpClick(TObject*);
    std::optional<Integer> ValidSize() const;

    // Copied from the dialog, which a handler may free while the form shows.
    std::pair<Integer, Integer> FSizeRange;
    Integer FHelpContext;
};

ORLO_UNPUBLISHED(TFontDialogForm, "Dialogs")

template <class C>
C* TFontDialogForm::Add(const String& Name, Integer Left, Integer Top, Integer Width,
                        Integer Height) {
    auto* Control = new C(this);
    Control->SetName(Name);
    Control->SetParent(this);
    Control->SetBounds(Left, Top, Width, Height);
    return Control;
}

TButton* TFontDialogForm::AddButton(const String& Name, const String& Caption, Integer Left) {
    auto* Button = Add<TButton>(Name, Left, 176, 75, 25);
    Button->SetCaption(Caption);
    return Button;
}

TFontDialogForm::TFontDialogForm(TFontDialog* Dialog)
    : TForm(nullptr), FSizeRange(Dialog->SizeRange()), FHelpContext(Dialog->HelpContext) {
    SetName("FontDialog");
    SetCaption(LocalText("Font", "Schriftart"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(360);
    SetClientHeight(209);
    Chosen.Assign(Dialog->Font());
    const TNotifyEvent OnChanged = TNotifyEvent::Make<&TFontDialogForm::Changed>(this);

    Add<TLabel>("NameLabel", 8, 8, 200, 13)->SetCaption(LocalText("&Font:", "&Schriftart:"));
    NameBox = Add<TComboBox>("FontName", 8, 24, 240, 21);
    NameBox->SetStyle(csDropDown);
    for (const QString& Family : QFontDatabase::families())
        NameBox->Items()->Add(FromQString(Family));
    NameBox->SetText(Chosen.Name());
    NameBox->OnChange = OnChanged;
    NameBox->SetEnabled(!Dialog->Options.Contains(fdNoFaceSel));

    Add<TLabel>("SizeLabel", 256, 8, 96, 13)->SetCaption(LocalText("&Size:", "&Grad:"));
    SizeEdit = Add<TEdit>("FontSize", 256, 24, 96, 21);
    SizeEdit->SetText(IntToStr(Chosen.Size()));
    SizeEdit->OnChange = OnChanged;
    SizeEdit->SetEnabled(!Dialog->Options.Contains(fdNoSizeSel));

    const char* Names[] = {"Bold", "Italic", "Underline", "StrikeOut"};
    const String Captions[] = {LocalText("&Bold", "&Fett"), LocalText("&Italic", "&Kursiv"),
                               LocalText("&Underline", "&Unterstrichen"),
                               LocalText("Stri&keout", "&Durchgestrichen")};
    for (Integer I = 0; I < 4; ++I) {
        TCheckBox* Box = Add<TCheckBox>(Names[I], 8 + (I % 2) * 120, 56 + (I / 2) * 24, 112, 17);
        Box->SetCaption(Captions[I]);
        Box->SetChecked(Chosen.Style().Contains(static_cast<TFontStyle>(I)));
        Box->OnClick = OnChanged;
        const bool Effect = I >= fsUnderline;
        Box->SetEnabled(Effect || !Dialog->Options.Contains(fdNoStyleSel));
        Box->SetVisible(!Effect || Dialog->Options.Contains(fdEffects));
        Boxes[I] = Box;
    }

    Sample = Add<TLabel>("Sample", 8, 112, 344, 56);
    Sample->SetParentFont(false);
    Sample->SetAutoSize(false);
    Sample->SetCaption("AaBbYyZz");
    Sample->SetFont(&Chosen);

    TButton* Ok = AddButton("OK", "OK", Dialog->Options.Contains(fdShowHelp) ? 115 : 196);
    Ok->SetDefault(true);
    Ok->OnClick = TNotifyEvent::Make<&TFontDialogForm::OkClick>(this);
    TButton* Cancel = AddButton("Cancel", LocalText("Cancel", "Abbrechen"),
                                Dialog->Options.Contains(fdShowHelp) ? 196 : 277);
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    if (Dialog->Options.Contains(fdShowHelp))
        AddButton("Help", LocalText("&Help", "&Hilfe"), 277)->OnClick =
            TNotifyEvent::Make<&TFontDialogForm::HelpClick>(this);
    SetActiveControl(NameBox);
}

std::optional<Integer> TFontDialogForm::ValidSize() const {
    Integer Size = 0;
    const auto [Low, High] = FSizeRange;
    if (!TryStrToInt(Trim(SizeEdit->Text()), Size) || Size < Low || Size > High)
        return std::nullopt;
    return Size;
}

void TFontDialogForm::Changed(TObject*) {
    Chosen.SetName(Trim(NameBox->Text()));
    if (const std::optional<Integer> Size = ValidSize())
        Chosen.SetSize(*Size);
    TFontStyles Styles;
    for (Integer I = 0; I < 4; ++I)
        if (Boxes[I]->Checked() && Boxes[I]->Visible())
            Styles.Include(static_cast<TFontStyle>(I));
    Chosen.SetStyle(Styles);
    Sample->SetFont(&Chosen);
}

void TFontDialogForm::OkClick(TObject*) {
    if (!ValidSize()) {
        const auto [Low, High] = FSizeRange;
        Application->MessageBox(
            Format(LocalText("Size must be a number between %d and %d.",
                             "Der Grad muss eine Zahl zwischen %d und %d sein."),
                   Low, High),
            Caption());
        FocusControl(SizeEdit);
        return;
    }
    Changed(this);
    SetModalResult(mrOk);
}

void TFontDialogForm::HelpClick(TObject*) {
    Application->HelpContext(FHelpContext);
}

bool TFontDialog::ExecuteForm() {
    const std::shared_ptr<const bool> Alive = FAlive;
    TFontDialogForm Form(this);
    if (Form.ShowModal() != mrOk || !*Alive)
        return false;
    FFont->Assign(&Form.Chosen);
    return true;
}

// --- TFolderTree -------------------------------------------------------------

ORLO_UNPUBLISHED(TFolderTree, "Dialogs")

TFolderTree::TFolderTree(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 280, 240);
    FColor = clWindow;
    FParentColor = false;
    SetTabStop(true);
}

TFolderTree::~TFolderTree() {
    ReleaseWidget();
}

QTreeView* TFolderTree::View() const {
    return qobject_cast<QTreeView*>(FWidget);
}

void TFolderTree::SetRoot(const String& Value) {
    FRoot = Value.empty() ? String("/") : Value;
    if (QTreeView* V = View())
        V->setRootIndex(FModel->setRootPath(ToQString(FRoot)));
}

void TFolderTree::SetPath(const String& Value) {
    if (FPath == Value)
        return;
    FPath = Value;
    ApplyPath();
    if (OnChange)
        OnChange(this);
}

void TFolderTree::ApplyPath() {
    QTreeView* V = View();
    if (!V)
        return;
    QSignalBlocker Quiet(V->selectionModel());
    const QModelIndex Index = FPath.empty() ? QModelIndex() : FModel->index(ToQString(FPath));
    V->setCurrentIndex(Index);
    if (Index.isValid())
        V->scrollTo(Index);
}

QWidget* TFolderTree::CreateWidget(QWidget* ParentWidget) {
    auto* V = new QTreeView(ParentWidget);
    FModel = new QFileSystemModel(V);
    FModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    V->setModel(FModel);
    for (int Column = 1; Column < FModel->columnCount(); ++Column)
        V->hideColumn(Column);
    V->header()->hide();
    return V;
}

void TFolderTree::InitWidget() {
    TWinControl::InitWidget();
    SetRoot(FRoot);
    ApplyPath();
    Listen(View()->selectionModel(), &QItemSelectionModel::currentChanged,
           [this](const QModelIndex& Current, const QModelIndex&) {
               SetPath(Current.isValid() ? FromQString(FModel->filePath(Current)) : String());
           });
}

Integer TFolderTree::BackgroundRole() const {
    return QPalette::Base;
}

// --- TFolderBrowser ----------------------------------------------------------

ORLO_UNPUBLISHED(TFolderBrowser, "Dialogs")

TFolderBrowser::TFolderBrowser(TComponent* AOwner) : TForm(AOwner) {
    SetName("FolderBrowser");
    SetCaption("Browse for Folder");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(320);
    SetClientHeight(360);
    TitleLabel = new TLabel(this);
    TitleLabel->SetName("TitleLabel");
    TitleLabel->SetParent(this);
    TitleLabel->SetWordWrap(true);
    TitleLabel->SetBounds(12, 8, 296, 28);
    Tree = new TFolderTree(this);
    Tree->SetName("Tree");
    Tree->SetParent(this);
    Tree->SetBounds(12, 40, 296, 240);
    Tree->OnChange = TNotifyEvent::Make<&TFolderBrowser::TreeChange>(this);
    StatusLabel = new TLabel(this);
    StatusLabel->SetName("StatusLabel");
    StatusLabel->SetParent(this);
    StatusLabel->SetBounds(12, 288, 296, 17);
    OkButton = new TButton(this);
    OkButton->SetName("OK");
    OkButton->SetParent(this);
    OkButton->SetCaption("OK");
    OkButton->SetBounds(152, 324, 75, 25);
    OkButton->SetDefault(true);
    OkButton->SetModalResult(mrOk);
    CancelButton = new TButton(this);
    CancelButton->SetName("Cancel");
    CancelButton->SetParent(this);
    CancelButton->SetCaption("Cancel");
    CancelButton->SetBounds(233, 324, 75, 25);
    CancelButton->SetCancel(true);
    CancelButton->SetModalResult(mrCancel);
    SetActiveControl(Tree);
}

bool TFolderBrowser::Execute() {
    return ShowModal() == mrOk;
}

void TFolderBrowser::DoShow() {
    TForm::DoShow();
    if (OnInitialized)
        OnInitialized(this);
}

void TFolderBrowser::TreeChange(TObject*) {
    if (OnSelectionChange)
        OnSelectionChange(this);
}

String SpecialFolderPath(Integer FolderId) {
    auto Standard = [](QStandardPaths::StandardLocation Location) {
        return FromQString(QStandardPaths::writableLocation(Location));
    };
    switch (FolderId) {
    case 0:  // desktop
    case 16: // desktop directory
        return Standard(QStandardPaths::DesktopLocation);
    case 5: // personal
        return Standard(QStandardPaths::DocumentsLocation);
    case 2:  // programs
    case 11: // start menu
        return Standard(QStandardPaths::ApplicationsLocation);
    case 17: // the computer
        return "/";
    case 20: // fonts
        return Standard(QStandardPaths::FontsLocation);
    default:
        return Standard(QStandardPaths::HomeLocation);
    }
}

} // namespace orlo
