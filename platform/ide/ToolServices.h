#pragma once
// Source access of the development environment: the file currently open, and
// the text of a unit read and replaced by the name of its form or by its file
// name. A development environment installs its own services (its editor
// buffers); a program without one works on the files on disk.
//
//   ReadSourceCode(true, "MainForm")        // the unit of the form MainForm
//   ReadSourceCode(false, "/src/Tools.cpp") // a unit by its file name
//
// Text comes back without its one trailing line end (CR LF, or the LF of
// this platform), and writing puts back the line end the unit had, so a read
// followed by a write of the same text leaves the file as it was.

#include "platform/rtl/Types.h"

#include <memory>
#include <optional>
#include <vector>

namespace orlo {

class TIToolServices {
public:
    virtual ~TIToolServices() = default;
    // The file the user works on now; "" when none.
    virtual String GetCurrentFile() = 0;
    // The unit's text without its trailing line end; nothing when the unit
    // cannot be found or read.
    virtual std::optional<String> ReadSourceCode(bool IsForm, const String& Name) = 0;
    // Replaces the unit's text; false when it cannot be found or written.
    virtual bool WriteSourceCode(bool IsForm, const String& Name, const String& Source) = 0;
};

// The development environment's services; nil in a program without one
// (what "the IDE is present" asks).
TIToolServices* ToolServices() noexcept;
// Installs the environment's services (nil removes them); returns the ones replaced.
std::unique_ptr<TIToolServices> SetToolServices(std::unique_ptr<TIToolServices> Services);

// Units as files on disk. A form's unit is the file registered for the form's
// name, else the unit beside the form file of that name found in the search
// folders (the form file "Main.dfm" whose root is "object MainForm: ..." gives
// "Main.pas", "Main.cpp", "Main.cc" or "Main.cxx", the first that exists). A
// file name is used as given. Names are trimmed; form names are compared
// without regard to case. Writing replaces the file safely (a crash leaves the
// old or the new text, a symbolic link stays a link) and never creates a unit
// or changes one that is read-only.
class TDiskSourceFiles : public TIToolServices {
public:
    String GetCurrentFile() override { return FCurrentFile; }
    void SetCurrentFile(const String& FileName) { FCurrentFile = FileName; }
    std::optional<String> ReadSourceCode(bool IsForm, const String& Name) override;
    bool WriteSourceCode(bool IsForm, const String& Name, const String& Source) override;

    // The unit of a form, taking precedence over the search.
    void RegisterFormUnit(const String& FormName, const String& UnitFile);
    // A folder searched for form files; searched in the order added.
    void AddSearchFolder(const String& Folder);
    void Clear();

    // The file that holds the unit; nothing when there is none.
    std::optional<String> UnitFileName(bool IsForm, const String& Name) const;

private:
    std::optional<String> FindFormUnit(const String& FormName) const;

    String FCurrentFile;
    std::vector<std::pair<String, String>> FFormUnits; // form name, unit file
    std::vector<String> FSearchFolders;
};

// The files-on-disk services of this process, used while no environment is installed.
TDiskSourceFiles& DiskSourceFiles();

// The routines the editor and the expert call: through the environment's
// services when installed, else through DiskSourceFiles().
String GetCurrentFile();
std::optional<String> ReadSourceCode(bool IsForm, const String& Name);
bool WriteSourceCode(bool IsForm, const String& Name, const String& Source);

// The name of the root component a form file (text or binary) declares;
// nothing when the file is not a readable form file.
std::optional<String> FormFileRootName(const String& FileName);
// The same for the content of a form file.
std::optional<String> FormRootName(const String& Content);

} // namespace orlo
