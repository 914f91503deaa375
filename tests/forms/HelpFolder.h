#pragma once
// A help folder for tests: an English and a German help file with their
// pages, and the application pointed at the English one. Header only, so the
// widget tests use it too.

#include "platform/forms/Help.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"
#include "tests/os/TempFolder.h"

#include <filesystem>

namespace orlo::test {

// Notes.hlp: contexts 100 (en/editor.html), 200 (its "#keys"), 300 (a page
// that is missing) and the contents en/index.html; NotesGer.hlp: 100 and 200
// in de/, contents de/index.html.
class THelpFolder : public TTempFolder {
public:
    THelpFolder() {
        std::filesystem::create_directories(File("en"));
        std::filesystem::create_directories(File("de"));
        Write("Notes.hlp", "; Notes help, English\n[Help]\nTitle=Notes Help\n"
                           "Contents=en/index.html\n\n[Map]\n100=en/editor.html\n"
                           "200 = en\\editor.html#keys\n300=en/gone.html\n");
        Write("NotesGer.hlp", "[Help]\r\nTitle=Notizen-Hilfe\r\nContents=de/index.html\r\n"
                              "[Map]\r\n100=de/editor.html\r\n200=de/editor.html#keys\r\n");
        Write("en/index.html", Page("Contents", "<p><a href=\"editor.html\">The editor</a></p>"
                                                "<p><a href=\"nowhere.html\">Lost</a></p>"));
        Write("en/editor.html",
              Page("The editor", "<p>Edit texts.</p><h2><a name=\"keys\">Keys</a></h2>"
                                 "<p><a href=\"index.html\">Contents</a></p>"));
        Write("de/index.html", Page("Inhalt", "<p><a href=\"editor.html\">Der Editor</a></p>"));
        Write("de/editor.html", Page("Der Editor", "<p>Texte bearbeiten.</p>"));
        Application->HelpFile = File("Notes.hlp");
    }
    ~THelpFolder() {
        Application->HelpFile.clear();
        if (THelpWindow* Window = HelpWindow())
            Window->Free();
    }

    void Write(const String& Name, const String& Content) const {
        ReplaceFileContent(File(Name), Content);
    }
    // What the help window shows now ("" without a window).
    static String Shown() { return HelpWindow() ? HelpWindow()->Browser->Source() : String(); }

private:
    static String Page(const char* Title, const char* Body) {
        return Format("<html><head><title>%s</title></head><body><h1>%s</h1>%s</body></html>",
                      Title, Title, Body);
    }
};

} // namespace orlo::test
