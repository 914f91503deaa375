#include "platform/ide/ToolServices.h"

#include "platform/os/FilePaths.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <filesystem>

namespace orlo {

namespace {

std::unique_ptr<TIToolServices>& InstalledServices() {
    static std::unique_ptr<TIToolServices> Services;
    return Services;
}

TIToolServices& ActiveServices() {
    if (TIToolServices* Services = ToolServices())
        return *Services;
    return DiskSourceFiles();
}

// The one line end a unit's text ends with: CR LF, LF or none.
String TrailingLineEnd(const String& Text) {
    if (Text.ends_with("\r\n"))
        return "\r\n";
    if (Text.ends_with("\n"))
        return "\n";
    return String();
}

// Regular files only: a folder does not read, and a pipe or device planted
// in a unit's place would block or never end.
std::optional<String> ReadFile(const String& FileName) {
    if (!RegularFileExists(FileName))
        return std::nullopt;
    try {
        return ReadFileContent(FileName);
    } catch (const Exception&) {
        return std::nullopt;
    }
}

// The name after "object", "inherited" or "inline" on the first line of a text form.
std::optional<String> TextFormRootName(const String& Text) {
    size_t Start = Text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const size_t End = Text.find_first_of("\r\n", Start);
    String Line = Trim(Text.substr(Start, End == String::npos ? String::npos : End - Start));
    const size_t Blank = Line.find_first_of(" \t");
    if (Blank == String::npos)
        return std::nullopt;
    const String Keyword = Line.substr(0, Blank);
    if (!SameText(Keyword, "object") && !SameText(Keyword, "inherited") &&
        !SameText(Keyword, "inline"))
        return std::nullopt;
    const size_t Colon = Line.find(':', Blank);
    if (Colon == String::npos)
        return std::nullopt;
    String Name = Trim(Line.substr(Blank, Colon - Blank));
    if (Name.empty())
        return std::nullopt;
    return Name;
}

// "TPF0", an optional flags byte (with the child position value it may
// announce), the class name and the component name as counted strings.
std::optional<String> BinaryFormRootName(const String& Data) {
    size_t At = 4;
    auto Byte = [&](unsigned char& Out) {
        if (At >= Data.size())
            return false;
        Out = static_cast<unsigned char>(Data[At++]);
        return true;
    };
    auto Counted = [&]() -> std::optional<String> {
        unsigned char Length = 0;
        if (!Byte(Length) || At + Length > Data.size())
            return std::nullopt;
        String Text = Data.substr(At, Length);
        At += Length;
        return Text;
    };
    unsigned char First = 0;
    if (!Byte(First))
        return std::nullopt;
    if ((First & 0xF0) == 0xF0) {
        if (First & 0x02) { // child position: a small integer value follows
            unsigned char Type = 0;
            if (!Byte(Type) || Type < 2 || Type > 4)
                return std::nullopt;
            At += Type == 2 ? 1 : Type == 3 ? 2 : 4;
        }
    } else {
        --At; // no flags: this byte counts the class name
    }
    if (!Counted())
        return std::nullopt;
    std::optional<String> Name = Counted();
    if (!Name || Name->empty())
        return std::nullopt;
    return Name;
}

} // namespace

TIToolServices* ToolServices() noexcept {
    return InstalledServices().get();
}

std::unique_ptr<TIToolServices> SetToolServices(std::unique_ptr<TIToolServices> Services) {
    std::swap(InstalledServices(), Services);
    return Services;
}

std::optional<String> FormRootName(const String& Content) {
    return Content.starts_with("TPF0") ? BinaryFormRootName(Content) : TextFormRootName(Content);
}

std::optional<String> FormFileRootName(const String& FileName) {
    const std::optional<String> Content = ReadFile(FileName);
    return Content ? FormRootName(*Content) : std::nullopt;
}

// --- TDiskSourceFiles --------------------------------------------------------

void TDiskSourceFiles::RegisterFormUnit(const String& FormName, const String& UnitFile) {
    const String Name = Trim(FormName);
    std::erase_if(FFormUnits, [&](const auto& Entry) { return SameText(Entry.first, Name); });
    FFormUnits.emplace_back(Name, Trim(UnitFile));
}

void TDiskSourceFiles::AddSearchFolder(const String& Folder) {
    FSearchFolders.push_back(Trim(Folder));
}

void TDiskSourceFiles::Clear() {
    FCurrentFile.clear();
    FFormUnits.clear();
    FSearchFolders.clear();
}

std::optional<String> TDiskSourceFiles::FindFormUnit(const String& FormName) const {
    for (const auto& [Form, Unit] : FFormUnits)
        if (SameText(Form, FormName))
            return Unit;
    for (const String& Folder : FSearchFolders) {
        std::error_code Error;
        std::vector<String> FormFiles;
        for (const auto& Entry : std::filesystem::directory_iterator(Folder, Error))
            if (SameText(Entry.path().extension().string(), ".dfm"))
                FormFiles.push_back(Entry.path().string());
        std::sort(FormFiles.begin(), FormFiles.end());
        for (const String& FormFile : FormFiles) {
            const std::optional<String> Root = FormFileRootName(FormFile);
            if (!Root || !SameText(*Root, FormName))
                continue;
            for (const char* Extension : {".pas", ".cpp", ".cc", ".cxx"}) {
                const String Unit = ChangeFileExt(FormFile, Extension);
                if (FileExists(Unit))
                    return Unit;
            }
        }
    }
    return std::nullopt;
}

std::optional<String> TDiskSourceFiles::UnitFileName(bool IsForm, const String& Name) const {
    const String Trimmed = Trim(Name);
    if (Trimmed.empty())
        return std::nullopt;
    return IsForm ? FindFormUnit(Trimmed) : Trimmed;
}

std::optional<String> TDiskSourceFiles::ReadSourceCode(bool IsForm, const String& Name) {
    const std::optional<String> FileName = UnitFileName(IsForm, Name);
    if (!FileName)
        return std::nullopt;
    std::optional<String> Text = ReadFile(*FileName);
    if (Text)
        Text->resize(Text->size() - TrailingLineEnd(*Text).size());
    return Text;
}

bool TDiskSourceFiles::WriteSourceCode(bool IsForm, const String& Name, const String& Source) {
    const std::optional<String> FileName = UnitFileName(IsForm, Name);
    if (!FileName)
        return false;
    if (FileGetAttr(*FileName) & faReadOnly)
        return false;
    const std::optional<String> Old = ReadFile(*FileName); // a unit is never created
    if (!Old)
        return false;
    try {
        ReplaceFileContent(*FileName, Source + TrailingLineEnd(*Old));
    } catch (const Exception&) {
        return false;
    }
    return true;
}

TDiskSourceFiles& DiskSourceFiles() {
    static TDiskSourceFiles Files;
    return Files;
}

String GetCurrentFile() {
    return ActiveServices().GetCurrentFile();
}

std::optional<String> ReadSourceCode(bool IsForm, const String& Name) {
    return ActiveServices().ReadSourceCode(IsForm, Name);
}

bool WriteSourceCode(bool IsForm, const String& Name, const String& Source) {
    return ActiveServices().WriteSourceCode(IsForm, Name, Source);
}

} // namespace orlo
