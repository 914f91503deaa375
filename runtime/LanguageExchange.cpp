#include "runtime/LanguageExchange.h"

#include "platform/classes/Lists.h"
#include "platform/classes/Strings.h"
#include "platform/os/CodePage.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ComponentExplorer.h"
#include "runtime/GlossaTools.h"
#include "tools/FileTools.h"

#include <memory>
#include <typeinfo>
#include <unordered_map>

namespace orlo {

// A working entry of an import: all values in slots, and whether the import
// has set one of them yet.
class TTagLangPropertyEntry : public TConsistentLangPropertyEntry {
    ORLO_CLASS(TTagLangPropertyEntry, TConsistentLangPropertyEntry)
public:
    explicit TTagLangPropertyEntry(TCollection* Collection)
        : TConsistentLangPropertyEntry(Collection) {}

    bool Imported = false;
};

ORLO_PUBLISHED(TTagLangPropertyEntry, "LanguageExchange") {}

namespace {

const String LineEnd = "\r\n";

bool HasLineBreak(const String& S) {
    return S.find_first_of("\r\n") != String::npos;
}

// --- Keys ----------------------------------------------------------------------------

// "Lines.Strings[2]" -> "Lines%2", "Buttons[0].Caption" -> "Buttons%0.Caption".
String FileKeyOfPath(String Path, bool StringList) {
    if (StringList)
        if (const size_t At = Path.find(".Strings["); At != String::npos)
            Path.replace(At, 9, "[");
    String Key;
    for (char C : Path)
        if (C == '[')
            Key += '%';
        else if (C != ']')
            Key += C;
    return Key;
}

// The reverse: "%" -> "[" and a "]" after the digits that follow it.
String PathOfFileKey(const String& Key) {
    String Path;
    for (size_t I = 0; I < Key.size(); ++I) {
        if (Key[I] != '%') {
            Path += Key[I];
            continue;
        }
        Path += '[';
        while (I + 1 < Key.size() && Key[I + 1] >= '0' && Key[I + 1] <= '9')
            Path += Key[++I];
        Path += ']';
    }
    return Path;
}

String ValueText(const Variant& Value) {
    return Value.IsNull() || Value.IsEmpty() ? String() : Value.AsString();
}

// --- Reading --------------------------------------------------------------------------

String WithoutLeadingControls(const String& S) {
    size_t First = 0;
    while (First < S.size() && static_cast<unsigned char>(S[First]) <= 32)
        ++First;
    return S.substr(First);
}

String Unescaped(const String& S) {
    String Result;
    for (size_t I = 0; I < S.size(); ++I) {
        if (S[I] != '\\' || I + 1 == S.size()) {
            Result += S[I];
            continue;
        }
        const char Next = S[++I];
        Result += Next == 'n' ? '\n' : Next == 'r' ? '\r' : Next;
    }
    return Result;
}

String Escaped(const String& S) {
    String Result;
    for (char C : S)
        Result += C == '\n'               ? String("\\n")
                  : C == '\r'             ? String("\\r")
                  : C == '\\' || C == '"' ? String("\\") + C
                                          : String(1, C);
    return Result;
}

} // namespace

String QuoteExchangeValue(const String& Value) {
    return HasLineBreak(Value) ? "\"" + Escaped(Value) + "\"" : "'" + Value + "'";
}

String UnquoteExchangeValue(const String& Text) {
    const String Value = Trim(Text);
    if (Value.size() >= 2 && Value.front() == '\'' && Value.back() == '\'')
        return Value.substr(1, Value.size() - 2);
    if (Value.size() >= 2 && Value.front() == '"' && Value.back() == '"')
        return Unescaped(Value.substr(1, Value.size() - 2));
    return Value;
}

String ReadExchangeText(const String& FileName) {
    if (!FileExists(FileName))
        throw EInOutError("File not found");
    const String Bytes = ReadFileContent(FileName);
    return IsValidUtf8(Bytes) ? Bytes : Windows1252ToUtf8(Bytes);
}

std::vector<TExchangeSection> ParseExchangeText(const String& Text) {
    std::vector<TExchangeSection> Sections;
    size_t Start = 0;
    for (Integer Number = 1; Start < Text.size(); ++Number) {
        size_t End = Text.find('\n', Start);
        if (End == String::npos)
            End = Text.size();
        String Line = Text.substr(Start, End - Start);
        Start = End + 1;
        if (!Line.empty() && Line.back() == '\r')
            Line.pop_back();
        Line = WithoutLeadingControls(Line);
        if (Line.empty())
            continue;
        if (Line.front() == '[' && Line.find(']') != String::npos) {
            Sections.push_back({Line.substr(1, Line.find(']') - 1), {}});
            continue;
        }
        // Lines before the first section belong to none and are not read.
        if (!Sections.empty())
            Sections.back().Lines.push_back({Line, Number});
    }
    return Sections;
}

String SectionLanguage(const String& SectionName) {
    const size_t Dot = SectionName.find('.');
    if (Dot == String::npos)
        return SectionName;
    if (Dot + 1 == SectionName.size())
        return SectionName.substr(0, Dot);
    return SectionName.substr(Dot + 1);
}

std::vector<TExchangeEntry> ExchangeEntries(TLanguageManager* Manager) {
    std::vector<TExchangeEntry> Entries;
    TComponentEntries* Comps = Manager->Comps();
    if (!Comps)
        return Entries;
    const TMainEntry* Table =
        Manager->Control() && Comps ? Manager->GetStringInterface(false) : nullptr;
    const String ControlName = Manager->Control() ? Manager->Control()->Name() : String();
    for (Integer I = 0; I < Comps->Count(); ++I) {
        TComponentEntry* Component = Comps->Items(I);
        const bool IsRoot = Manager->HasRoot() && Component->Ref() == Manager->Root();
        const String First = IsRoot ? Manager->RootClassName() : Component->Name();
        TStringList Paths;
        Component->MoveSubItemsToStrings(mmNameOnly, &Paths);
        Paths.Sort();
        for (Integer J = 0; J < Paths.Count(); ++J) {
            auto* Entry = dynamic_cast<TConsistentLangPropertyEntry*>(Paths.Objects(J));
            if (!Entry)
                continue;
            const TMainEntry* Main = Entry->MainEntry();
            if (Main == Table && Entry->LineIndex() >= 0 &&
                Entry->LineIndex() < Manager->Names()->Count()) {
                Entries.push_back(
                    {ControlName + ".#" + Manager->Names()->Strings(Entry->LineIndex()), Entry});
            } else if (!First.empty()) {
                const bool StringList = Main && Main->SubType().Contains(stTStringsObject);
                Entries.push_back(
                    {First + "." + FileKeyOfPath(Paths.Strings(J), StringList), Entry});
            }
        }
    }
    return Entries;
}

// --- Export -----------------------------------------------------------------------------

String TLanguageManager::ExportLanguagesText(TLogFile* Log) {
    String Text;
    const std::vector<TExchangeEntry> Entries = ExchangeEntries(this);
    const String Prefix = HasRoot() ? RootClassName() + "." : String(".");
    for (Integer L = 0; L < FLangs->Count(); ++L) {
        const TLanguageEntry* Lang = FLangs->Items(L);
        Text += "[" + Prefix + Lang->Name() + "]" + LineEnd;
        for (const TExchangeEntry& Each : Entries) {
            if (Log)
                Log->WriteValue(Variant("BEGIN " + Each.Key));
            const Integer Slot = Lang->SubIndex();
            const String Value = Slot >= 0 && Slot < Each.Entry->Count()
                                     ? ValueText(Each.Entry->GetLangValue(Slot))
                                     : String();
            Text += Each.Key + "=" + QuoteExchangeValue(Value) + LineEnd;
            if (Log)
                Log->WriteValue(Variant("  END " + Each.Key));
        }
        Text += LineEnd;
    }
    return Text;
}

void TLanguageManager::ExportLanguages(const String& FileName, TLogFile* Log) {
    try {
        ReplaceFileContent(FileName, ExportLanguagesText(Log));
    } catch (const Exception& E) {
        if (Log)
            Log->WriteValue(
                Variant(Format("Export error: %s.Message = %s", E.ClassName(), E.Message())));
        throw;
    }
}

void TLanguageManager::GetAvailLangSections(const String& FileName, TStrings* List) const {
    if (!FileExists(FileName))
        return;
    const std::vector<TExchangeSection> Sections = ParseExchangeText(ReadExchangeText(FileName));
    WithUpdate(*List, [&] {
        List->Clear();
        for (const TExchangeSection& Section : Sections) {
            String Name = Section.Name;
            if (const size_t Dot = Name.find('.'); Dot != String::npos)
                Name[Dot] = '=';
            List->Add(Name);
        }
    });
}

// --- Import -----------------------------------------------------------------------------

namespace {

// The import into a working manager.
class TImporter {
public:
    TImporter(TLanguageManager* Work, bool InitAll, TStrings* Notes, TStrings* Rejected)
        : FWork(Work), FInitAll(InitAll), FNotes(Notes), FRejected(Rejected) {
        IndexComponents();
    }

    void ImportSections(const std::vector<TExchangeSection>& Sections, TStrings* Chosen) {
        for (const TExchangeSection& Section : Sections)
            if (IsChosen(Section, Chosen))
                ImportSection(Section);
    }

    void IndexComponents() {
        FComponents.clear();
        TComponentEntries* Comps = FWork->Comps();
        for (Integer I = Comps->Count() - 1; I >= 0; --I)
            FComponents[LowerCase(Comps->Items(I)->Name())] = Comps->Items(I);
    }

private:
    static bool IsChosen(const TExchangeSection& Section, TStrings* Chosen) {
        if (!Chosen)
            return true;
        String Name = Section.Name;
        if (const size_t Dot = Name.find('.'); Dot != String::npos)
            Name[Dot] = '=';
        for (Integer I = 0; I < Chosen->Count(); ++I)
            if (SameText(Chosen->Strings(I), Name))
                return true;
        return false;
    }

    void ImportSection(const TExchangeSection& Section) {
        const String Language = Trim(SectionLanguage(Section.Name));
        if (Language.empty()) {
            for (const TExchangeSection::TLine& Line : Section.Lines)
                Reject(Section, Line.Text);
            return;
        }
        const Integer Slot = LanguageSlot(Language);
        for (const TExchangeSection::TLine& Line : Section.Lines)
            ImportLine(Section, Slot, Line.Text);
    }

    // The SubIndex of Language in the working manager; appended when new.
    Integer LanguageSlot(const String& Language) {
        TLanguageEntries* Langs = FWork->Langs();
        if (const Integer Found = Langs->IndexOfName(Language); Found >= 0)
            return Langs->Items(Found)->SubIndex();
        auto* Lang = static_cast<TLanguageEntry*>(Langs->Add());
        Lang->SetName(Language);
        Lang->SetSubIndex(Langs->Count() - 1);
        FWork->SyncCount(FInitAll ? cmInitAll : cmInitNone);
        return Lang->SubIndex();
    }

    void ImportLine(const TExchangeSection& Section, Integer Slot, const String& Line) {
        const size_t Equal = Line.find('=');
        if (Equal == String::npos || Equal == 0)
            return Reject(Section, Line);
        const String Key = Trim(Line.substr(0, Equal));
        const String Value = UnquoteExchangeValue(Line.substr(Equal + 1));
        if (const size_t Hash = Key.find(".#"); Hash != String::npos)
            return SetValue(NamedString(Key.substr(Hash + 2)), Slot, Value);
        if (!FWork->HasRoot())
            return Reject(Section, Line);
        const String Path = PathOfFileKey(Key);
        if (TTagLangPropertyEntry* Entry = Find(Path, false))
            return SetValue(Entry, Slot, Value);
        if (Path == Key)
            return Reject(Section, Line);
        const size_t Open = Path.rfind('[');
        if (TTagLangPropertyEntry* Entry =
                Find(Path.substr(0, Open) + ".Strings" + Path.substr(Open), true))
            return SetValue(Entry, Slot, Value);
        const size_t Close = Path.find(']', Open);
        if (TTagLangPropertyEntry* Entry =
                Find(Path.substr(0, Close + 1) + ".Caption" + Path.substr(Close + 1), false)) {
            SetValue(Entry, Slot, Value);
            FNotes->Add("[" + Section.Name + "]=" + Line);
            return;
        }
        Reject(Section, Line);
    }

    void Reject(const TExchangeSection& Section, const String& Line) {
        FRejected->Add(Format("[%s]=%s", Section.Name, Line));
    }

    TTagLangPropertyEntry* NamedString(const String& Name) {
        if (TMainEntry* Table = FWork->GetStringInterface(false))
            if (const Integer Line = FWork->GetStringNameIndex(Name); Line >= 0)
                for (Integer I = 0; I < Table->Props()->Count(); ++I)
                    if (Table->Props()->Items(I)->LineIndex() == Line)
                        return static_cast<TTagLangPropertyEntry*>(Table->Props()->Items(I));
        auto* Entry = static_cast<TTagLangPropertyEntry*>(FWork->AddString(Name));
        IndexComponents(); // the string table may have added the control's entry
        return Entry;
    }

    // The entry at Path ("Label1.Font.Name"); with StringLine only a line of a string list.
    TTagLangPropertyEntry* Find(const String& Path, bool StringLine) {
        std::vector<String> Parts;
        for (size_t Start = 0;;) {
            const size_t Dot = Path.find('.', Start);
            Parts.push_back(Path.substr(Start, Dot == String::npos ? String::npos : Dot - Start));
            if (Dot == String::npos)
                break;
            Start = Dot + 1;
        }
        if (Parts.size() < 2)
            return nullptr;
        TMainEntry* Main = FindComponent(Parts[0]);
        for (size_t I = 1; Main && I + 1 < Parts.size(); ++I) {
            const Integer At = Main->Items()->IndexOfName(Parts[I]);
            Main = At >= 0 ? Main->Items()->Items(At) : nullptr;
        }
        if (!Main || (StringLine && !Main->SubType().Contains(stTStringsObject)))
            return nullptr;
        const Integer At = Main->Props()->IndexOfProp(Parts.back());
        return At >= 0 ? dynamic_cast<TTagLangPropertyEntry*>(Main->Props()->Items(At)) : nullptr;
    }

    TMainEntry* FindComponent(const String& Name) {
        if (auto Found = FComponents.find(LowerCase(Name)); Found != FComponents.end())
            return Found->second;
        if (FWork->HasRoot() && Name == FWork->RootClassName())
            if (auto Found = FComponents.find(LowerCase(FWork->Root()->Name()));
                Found != FComponents.end())
                return Found->second;
        return nullptr;
    }

    void SetValue(TTagLangPropertyEntry* Entry, Integer Slot, const String& Text) {
        if (!Entry)
            return;
        Entry->SetLangValue(Slot, ValueOfKind(Entry->Kind(), Text));
        if (FInitAll && !Entry->Imported)
            for (Integer I = 1; I < Entry->Count(); ++I)
                if (I != Slot)
                    Entry->SetLangValue(I, Entry->GetLangValue(0));
        Entry->Imported = true;
    }

    // Integers come back as integers; everything else as text.
    static Variant ValueOfKind(TTypeKind Kind, const String& Text) {
        Int64 Number;
        if ((Kind == tkInteger || Kind == tkInt64) && TryStrToInt64(Text, Number))
            return Kind == tkInteger ? Variant(static_cast<int>(Number)) : Variant(Number);
        return Variant(Text);
    }

    TLanguageManager* FWork;
    bool FInitAll;
    TStrings* FNotes;
    TStrings* FRejected;
    std::unordered_map<String, TMainEntry*> FComponents;
};

// The working manager's main entry matching Source (same reference, sub type
// and name), created when missing.
TMainEntry* MatchingMain(TMainEntries* Target, const TMainEntry* Source) {
    if (TMainEntry* Found = Target->FindItem(Source))
        return Found;
    auto* Created = static_cast<TMainEntry*>(Target->Add());
    Created->AssignThis(Source);
    return Created;
}

// Copies the structure of Source's entries below Target, without values; the
// string table Skip is left out (named strings come back through AddString).
void SeedEntries(const TMainEntry* Source, TMainEntry* Target, const TMainEntry* Skip) {
    TPropertyEntries* Props = Source->Props();
    for (Integer I = 0; I < Props->Count(); ++I) {
        const TPropertyEntry* From = Props->Items(I);
        if (Target->Props()->IndexOfProp(From->Name()) >= 0)
            continue;
        TPropertyEntry* Copy =
            TPropertyEntry::Create(nullptr, Target, From->Name(), From->TypeName(), From->Kind());
        Copy->TPropertyEntry::Assign(const_cast<TPropertyEntry*>(From));
    }
    for (Integer I = 0; I < Source->Items()->Count(); ++I)
        if (const TMainEntry* Child = Source->Items()->Items(I); Child != Skip)
            SeedEntries(Child, MatchingMain(Target->Items(), Child), Skip);
}

// Drops entries that received no value, then main entries left empty.
void DropUnimported(TMainEntries* Entries) {
    for (Integer I = Entries->Count() - 1; I >= 0; --I) {
        TMainEntry* Main = Entries->Items(I);
        DropUnimported(Main->Items());
        TPropertyEntries* Props = Main->Props();
        for (Integer J = Props->Count() - 1; J >= 0; --J)
            if (auto* Entry = dynamic_cast<TTagLangPropertyEntry*>(Props->Items(J));
                !Entry || !Entry->Imported)
                Props->Delete(J);
        if (Props->Count() == 0 && Main->Items()->Count() == 0)
            Entries->Delete(I);
    }
}

void DropUnimportedStrings(TLanguageManager* Work) {
    TMainEntry* Table = Work->GetStringInterface(false);
    if (!Table)
        return;
    for (Integer J = Table->Props()->Count() - 1; J >= 0; --J)
        if (auto* Entry = dynamic_cast<TTagLangPropertyEntry*>(Table->Props()->Items(J));
            !Entry || !Entry->Imported)
            Work->RemoveString(Table->Props()->Items(J));
}

// Assigning a tree always gives the manager a string table; an import that
// brought no named strings leaves none behind.
void DropEmptyStringTable(TLanguageManager* Manager) {
    TMainEntry* Table = Manager->Control() ? Manager->GetStringInterface(false) : nullptr;
    if (!Table || Table->Props()->Count() > 0)
        return;
    TMainEntry* Owner = Table->GetParent()->GetParent();
    delete Table;
    if (Owner && Owner->Props()->Count() == 0 && Owner->Items()->Count() == 0)
        delete Owner;
}

} // namespace

bool TLanguageManager::ImportLanguages(const String& FileName, TPersistent* CESettings,
                                       TImportMode Mode, bool InitAll, TStrings* Sections,
                                       TStrings* Notes, TStrings* Rejected) {
    if (CESettings && !dynamic_cast<TCESettings*>(CESettings))
        Raise(".ImportLanguages: CESettings has not type TCESettings");
    return ImportLanguagesText(ReadExchangeText(FileName), CESettings, Mode, InitAll, Sections,
                               Notes, Rejected);
}

bool TLanguageManager::ImportLanguagesText(const String& Text, TPersistent* CESettings,
                                           TImportMode Mode, bool InitAll, TStrings* Sections,
                                           TStrings* Notes, TStrings* Rejected) {
    auto* Settings = dynamic_cast<TCESettings*>(CESettings);
    if (CESettings && !Settings)
        Raise(".ImportLanguages: CESettings has not type TCESettings");
    if (!FComps)
        Raise(".ImportLanguages failed. No entry tree");
    TStringList OwnNotes, OwnRejected;
    TStrings* NotesTo = Notes ? Notes : &OwnNotes;
    TStrings* RejectedTo = Rejected ? Rejected : &OwnRejected;
    try {
        const std::vector<TExchangeSection> File = ParseExchangeText(Text);
        TLanguageManager Work(FRoot, FControl, nullptr, TTagLangPropertyEntry::StaticClass());
        Work.SetRootClassName(FRootClassName);
        Work.FLangs->Assign(FLangs.get());
        if (Settings && FHasRoot)
            AddRootToMainEntries(FRoot, Work.Comps(), *Settings,
                                 TTagLangPropertyEntry::StaticClass(), Settings->StandardFilter());
        const TMainEntry* OwnTable = FControl ? GetStringInterface(false) : nullptr;
        // Entries of components that are gone (no reference on a form) are left behind.
        for (Integer I = 0; I < FComps->Count(); ++I)
            if (TComponentEntry* Component = FComps->Items(I); Component->Ref() || !FHasRoot)
                SeedEntries(Component, MatchingMain(Work.Comps(), Component), OwnTable);
        Work.SyncCount(cmInitNone);
        TImporter Importer(&Work, InitAll, NotesTo, RejectedTo);
        if (Mode == imAddNotExisting)
            Importer.ImportSections(File, Sections);
        if (Mode != imClearExisting) {
            TStringList OwnDataNotes, OwnDataRejected;
            TImporter Own(&Work, false, &OwnDataNotes, &OwnDataRejected);
            Own.ImportSections(ParseExchangeText(ExportLanguagesText()), nullptr);
            if (OwnDataNotes.Count() > 0 || OwnDataRejected.Count() > 0)
                Raise(".ImportLanguages failed: Internal error at REIMPORT");
            Importer.IndexComponents();
        }
        if (Mode != imAddNotExisting)
            Importer.ImportSections(File, Sections);
        DropUnimported(Work.Comps());
        DropUnimportedStrings(&Work);
        const bool HadStringTable = FControl && GetStringInterface(false);
        Assign(&Work);
        if (!HadStringTable)
            DropEmptyStringTable(this);
        return true;
    } catch (...) {
        NotesTo->Clear();
        RejectedTo->Clear();
        throw;
    }
}

} // namespace orlo
