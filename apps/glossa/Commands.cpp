#include "apps/glossa/Commands.h"

#include "apps/glossa/CheckCommand.h"
#include "apps/glossa/FormFile.h"
#include "platform/classes/Strings.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ComponentExplorer.h"
#include "runtime/GlossaPo.h"
#include "runtime/LanguageExchange.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

namespace orlo::glossa {

namespace {

// --- Arguments -------------------------------------------------------------------------

struct TParsed {
    std::vector<String> Files;
    std::map<String, String> Values; // options with a value
    std::set<String> Flags;
};

// Options in WithValue take the next argument; those in Flags none. Anything
// else beginning with "-" is bad usage.
std::optional<TParsed> ParseArgs(const TArguments& Args, const std::set<String>& WithValue,
                                 const std::set<String>& Flags) {
    TParsed Parsed;
    for (size_t I = 0; I < Args.size(); ++I) {
        const String& Arg = Args[I];
        if (WithValue.count(Arg) && I + 1 < Args.size())
            Parsed.Values[Arg] = Args[++I];
        else if (Flags.count(Arg))
            Parsed.Flags.insert(Arg);
        else if (Arg.size() > 1 && Arg[0] == '-')
            return std::nullopt;
        else
            Parsed.Files.push_back(Arg);
    }
    return Parsed;
}

String Value(const TParsed& Parsed, const String& Option, const String& Default = String()) {
    auto Found = Parsed.Values.find(Option);
    return Found == Parsed.Values.end() ? Default : Found->second;
}

int UsageError(const char* Command) {
    for (const TCommand& Each : Commands())
        if (String(Each.Name) == Command)
            std::fprintf(stderr, "usage: glossa %s %s\n", Each.Name, Each.Usage);
    return 2;
}

// Runs Body; an exception is reported as "glossa: <message>" with status 1.
template <class F> int Guarded(F&& Body) {
    try {
        return Body();
    } catch (const Exception& E) {
        std::fprintf(stderr, "glossa: %s\n", E.Message().c_str());
    } catch (const std::exception& E) {
        std::fprintf(stderr, "glossa: %s\n", E.what());
    }
    return 1;
}

String Extension(const String& FileName) {
    const size_t Slash = FileName.find_last_of('/');
    const size_t Dot = FileName.find_last_of('.');
    if (Dot == String::npos || (Slash != String::npos && Dot < Slash))
        return String();
    return LowerCase(FileName.substr(Dot));
}

// --- Counting ----------------------------------------------------------------------------

struct TLanguageCount {
    String Name;
    bool Active;
    Integer Filled;
};

String TextOf(const Variant& Value) {
    return Value.IsNull() || Value.IsEmpty() ? String() : Value.AsString();
}

// Per language the values that are not empty.
std::vector<TLanguageCount> CountFilled(TLanguageManager* Manager,
                                        const std::vector<TExchangeEntry>& Entries) {
    std::vector<TLanguageCount> Counts;
    TLanguageEntries* Langs = Manager->Langs();
    for (Integer I = 0; I < Langs->Count(); ++I) {
        const TLanguageEntry* Lang = Langs->Items(I);
        Integer Filled = 0;
        for (const TExchangeEntry& Each : Entries)
            if (Lang->SubIndex() >= 0 && Lang->SubIndex() < Each.Entry->Count() &&
                !TextOf(Each.Entry->GetLangValue(Lang->SubIndex())).empty())
                ++Filled;
        Counts.push_back({Lang->Name(), Lang->IsActive(), Filled});
    }
    return Counts;
}

} // namespace

// --- show ---------------------------------------------------------------------------------

int RunShow(const TArguments& Args) {
    if (Args.size() != 1 || Args[0][0] == '-')
        return UsageError("show");
    return Guarded([&] {
        std::unique_ptr<TFormFile> Form = TFormFile::Load(Args[0]);
        TLanguageManager* Manager = Form->LanguageManager();
        const std::vector<TExchangeEntry> Entries = ExchangeEntries(Manager);
        std::printf("Form %s: %s, language component %s\n", Form->Root().Name.c_str(),
                    Form->Root().ClassName.c_str(), Form->GlossaName().c_str());
        std::printf("Languages:\n");
        for (const TLanguageCount& Count : CountFilled(Manager, Entries))
            std::printf("  %s%s: %d of %d values filled\n", Count.Name.c_str(),
                        Count.Active ? " (active)" : "", Count.Filled,
                        static_cast<Integer>(Entries.size()));
        std::printf("Named strings:\n");
        for (Integer I = 0; I < Manager->Names()->Count(); ++I)
            std::printf("  %s\n", Manager->Names()->Strings(I).c_str());
        std::printf("Translated properties:\n");
        for (const TExchangeEntry& Each : Entries)
            if (Each.Key.find(".#") == String::npos)
                std::printf("  %s\n", Each.Key.c_str());
        return 0;
    });
}

// --- export -------------------------------------------------------------------------------

int RunExport(const TArguments& Args) {
    const auto Parsed = ParseArgs(Args, {"-l", "-r", "-o"}, {});
    if (!Parsed || Parsed->Files.size() != 1)
        return UsageError("export");
    return Guarded([&] {
        std::unique_ptr<TFormFile> Form = TFormFile::Load(Parsed->Files[0]);
        TLanguageManager* Manager = Form->LanguageManager();
        const String Output = Value(*Parsed, "-o");
        const String Kind = Extension(Output);
        const String Language = Value(*Parsed, "-l");
        String Text;
        if (Kind == ".pot") {
            Text = ExportPo(Manager, String(), Value(*Parsed, "-r"));
        } else if (Kind == ".po") {
            if (Language.empty())
                throw Exception("A PO file holds one language: name it with -l LANGUAGE");
            std::optional<TPoCatalog> Previous;
            if (FileExists(Output))
                Previous = ParsePo(ReadFileContent(Output), Output);
            Text =
                ExportPo(Manager, Language, Value(*Parsed, "-r"), Previous ? &*Previous : nullptr);
        } else {
            Text = Manager->ExportLanguagesText();
        }
        if (Output.empty())
            std::fwrite(Text.data(), 1, Text.size(), stdout);
        else
            ReplaceFileContent(Output, Text);
        return 0;
    });
}

// --- import -------------------------------------------------------------------------------

namespace {

struct TImportText {
    String Text;
    std::map<String, String> Where; // "[section]=line" -> "file:line"
    std::vector<String> Messages;   // to print, with file and line
};

void RequireFile(const String& FileName) {
    if (!FileExists(FileName))
        throw EInOutError(FileName + ": File not found");
}

void AddExchangeFile(const String& FileName, TImportText& Import) {
    RequireFile(FileName);
    const String Text = ReadExchangeText(FileName);
    for (const TExchangeSection& Section : ParseExchangeText(Text))
        for (const TExchangeSection::TLine& Line : Section.Lines)
            Import.Where.emplace("[" + Section.Name + "]=" + Line.Text,
                                 Format("%s:%d", FileName, Line.Number));
    Import.Text += Text + "\r\n";
}

void AddPoFile(const String& FileName, const String& Language, TLanguageManager* Manager,
               const String& Reference, TImportText& Import) {
    RequireFile(FileName);
    const TPoCatalog Catalog = ParsePo(ReadFileContent(FileName), FileName);
    const String Target = !Language.empty() ? Language : PoLanguage(Catalog);
    if (Target.empty())
        throw Exception(FileName +
                        ": the file does not say its language; name it with -l LANGUAGE");
    const TPoExchange Exchange = PoToExchange(Catalog, Manager, Target, Reference);
    for (const auto& [Line, Number] : Exchange.Lines)
        Import.Where.emplace(Line, Format("%s:%d", FileName, Number));
    for (const String& Unusable : Exchange.Unusable)
        Import.Messages.push_back("rejected: " + FileName + ":" + Unusable);
    for (const String& Key : Exchange.Changed)
        Import.Messages.push_back("fuzzy: " + FileName + ": " + Key +
                                  ": the reference text has changed since it was translated");
    Import.Text += Exchange.Text + "\r\n";
}

std::optional<TImportMode> ModeOf(const String& Name) {
    if (Name == "clear")
        return imClearExisting;
    if (Name == "all" || Name.empty())
        return imAddAll;
    if (Name == "missing")
        return imAddNotExisting;
    return std::nullopt;
}

// Why a line found no value: the component is missing, or the property is
// not among the form's translated ones (its class is unknown here, so it is
// never guessed).
String RejectionReason(const String& Line, TLanguageManager* Manager) {
    const size_t Equal = Line.find('=');
    if (Equal == String::npos || Equal == 0)
        return "not a key=value line";
    const String Key = Line.substr(0, Equal);
    if (Key.find(".#") != String::npos)
        return "named string not placed";
    const String Component = Key.substr(0, Key.find('.'));
    if (Manager->Comps()->IndexOfName(Component) < 0 && Component != Manager->RootClassName())
        return "no translated component " + Component + " on the form";
    return "not a translated property of the form (glossa collect adds stored ones)";
}

void Report(const TStrings& Lines, const char* Kind, const TImportText& Import,
            TLanguageManager* Manager) {
    for (Integer I = 0; I < Lines.Count(); ++I) {
        const String& Line = Lines.Strings(I);
        auto Found = Import.Where.find(Line);
        const String Where = Found == Import.Where.end() ? String("?") : Found->second;
        const String Text = Line.substr(Line.find("]=") + 2);
        String Reason;
        if (String(Kind) == "rejected")
            Reason = " (" + RejectionReason(Text, Manager) + ")";
        std::printf("%s: %s: %s%s\n", Kind, Where.c_str(), Text.c_str(), Reason.c_str());
    }
}

} // namespace

int RunImport(const TArguments& Args) {
    const auto Parsed = ParseArgs(Args, {"--mode", "-l", "-r", "-o"}, {"--strict"});
    const std::optional<TImportMode> Mode =
        Parsed ? ModeOf(Value(*Parsed, "--mode")) : std::nullopt;
    if (!Parsed || !Mode || Parsed->Files.size() < 2)
        return UsageError("import");
    return Guarded([&] {
        std::unique_ptr<TFormFile> Form = TFormFile::Load(Parsed->Files[0]);
        TLanguageManager* Manager = Form->LanguageManager();
        TImportText Import;
        for (size_t I = 1; I < Parsed->Files.size(); ++I) {
            const String& File = Parsed->Files[I];
            if (Extension(File) == ".po")
                AddPoFile(File, Value(*Parsed, "-l"), Manager, Value(*Parsed, "-r"), Import);
            else
                AddExchangeFile(File, Import);
        }
        TStringList Notes, Rejected;
        Manager->ImportLanguagesText(Import.Text, nullptr, *Mode, false, nullptr, &Notes,
                                     &Rejected);
        for (const String& Message : Import.Messages)
            std::printf("%s\n", Message.c_str());
        Report(Notes, "note", Import, Manager);
        Report(Rejected, "rejected", Import, Manager);
        const bool AnyRejected =
            Rejected.Count() > 0 ||
            std::any_of(Import.Messages.begin(), Import.Messages.end(),
                        [](const String& M) { return M.rfind("rejected", 0) == 0; });
        // Strict: a file that does not fit leaves the form as it was.
        if (AnyRejected && Parsed->Flags.count("--strict"))
            return 1;
        Form->SaveAs(Value(*Parsed, "-o", Form->FileName()));
        return 0;
    });
}

// --- collect ------------------------------------------------------------------------------

namespace {

// The main entry for the part of Path before its last "." below Component,
// created as the tree builder would make it: sub-objects, collection items
// ("Buttons[0]"), string lists ("Lines").
TMainEntry* MainEntryFor(TMainEntry* Component, const String& Path, String& PropName) {
    TMainEntry* Main = Component;
    String Rest = Path;
    for (size_t Dot = Rest.find('.'); Dot != String::npos; Dot = Rest.find('.')) {
        const String Part = Rest.substr(0, Dot);
        Rest = Rest.substr(Dot + 1);
        const bool List = Rest.rfind("Strings[", 0) == 0 && Rest.find('.') == String::npos;
        const bool Item = Part.find('[') != String::npos;
        Integer At = Main->Items()->IndexOfName(Part);
        if (At < 0) {
            auto* Child = static_cast<TMainEntry*>(Main->Items()->Add());
            Child->SetName(Part);
            Child->SetSubType(List   ? TMainEntrySubType{stTStringsObject}
                              : Item ? TMainEntrySubType{stCollectionObject}
                                     : TMainEntrySubType{stPubPropObject});
            At = Main->Items()->Count() - 1;
        }
        Main = Main->Items()->Items(At);
    }
    PropName = Rest;
    return Main;
}

TComponentEntry* ComponentEntryFor(TLanguageManager* Manager, const TRawObject& Object,
                                   TComponent* StandIn) {
    TComponentEntries* Comps = Manager->Comps();
    for (Integer I = 0; I < Comps->Count(); ++I)
        if (Comps->Items(I)->Ref() == StandIn)
            return Comps->Items(I);
    auto* Entry = static_cast<TComponentEntry*>(Comps->Add());
    Entry->SetRef(StandIn);
    Entry->SetName(Object.Name);
    Entry->SetTypeName(Object.ClassName);
    Entry->SetSubType({stPubPropObject});
    return Entry;
}

} // namespace

int RunCollect(const TArguments& Args) {
    if (Args.size() != 1 || Args[0][0] == '-')
        return UsageError("collect");
    return Guarded([&] {
        std::unique_ptr<TFormFile> Form = TFormFile::Load(Args[0]);
        TLanguageManager* Manager = Form->LanguageManager();
        const TCESettings Settings; // the component explorer's defaults
        Integer Added = 0;
        for (const TFormFile::TComponentText& Each : Form->TranslatableTexts()) {
            String PropName;
            if (Each.Value.empty() ||
                !Settings.IsPropVisible(Each.Path.substr(Each.Path.find_last_of('.') + 1), nullptr,
                                        nullptr))
                continue;
            TMainEntry* Main = MainEntryFor(ComponentEntryFor(Manager, *Each.Object, Each.StandIn),
                                            Each.Path, PropName);
            if (Main->Props()->IndexOfProp(PropName) >= 0)
                continue;
            auto* Entry = static_cast<TConsistentLangPropertyEntry*>(
                TPropertyEntry::Create(nullptr, Main, PropName, "String", tkLString));
            Entry->SetCount(std::max(1, Manager->GetLangCount()));
            // As the editor does for a new component: every language starts with the form's text.
            for (Integer I = 0; I < Entry->Count(); ++I)
                Entry->SetLangValue(I, Variant(Each.Value));
            ++Added;
        }
        Form->Save();
        std::printf("%d properties added\n", Added);
        return 0;
    });
}

// --- add-language -------------------------------------------------------------------------

int RunAddLanguage(const TArguments& Args) {
    const auto Parsed = ParseArgs(Args, {"--copy-from"}, {});
    if (!Parsed || Parsed->Files.size() != 2)
        return UsageError("add-language");
    return Guarded([&] {
        std::unique_ptr<TFormFile> Form = TFormFile::Load(Parsed->Files[0]);
        TLanguageManager* Manager = Form->LanguageManager();
        const String Name = Trim(Parsed->Files[1]);
        TLanguageEntries* Langs = Manager->Langs();
        if (Name.empty())
            throw Exception("A language needs a name");
        if (Langs->IndexOfName(Name) >= 0)
            throw Exception("Language " + Name + " already exists");
        const String From = Value(*Parsed, "--copy-from");
        Integer FromSlot = 0; // the active language unless another is named
        if (!From.empty()) {
            const Integer At = Langs->IndexOfName(From);
            if (At < 0)
                throw Exception("Language " + From + " not found");
            FromSlot = Langs->Items(At)->SubIndex();
        }
        auto* Lang = static_cast<TLanguageEntry*>(Langs->Add());
        Lang->SetName(Name);
        Lang->SetSubIndex(Langs->Count() - 1);
        Manager->SyncCount(cmInitNone);
        for (const TExchangeEntry& Each : ExchangeEntries(Manager))
            if (FromSlot >= 0 && FromSlot < Each.Entry->Count())
                Each.Entry->SetLangValue(Lang->SubIndex(), Each.Entry->GetLangValue(FromSlot));
        Form->Save();
        return 0;
    });
}

int RunRemoveLanguage(const TArguments& Args) {
    if (Args.size() != 2 || Args[0][0] == '-' || Args[1][0] == '-')
        return UsageError("remove-language");
    return Guarded([&] {
        std::unique_ptr<TFormFile> Form = TFormFile::Load(Args[0]);
        TLanguageManager* Manager = Form->LanguageManager();
        const Integer At = Manager->Langs()->IndexOfName(Args[1]);
        if (At < 0)
            throw Exception("Language " + Args[1] + " not found");
        if (Manager->Langs()->Items(At)->IsActive())
            throw Exception("Language " + Args[1] +
                            " is the form's active language and cannot be removed");
        TLanguageEntries Langs(nullptr);
        Langs.Assign(Manager->Langs());
        Langs.Delete(At);
        Manager->AssignLangsAndSync(&Langs, cmInitNone);
        Form->Save();
        return 0;
    });
}

// --- stats --------------------------------------------------------------------------------

int RunStats(const TArguments& Args) {
    const auto Parsed = ParseArgs(Args, {"--require"}, {});
    if (!Parsed || Parsed->Files.empty())
        return UsageError("stats");
    double Required = 0;
    if (const String Text = Value(*Parsed, "--require"); !Text.empty()) {
        double Number;
        if (!TryStrToFloat(Text, Number) || Number < 0 || Number > 100)
            return UsageError("stats");
        Required = Number;
    }
    return Guarded([&] {
        bool Enough = true;
        for (const String& File : Parsed->Files) {
            std::unique_ptr<TFormFile> Form = TFormFile::Load(File);
            const std::vector<TExchangeEntry> Entries = ExchangeEntries(Form->LanguageManager());
            for (const TLanguageCount& Count : CountFilled(Form->LanguageManager(), Entries)) {
                const Integer Total = static_cast<Integer>(Entries.size());
                const double Percent = Total == 0 ? 100.0 : 100.0 * Count.Filled / Total;
                const bool Passes = Percent + 1e-9 >= Required;
                Enough = Enough && Passes;
                std::printf("%s: %s: %d translated, %d untranslated (%.1f%%)%s\n", File.c_str(),
                            Count.Name.c_str(), Count.Filled, Total - Count.Filled, Percent,
                            Passes ? "" : " below the required completeness");
            }
        }
        return Enough ? 0 : 1;
    });
}

const std::vector<TCommand>& Commands() {
    static const std::vector<TCommand> Table{
        {"show", RunShow, "FORM"},
        {"check", RunCheck, "[--qualified | --unqualified] FORM SOURCE..."},
        {"export", RunExport, "FORM [-l LANGUAGE] [-r REFERENCE] [-o FILE(.txt|.po|.pot)]"},
        {"import", RunImport,
         "FORM FILE... [--mode clear|all|missing] [-l LANGUAGE] [-r REFERENCE] [-o OUTPUT] "
         "[--strict]"},
        {"collect", RunCollect, "FORM"},
        {"add-language", RunAddLanguage, "FORM NAME [--copy-from LANGUAGE]"},
        {"remove-language", RunRemoveLanguage, "FORM NAME"},
        {"stats", RunStats, "FORM... [--require PERCENT]"},
    };
    return Table;
}

} // namespace orlo::glossa
