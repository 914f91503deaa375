#include "platform/classes/IniFiles.h"

#include "platform/classes/Strings.h"
#include "platform/classes/TypInfo.h"
#include "platform/os/FilePaths.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlo {

ORLO_UNPUBLISHED(TIniFile, "IniFiles");

namespace {

constexpr const char* ByteOrderMark = "\xEF\xBB\xBF";

String Folded(const String& Name) {
    return UnicodeLowerCase(Trim(Name));
}

bool HasLineBreak(const String& S) {
    return S.find_first_of("\r\n") != String::npos;
}

bool IsCommentStart(char C) {
    return C == ';' || C == '#';
}

// Holds an exclusive lock on the INI file for as long as it lives. A file
// replaced meanwhile is locked again, so every writer sees its predecessor's work.
class TFileLock {
public:
    explicit TFileLock(const String& FileName) {
        const String Native = NativePath(FileName);
        for (;;) {
            FHandle = open(Native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            if (FHandle < 0)
                FHandle = open(Native.c_str(), O_RDONLY | O_CLOEXEC);
            if (FHandle < 0)
                throw EFCreateError(
                    Format("Cannot create file \"%s\". %s", FileName, strerror(errno)));
            while (flock(FHandle, LOCK_EX) != 0 && errno == EINTR) {
            }
            struct stat Locked, Named;
            if (fstat(FHandle, &Locked) == 0 && stat(Native.c_str(), &Named) == 0 &&
                Locked.st_ino == Named.st_ino && Locked.st_dev == Named.st_dev)
                return;
            close(FHandle);
        }
    }
    ~TFileLock() { close(FHandle); }
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

private:
    int FHandle = -1;
};

} // namespace

// --- TIniDocument ----------------------------------------------------------

TIniDocument::TIniDocument(const String& Text) {
    size_t Start = 0;
    if (Text.rfind(ByteOrderMark, 0) == 0) {
        FByteOrderMark = true;
        Start = 3;
    }
    bool StyleSeen = false;
    while (Start < Text.size()) {
        size_t End = Text.find_first_of("\r\n", Start);
        if (End == String::npos)
            End = Text.size();
        FLines.push_back(ParseLine(Text.substr(Start, End - Start)));
        // CR LF, LF and a lone CR all end a line; the first one sets the style.
        const size_t BreakLength = Text.compare(End, 2, "\r\n") == 0 ? 2 : 1;
        if (End < Text.size() && !StyleSeen) {
            FLineBreak = Text.substr(End, BreakLength);
            StyleSeen = true;
        }
        Start = End + BreakLength;
    }
    Reindex();
}

TIniDocument::TLine TIniDocument::ParseLine(const String& Text) {
    TLine Line;
    Line.Text = Text;
    const String Trimmed = Trim(Text);
    if (Trimmed.empty() || IsCommentStart(Trimmed[0]))
        return Line;
    if (Trimmed[0] == '[') {
        const size_t Close = Trimmed.find(']');
        if (Close != String::npos) {
            Line.Kind = lkSection;
            Line.Name = Trim(Trimmed.substr(1, Close - 1));
        }
        return Line;
    }
    const size_t Equals = Trimmed.find('=');
    if (Equals == String::npos || Trim(Trimmed.substr(0, Equals)).empty())
        return Line;
    Line.Kind = lkEntry;
    Line.Name = Trim(Trimmed.substr(0, Equals));
    Line.Value = Trim(Trimmed.substr(Equals + 1));
    return Line;
}

void TIniDocument::Reindex() {
    FSections.clear();
    FSectionOrder.clear();
    TSectionIndex* Current = nullptr;
    bool FirstOccurrence = false;
    for (size_t I = 0; I < FLines.size(); ++I) {
        const TLine& Line = FLines[I];
        if (Line.Kind == lkSection) {
            const String Key = Folded(Line.Name);
            auto [It, Inserted] = FSections.try_emplace(Key);
            if (Inserted) {
                It->second.Name = Line.Name;
                It->second.Last = I;
                FSectionOrder.push_back(Key);
            }
            Current = &It->second;
            FirstOccurrence = Inserted;
            continue;
        }
        if (!Current)
            continue; // lines before the first section belong to none
        if (FirstOccurrence && !Trim(Line.Text).empty())
            Current->Last = I;
        if (Line.Kind == lkEntry && Current->Idents.try_emplace(Folded(Line.Name), I).second)
            Current->Entries.push_back(I);
    }
}

const TIniDocument::TSectionIndex* TIniDocument::FindSection(const String& Section) const {
    const auto It = FSections.find(Folded(Section));
    return It == FSections.end() ? nullptr : &It->second;
}

String TIniDocument::Text() const {
    String Result = FByteOrderMark ? ByteOrderMark : "";
    for (const TLine& Line : FLines)
        Result += Line.Text + FLineBreak;
    return Result;
}

std::vector<String> TIniDocument::Sections() const {
    std::vector<String> Names;
    for (const String& Key : FSectionOrder)
        Names.push_back(FSections.at(Key).Name);
    return Names;
}

bool TIniDocument::SectionExists(const String& Section) const {
    return FindSection(Section) != nullptr;
}

std::vector<String> TIniDocument::Idents(const String& Section) const {
    std::vector<String> Names;
    if (const TSectionIndex* Found = FindSection(Section))
        for (size_t Line : Found->Entries)
            Names.push_back(FLines[Line].Name);
    return Names;
}

std::optional<String> TIniDocument::Value(const String& Section, const String& Ident) const {
    const TSectionIndex* Found = FindSection(Section);
    if (!Found)
        return std::nullopt;
    const auto It = Found->Idents.find(Folded(Ident));
    if (It == Found->Idents.end())
        return std::nullopt;
    return FLines[It->second].Value;
}

void TIniDocument::CheckEntry(const String& Section, const String& Ident, const String& Value) {
    const String SectionName = Trim(Section);
    const String IdentName = Trim(Ident);
    if (SectionName.empty() || SectionName.find(']') != String::npos || HasLineBreak(SectionName))
        throw EIniFileException(Format("Invalid section name '%s'", Section));
    if (IdentName.empty() || IdentName.find('=') != String::npos || HasLineBreak(IdentName) ||
        IdentName[0] == '[' || IsCommentStart(IdentName[0]))
        throw EIniFileException(Format("Invalid identifier '%s'", Ident));
    if (HasLineBreak(Value))
        throw EIniFileException(Format("Line break in the value of '%s'", Ident));
}

void TIniDocument::SetValue(const String& Section, const String& Ident, const String& Value) {
    CheckEntry(Section, Ident, Value);
    const String SectionName = Trim(Section);
    const String IdentName = Trim(Ident);

    const TSectionIndex* Found = FindSection(SectionName);
    if (Found) {
        const auto It = Found->Idents.find(Folded(IdentName));
        if (It != Found->Idents.end()) {
            TLine& Line = FLines[It->second];
            Line = ParseLine(Line.Name + "=" + Value);
        } else {
            FLines.insert(FLines.begin() + static_cast<ptrdiff_t>(Found->Last + 1),
                          ParseLine(IdentName + "=" + Value));
        }
    } else {
        if (!FLines.empty() && !Trim(FLines.back().Text).empty())
            FLines.push_back(ParseLine(String()));
        FLines.push_back(ParseLine("[" + SectionName + "]"));
        FLines.push_back(ParseLine(IdentName + "=" + Value));
    }
    Reindex();
}

template <class F> bool TIniDocument::RemoveLines(F&& Doomed) {
    std::optional<String> Section; // folded; none before the first section
    size_t Out = 0;
    for (size_t In = 0; In < FLines.size(); ++In) {
        if (FLines[In].Kind == lkSection)
            Section = Folded(FLines[In].Name);
        if (Section && Doomed(FLines[In], *Section))
            continue;
        if (Out != In)
            FLines[Out] = std::move(FLines[In]);
        ++Out;
    }
    const bool Removed = Out != FLines.size();
    FLines.resize(Out);
    if (Removed)
        Reindex();
    return Removed;
}

bool TIniDocument::EraseSection(const String& Section) {
    const String Key = Folded(Section);
    return RemoveLines([&](const TLine&, const String& In) { return In == Key; });
}

bool TIniDocument::DeleteKey(const String& Section, const String& Ident) {
    const String SectionKey = Folded(Section);
    const String IdentKey = Folded(Ident);
    return RemoveLines([&](const TLine& Line, const String& In) {
        return In == SectionKey && Line.Kind == lkEntry && Folded(Line.Name) == IdentKey;
    });
}

// --- TIniFile --------------------------------------------------------------

struct TIniFile::TFileIdentity {
    bool Exists = false;
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
    timespec Changed{};

    static TFileIdentity Of(const String& FileName) {
        TFileIdentity Identity;
        struct stat Info;
        if (stat(NativePath(FileName).c_str(), &Info) == 0 && !S_ISDIR(Info.st_mode)) {
            Identity.Exists = true;
            Identity.Device = Info.st_dev;
            Identity.Inode = Info.st_ino;
            Identity.Size = Info.st_size;
            Identity.Modified = Info.st_mtim;
            Identity.Changed = Info.st_ctim;
        }
        return Identity;
    }
    bool operator==(const TFileIdentity& Other) const {
        return Exists == Other.Exists && Device == Other.Device && Inode == Other.Inode &&
               Size == Other.Size && Modified.tv_sec == Other.Modified.tv_sec &&
               Modified.tv_nsec == Other.Modified.tv_nsec &&
               Changed.tv_sec == Other.Changed.tv_sec && Changed.tv_nsec == Other.Changed.tv_nsec;
    }
};

TIniFile::TIniFile(const String& FileName) : FFileName(FileName) {}

TIniFile::~TIniFile() = default;

const TIniDocument& TIniFile::Current() {
    TFileIdentity Identity = TFileIdentity::Of(FFileName);
    if (FIdentity && *FIdentity == Identity)
        return FDocument;
    String Text;
    if (Identity.Exists) {
        try {
            Text = ReadFileContent(FFileName);
        } catch (const EFOpenError&) {
            Identity.Exists = false; // unreadable: it reads as empty, as a missing file
        }
    }
    FDocument = TIniDocument(Text);
    FIdentity = std::make_unique<TFileIdentity>(Identity);
    return FDocument;
}

template <class F> void TIniFile::Modify(bool CreateFile, F&& Change) {
    if (!CreateFile && !FileExists(FFileName))
        return;
    TFileLock Lock(FFileName);
    const Integer Attr = FileGetAttr(FFileName);
    TIniDocument Document(ReadFileContent(FFileName));
    if (!Change(Document))
        return;
    if (Attr != -1 && (Attr & faReadOnly))
        throw EIniFileException(Format("Unable to write to \"%s\"", FFileName));
    ReplaceFileContent(FFileName, Document.Text());
    FDocument = std::move(Document);
    FIdentity = std::make_unique<TFileIdentity>(TFileIdentity::Of(FFileName));
}

bool TIniFile::SectionExists(const String& Section) {
    return Current().SectionExists(Section);
}

bool TIniFile::ValueExists(const String& Section, const String& Ident) {
    return Current().Value(Section, Ident).has_value();
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
    return Current().Value(Section, Ident).value_or(Default);
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    TIniDocument::CheckEntry(Section, Ident, Value);
    Modify(true, [&](TIniDocument& Document) {
        if (Document.Value(Section, Ident) == Value)
            return false;
        Document.SetValue(Section, Ident, Value);
        return true;
    });
}

void TIniFile::WriteStringIfMissing(const String& Section, const String& Ident,
                                    const String& Value) {
    TIniDocument::CheckEntry(Section, Ident, Value);
    Modify(true, [&](TIniDocument& Document) {
        if (Document.Value(Section, Ident))
            return false;
        Document.SetValue(Section, Ident, Value);
        return true;
    });
}

Integer TIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
    return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) {
    ReplaceLines(Strings, Current().Idents(Section));
}

void TIniFile::ReadSections(TStrings* Strings) {
    ReplaceLines(Strings, Current().Sections());
}

void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
    const TIniDocument& Document = Current();
    std::vector<String> Lines;
    for (const String& Ident : Document.Idents(Section))
        Lines.push_back(Ident + "=" + Document.Value(Section, Ident).value_or(String()));
    ReplaceLines(Strings, Lines);
}

void TIniFile::EraseSection(const String& Section) {
    Modify(false, [&](TIniDocument& Document) { return Document.EraseSection(Section); });
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
    Modify(false, [&](TIniDocument& Document) { return Document.DeleteKey(Section, Ident); });
}

} // namespace orlo
