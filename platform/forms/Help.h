#pragma once
// Application help: a help file maps context numbers to HTML pages, which the
// application's help window shows (one window per application, not modal,
// with back, forward and contents, following the pages' links).
//
// A help file (".hlp") is a text file beside its pages:
//
//   ; Notes help, English
//   [Help]
//   Title=Notes Help
//   Contents=en/index.html
//   [Map]
//   100=en/editor.html
//   200=en/editor.html#keys
//
// Page names are relative to the help file's folder ("/" or "\"), or
// complete. Lines starting with ";" or "#" are comments; other sections and
// keys are ignored. A help file name that is not complete is taken from the
// running program's folder. docs/HELP.md tells how an application ships its
// help, one help file per language.

#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <map>

class QTextBrowser;

namespace orlo {

// A help file that cannot be read or used, a context without a topic, a
// missing page:
//   Help file "<file>" not found
//   Help file "<file>", line <n>: <what>
//   Help file "<file>" has no topic for context <n>
//   Help file "<file>" has no contents page
//   Help page "<page>" of help file "<file>" not found
ORLO_EXCEPTION(EHelpError, Exception);

class THelpFile {
public:
    // Reads the help file; EHelpError when it is missing or malformed,
    // EFOpenError when the system refuses to read it.
    explicit THelpFile(const String& FileName);
    // The help file FileName with this text (its folder places the pages).
    THelpFile(const String& FileName, const String& Text);

    const String& FileName() const noexcept { return FFileName; }
    const String& Title() const noexcept { return FTitle; }
    // The page of a context, complete, with its "#anchor"; EHelpError when
    // the context has no topic or its page does not exist.
    String ContextPage(Integer Context) const;
    // The contents page; "" when the file names none.
    String ContentsPage() const;
    // The pages by context, as written in the file.
    const std::map<Integer, String>& Map() const noexcept { return FMap; }

private:
    void Parse(const String& Text);
    void ParseLine(const String& Section, const String& Line, Integer LineNo);
    [[noreturn]] void LineError(Integer LineNo, const String& What) const;
    String PagePath(const String& Page) const;

    String FFileName;
    String FTitle;
    String FContents;
    std::map<Integer, String> FMap;
};

// The complete name of a help file: as given when complete, else in the
// running program's folder.
String HelpFilePath(const String& HelpFile);

// The page view of the help window (a text browser).
class THelpBrowser : public TWinControl {
    ORLO_CLASS(THelpBrowser, TWinControl)
public:
    explicit THelpBrowser(TComponent* AOwner);
    ~THelpBrowser() override;

    // The page shown: its complete file name with the "#anchor" it was opened at.
    String Source() const;
    void SetSource(const String& Page);
    // A link of the page shown, followed as a click on it would; links out of
    // the help (http:, mailto:) go to the desktop's programs.
    void FollowLink(const String& Href);
    bool CanGoBack() const;
    bool CanGoForward() const;
    void Back();
    void Forward();
    // The shown page's title and text.
    String DocumentTitle() const;
    String PlainText() const;

    // After the page or the history changed.
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget(QWidget* ParentWidget) override;
    void InitWidget() override;
    Integer BackgroundRole() const override;

private:
    QTextBrowser* View() const;
    void Changed();
};

// The help window: Back, Forward and Contents above the page.
class THelpWindow : public TForm {
    ORLO_CLASS(THelpWindow, TForm)
public:
    explicit THelpWindow(TComponent* AOwner);
    ~THelpWindow() override;

    // Shows the window (not modally) at a page of the help file.
    void ShowPage(const THelpFile& File, const String& Page);
    // The help file whose page shows.
    const String& HelpFile() const noexcept { return FHelpFile; }
    // Makes the window usable while a modal form shows (modal above it),
    // and independent again when none does.
    void RaiseAboveModalForms();

    TPanel* ButtonBar;
    TButton* BackButton;
    TButton* ForwardButton;
    TButton* ContentsButton;
    THelpBrowser* Browser;

private:
    TButton* AddButton(const String& Name, const String& Caption, Integer Left);
    void BackClick(TObject*);
    void ForwardClick(TObject*);
    void ContentsClick(TObject*);
    void BrowserChange(TObject*);

    String FHelpFile;
    String FContentsPage;
};

// The application's help window; nil until help was first shown.
THelpWindow* HelpWindow() noexcept;

// Carries out a help command on a help file: HELP_CONTEXT shows the
// context's page, HELP_CONTENTS and HELP_FINDER the contents page, HELP_QUIT
// hides the window. False for other commands. EHelpError as THelpFile.
bool ShowHelp(const String& HelpFile, Word Command, Integer Data);

} // namespace orlo
