#include "platform/forms/Help.h"

#include "platform/forms/Dialogs.h"
#include "platform/forms/QtSupport.h"
#include "platform/os/FilePaths.h"
#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace orlo {

namespace {

bool IsCompletePath(const String& Name) {
    return !Name.empty() && (IsPathDelimiter(Name[0]) || (Name.size() > 1 && Name[1] == ':'));
}

// A page name without its "#anchor".
String PageFile(const String& Page) {
    return Page.substr(0, Page.find('#'));
}

QUrl PageUrl(const String& Page) {
    const size_t Hash = Page.find('#');
    QUrl Url = QUrl::fromLocalFile(ToQString(PageFile(Page)));
    if (Hash != String::npos)
        Url.setFragment(ToQString(Page.substr(Hash + 1)));
    return Url;
}

String PageOfUrl(const QUrl& Url) {
    if (!Url.isLocalFile())
        return FromQString(Url.toString());
    String Page = FromQString(Url.toLocalFile());
    if (Url.hasFragment())
        Page += "#" + FromQString(Url.fragment());
    return Page;
}

} // namespace

// --- THelpFile ---------------------------------------------------------------

THelpFile::THelpFile(const String& FileName) : FFileName(FileName) {
    if (!RegularFileExists(FileName))
        throw EHelpError(Format("Help file \"%s\" not found", FileName));
    Parse(ReadFileContent(FileName));
}

THelpFile::THelpFile(const String& FileName, const String& Text) : FFileName(FileName) {
    Parse(Text);
}

void THelpFile::LineError(Integer LineNo, const String& What) const {
    throw EHelpError(Format("Help file \"%s\", line %d: %s", FFileName, LineNo, What));
}

void THelpFile::Parse(const String& Text) {
    String Section;
    Integer LineNo = 0;
    size_t Start = Text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (Start < Text.size()) {
        size_t End = Text.find_first_of("\r\n", Start);
        if (End == String::npos)
            End = Text.size();
        const String Line = Trim(Text.substr(Start, End - Start));
        // CR LF is one line end, CR or LF alone another.
        Start = End + (Text.compare(End, 2, "\r\n") == 0 ? 2 : 1);
        ++LineNo;
        if (Line.empty() || Line[0] == ';' || Line[0] == '#')
            continue;
        if (Line.front() == '[') {
            if (Line.back() != ']')
                LineError(LineNo, "']' expected");
            Section = Trim(Line.substr(1, Line.size() - 2));
            continue;
        }
        if (Section.empty())
            LineError(LineNo, "text outside a section");
        ParseLine(Section, Line, LineNo);
    }
}

void THelpFile::ParseLine(const String& Section, const String& Line, Integer LineNo) {
    const size_t Equals = Line.find('=');
    if (Equals == String::npos)
        LineError(LineNo, "'=' expected");
    const String Key = Trim(Line.substr(0, Equals));
    const String Value = Trim(Line.substr(Equals + 1));
    if (SameText(Section, "Help")) {
        if (SameText(Key, "Title"))
            FTitle = Value;
        else if (SameText(Key, "Contents"))
            FContents = Value;
        return;
    }
    if (!SameText(Section, "Map"))
        return;
    Integer Context = 0;
    if (!TryStrToInt(Key, Context))
        LineError(LineNo, Format("context \"%s\" is not a number", Key));
    if (Value.empty())
        LineError(LineNo, Format("no page for context %d", Context));
    if (!FMap.emplace(Context, Value).second)
        LineError(LineNo, Format("context %d is mapped twice", Context));
}

String THelpFile::PagePath(const String& Page) const {
    String Path = Page;
    std::replace(Path.begin(), Path.end(), '\\', '/');
    if (!IsCompletePath(Path))
        Path = ExtractFilePath(FFileName) + Path;
    if (!RegularFileExists(PageFile(Path)))
        throw EHelpError(Format("Help page \"%s\" of help file \"%s\" not found", Page, FFileName));
    return Path;
}

String THelpFile::ContextPage(Integer Context) const {
    const auto Found = FMap.find(Context);
    if (Found == FMap.end())
        throw EHelpError(
            Format("Help file \"%s\" has no topic for context %d", FFileName, Context));
    return PagePath(Found->second);
}

String THelpFile::ContentsPage() const {
    return FContents.empty() ? String() : PagePath(FContents);
}

String HelpFilePath(const String& HelpFile) {
    const String Name = Trim(HelpFile);
    if (Name.empty() || IsCompletePath(Name))
        return Name;
    return ExtractFilePath(ApplicationFileName()) + Name;
}

// --- THelpBrowser ------------------------------------------------------------

namespace {

// Says so in the page area when a link leads to a page that does not exist,
// instead of showing nothing.
class THelpTextBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int Type, const QUrl& Name) override {
        if (Type == QTextDocument::HtmlResource && Name.isLocalFile() &&
            !QFileInfo(Name.toLocalFile()).isFile())
            return ToQString(Format("<html><head><title>%s</title></head><body><h1>%s</h1>"
                                    "<p>%s</p></body></html>",
                                    LocalText("Page not found", "Seite nicht gefunden"),
                                    LocalText("Page not found", "Seite nicht gefunden"),
                                    FromQString(Name.toLocalFile().toHtmlEscaped())));
        return QTextBrowser::loadResource(Type, Name);
    }
};

} // namespace

ORLO_UNPUBLISHED(THelpBrowser, "Help")

THelpBrowser::THelpBrowser(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 400, 300);
    FColor = clWindow;
    FParentColor = false;
    SetTabStop(true);
}

THelpBrowser::~THelpBrowser() {
    ReleaseWidget();
}

QTextBrowser* THelpBrowser::View() const {
    return static_cast<QTextBrowser*>(FWidget);
}

QWidget* THelpBrowser::CreateWidget(QWidget* ParentWidget) {
    auto* Browser = new THelpTextBrowser(ParentWidget);
    Browser->setOpenLinks(true);
    Browser->setOpenExternalLinks(true);
    return Browser;
}

void THelpBrowser::InitWidget() {
    TWinControl::InitWidget();
    Listen(View(), &QTextBrowser::historyChanged, [this] { Changed(); });
}

Integer THelpBrowser::BackgroundRole() const {
    return QPalette::Base;
}

void THelpBrowser::Changed() {
    if (OnChange)
        OnChange(this);
}

String THelpBrowser::Source() const {
    return FWidget ? PageOfUrl(View()->source()) : String();
}

void THelpBrowser::SetSource(const String& Page) {
    HandleNeeded();
    View()->setSource(PageUrl(Page));
}

void THelpBrowser::FollowLink(const String& Href) {
    HandleNeeded();
    const QUrl Link = View()->source().resolved(QUrl(ToQString(Href)));
    if (Link.isLocalFile())
        View()->setSource(Link);
    else
        QDesktopServices::openUrl(Link);
}

bool THelpBrowser::CanGoBack() const {
    return FWidget && View()->isBackwardAvailable();
}

bool THelpBrowser::CanGoForward() const {
    return FWidget && View()->isForwardAvailable();
}

void THelpBrowser::Back() {
    if (FWidget)
        View()->backward();
}

void THelpBrowser::Forward() {
    if (FWidget)
        View()->forward();
}

String THelpBrowser::DocumentTitle() const {
    return FWidget ? FromQString(View()->documentTitle()) : String();
}

String THelpBrowser::PlainText() const {
    return FWidget ? FromQString(View()->toPlainText()) : String();
}

// --- THelpWindow -------------------------------------------------------------

namespace {

THelpWindow* TheHelpWindow = nullptr;

} // namespace

ORLO_UNPUBLISHED(THelpWindow, "Help")

THelpWindow::THelpWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("HelpWindow");
    SetCaption(LocalText("Help", "Hilfe"));
    SetClientWidth(640);
    SetClientHeight(480);
    ButtonBar = new TPanel(this);
    ButtonBar->SetName("ButtonBar");
    ButtonBar->SetParent(this);
    ButtonBar->SetAlign(alTop);
    ButtonBar->SetHeight(33);
    ButtonBar->SetBevelOuter(bvNone);
    BackButton = AddButton("BackButton", LocalText("< &Back", "< &Zurück"), 4);
    BackButton->OnClick = TNotifyEvent::Make<&THelpWindow::BackClick>(this);
    ForwardButton = AddButton("ForwardButton", LocalText("&Forward >", "&Vor >"), 88);
    ForwardButton->OnClick = TNotifyEvent::Make<&THelpWindow::ForwardClick>(this);
    ContentsButton = AddButton("ContentsButton", LocalText("&Contents", "&Inhalt"), 172);
    ContentsButton->OnClick = TNotifyEvent::Make<&THelpWindow::ContentsClick>(this);
    Browser = new THelpBrowser(this);
    Browser->SetName("Browser");
    Browser->SetParent(this);
    Browser->SetAlign(alClient);
    Browser->OnChange = TNotifyEvent::Make<&THelpWindow::BrowserChange>(this);
    SetActiveControl(Browser);
    BrowserChange(this);
}

THelpWindow::~THelpWindow() {
    if (TheHelpWindow == this)
        TheHelpWindow = nullptr;
}

TButton* THelpWindow::AddButton(const String& Name, const String& Caption, Integer Left) {
    auto* Button = new TButton(this);
    Button->SetName(Name);
    Button->SetParent(ButtonBar);
    Button->SetBounds(Left, 4, 80, 25);
    Button->SetCaption(Caption);
    Button->SetTabStop(false);
    return Button;
}

void THelpWindow::ShowPage(const THelpFile& File, const String& Page) {
    FHelpFile = File.FileName();
    FContentsPage = File.ContentsPage();
    SetCaption(File.Title().empty() ? LocalText("Help", "Hilfe") : File.Title());
    Browser->SetSource(Page);
    BrowserChange(this);
    Show(); // as a form that is not modal
    RaiseAboveModalForms();
}

namespace {

// Tells the help window when the modal window it was raised above hides.
class TModalWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Hide && TheHelpWindow) {
            Watched->removeEventFilter(this);
            TheHelpWindow->RaiseAboveModalForms();
        }
        return false;
    }
};

} // namespace

// A help window asked for from a modal dialog would be blocked by it, so it
// is modal itself above the dialog; once the dialog hides it is independent
// again instead of blocking the other windows in turn.
void THelpWindow::RaiseAboveModalForms() {
    QWidget* Window = Handle();
    QWidget* Modal = QApplication::activeModalWidget();
    if (Modal == Window)
        Modal = nullptr;
    if (Modal)
        Modal->installEventFilter(new TModalWatch(Window));
    const Qt::WindowModality Wanted = Modal ? Qt::ApplicationModal : Qt::NonModal;
    if (Window->windowModality() == Wanted)
        return;
    const bool WasVisible = Window->isVisible();
    Window->hide(); // modality changes only while hidden
    Window->setWindowModality(Wanted);
    if (WasVisible)
        Window->show();
}

void THelpWindow::BackClick(TObject*) {
    Browser->Back();
}

void THelpWindow::ForwardClick(TObject*) {
    Browser->Forward();
}

void THelpWindow::ContentsClick(TObject*) {
    if (!FContentsPage.empty())
        Browser->SetSource(FContentsPage);
}

void THelpWindow::BrowserChange(TObject*) {
    BackButton->SetEnabled(Browser->CanGoBack());
    ForwardButton->SetEnabled(Browser->CanGoForward());
    ContentsButton->SetEnabled(!FContentsPage.empty());
}

THelpWindow* HelpWindow() noexcept {
    return TheHelpWindow;
}

bool ShowHelp(const String& HelpFile, Word Command, Integer Data) {
    if (Command == HELP_QUIT) {
        if (TheHelpWindow)
            TheHelpWindow->Hide();
        return true;
    }
    if (Command != HELP_CONTEXT && Command != HELP_CONTENTS && Command != HELP_FINDER)
        return false;
    const THelpFile File(HelpFilePath(HelpFile));
    const String Page = Command == HELP_CONTEXT ? File.ContextPage(Data) : File.ContentsPage();
    if (Page.empty())
        throw EHelpError(Format("Help file \"%s\" has no contents page", File.FileName()));
    if (!TheHelpWindow)
        TheHelpWindow = new THelpWindow(Application);
    TheHelpWindow->ShowPage(File, Page);
    return true;
}

} // namespace orlo
