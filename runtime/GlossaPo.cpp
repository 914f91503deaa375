#include "runtime/GlossaPo.h"

#include "platform/os/CodePage.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/GlossaSystem.h"
#include "runtime/GlossaTools.h"
#include "runtime/LanguageExchange.h"

#include <array>
#include <ctime>
#include <set>
#include <string_view>

namespace orlo {

namespace {

// ISO 639-1 codes of the language table's rows, by English name.
constexpr std::array<std::pair<std::string_view, std::string_view>, DefaultLanguageCount> Codes{{
    {"Afrikaans", "af"},  {"Albanian", "sq"},   {"Arabic", "ar"},    {"Basque", "eu"},
    {"Belarusian", "be"}, {"Bulgarian", "bg"},  {"Catalan", "ca"},   {"Chinese", "zh"},
    {"Croatian", "hr"},   {"Czech", "cs"},      {"Danish", "da"},    {"Dutch", "nl"},
    {"English", "en"},    {"Estonian", "et"},   {"Faeroese", "fo"},  {"Farsi", "fa"},
    {"Finnish", "fi"},    {"French", "fr"},     {"German", "de"},    {"Greek", "el"},
    {"Hebrew", "he"},     {"Hungarian", "hu"},  {"Icelandic", "is"}, {"Indonesian", "id"},
    {"Italian", "it"},    {"Japanese", "ja"},   {"Korean", "ko"},    {"Latvian", "lv"},
    {"Lithuanian", "lt"}, {"Norwegian", "no"},  {"Polish", "pl"},    {"Portuguese", "pt"},
    {"Romanian", "ro"},   {"Russian", "ru"},    {"Slovak", "sk"},    {"Slovenian", "sl"},
    {"Spanish", "es"},    {"Swedish", "sv"},    {"Thai", "th"},      {"Turkish", "tr"},
    {"Ukrainian", "uk"},  {"Vietnamese", "vi"},
}};

// --- Writing ---------------------------------------------------------------------------

String PoEscaped(const String& S) {
    String Result;
    for (char C : S) {
        switch (C) {
        case '\\':
            Result += "\\\\";
            break;
        case '"':
            Result += "\\\"";
            break;
        case '\n':
            Result += "\\n";
            break;
        case '\r':
            Result += "\\r";
            break;
        case '\t':
            Result += "\\t";
            break;
        default:
            Result += C;
        }
    }
    return Result;
}

// Keyword and string; a text with line breaks is split after each, as the
// gettext tools write it.
String PoString(const String& Prefix, const String& Keyword, const String& Value) {
    const size_t Break = Value.find('\n');
    if (Break == String::npos || Break + 1 == Value.size())
        return Prefix + Keyword + " \"" + PoEscaped(Value) + "\"\n";
    String Text = Prefix + Keyword + " \"\"\n";
    for (size_t Start = 0; Start < Value.size();) {
        size_t End = Value.find('\n', Start);
        End = End == String::npos ? Value.size() : End + 1;
        Text += Prefix + "\"" + PoEscaped(Value.substr(Start, End - Start)) + "\"\n";
        Start = End;
    }
    return Text;
}

String Now() {
    std::time_t T = std::time(nullptr);
    std::tm Utc{};
    gmtime_r(&T, &Utc);
    char Buffer[32];
    std::strftime(Buffer, sizeof Buffer, "%Y-%m-%d %H:%M+0000", &Utc);
    return Buffer;
}

const TLanguageEntry* FindLanguage(TLanguageManager* Manager, const String& Name) {
    const Integer At = Manager->Langs()->IndexOfName(Name);
    if (At < 0)
        throw Exception("Language " + Name + " not found");
    return Manager->Langs()->Items(At);
}

String SlotText(const TConsistentLangPropertyEntry* Entry, const TLanguageEntry* Lang) {
    if (!Lang || Lang->SubIndex() < 0 || Lang->SubIndex() >= Entry->Count())
        return String();
    const Variant Value = Entry->GetLangValue(Lang->SubIndex());
    return Value.IsNull() || Value.IsEmpty() ? String() : Value.AsString();
}

String HeaderText(TLanguageManager* Manager, const String& Language, const String& Reference,
                  const TPoCatalog* Previous) {
    const auto Field = [&](const String& Name, const String& Default) {
        if (Previous)
            if (auto Found = Previous->Header.find(Name); Found != Previous->Header.end())
                return Found->second;
        return Default;
    };
    const bool Template = Language.empty();
    const String Form = Manager->HasRoot() ? Manager->RootClassName() : String("strings");
    String Text = "msgid \"\"\nmsgstr \"\"\n";
    const std::pair<String, String> Fields[] = {
        {"Project-Id-Version", Field("Project-Id-Version", Form)},
        {"POT-Creation-Date", Field("POT-Creation-Date", Now())},
        {"PO-Revision-Date", Template ? String("YEAR-MO-DA HO:MI+ZONE") : Now()},
        {"Last-Translator", Field("Last-Translator", "none")},
        {"Language-Team", Field("Language-Team", Template ? String("none") : Language)},
        {"Language", Template ? String() : LanguageCode(Language)},
        {"MIME-Version", "1.0"},
        {"Content-Type", "text/plain; charset=UTF-8"},
        {"Content-Transfer-Encoding", "8bit"},
        {"X-Orlo-Language", Language},
        {"X-Orlo-Reference-Language", Reference},
    };
    for (const auto& [Name, Value] : Fields)
        Text += "\"" + PoEscaped(Name + ": " + Value + "\n") + "\"\n";
    return Text;
}

const TPoMessage* FindMessage(const TPoCatalog* Catalog, const String& Context) {
    if (!Catalog)
        return nullptr;
    for (const TPoMessage& Message : Catalog->Messages)
        if (!Message.Obsolete && Message.HasContext && Message.Context == Context)
            return &Message;
    return nullptr;
}

String MessageText(const String& Key, const String& Id, const String& Str,
                   const TPoMessage* Before) {
    String Text = "\n";
    // A translation made for another reference text needs a look.
    if (Before && !Str.empty() && Str == Before->Str && (Before->Id != Id || Before->Fuzzy)) {
        Text += "#, fuzzy\n";
        const String Old = Before->Id != Id ? Before->Id : Before->PreviousId;
        if (!Old.empty() && Old != Id)
            Text += PoString("#| ", "msgid", Old);
    }
    Text += PoString("", "msgctxt", Key);
    Text += PoString("", "msgid", Id);
    Text += PoString("", "msgstr", Str);
    return Text;
}

String ObsoleteText(const TPoMessage& Message) {
    return "\n" + PoString("#~ ", "msgctxt", Message.Context) +
           PoString("#~ ", "msgid", Message.Id) + PoString("#~ ", "msgstr", Message.Str);
}

// --- Reading ----------------------------------------------------------------------------

class TPoParser {
public:
    TPoParser(const String& Text, const String& FileName) : FText(Text), FFileName(FileName) {}

    TPoCatalog Parse() {
        size_t Start = 0;
        while (Start < FText.size()) {
            size_t End = FText.find('\n', Start);
            if (End == String::npos)
                End = FText.size();
            String Line = FText.substr(Start, End - Start);
            Start = End + 1;
            ++FLine;
            if (!Line.empty() && Line.back() == '\r')
                Line.pop_back();
            ParseLine(Trim(Line));
        }
        Finish();
        return std::move(FCatalog);
    }

private:
    enum class TField { None, Context, Id, IdPlural, Str, Ignored };

    [[noreturn]] void Fail(const String& What) const {
        throw EPoError(Format("%s:%d: %s", FFileName, FLine, What));
    }

    void ParseLine(String Line) {
        bool Obsolete = false;
        if (Line.rfind("#~", 0) == 0) {
            Obsolete = true;
            Line = Trim(Line.substr(2));
            if (Line.rfind("#", 0) == 0)
                return;
        }
        if (Line.empty())
            return;
        if (Line[0] == '#')
            return ParseComment(Line);
        if (Line[0] == '"')
            return Append(Quoted(Line));
        const size_t Blank = Line.find_first_of(" \t");
        if (Blank == String::npos)
            Fail("keyword without a string");
        const String Keyword = Line.substr(0, Blank);
        const String Value = Quoted(Trim(Line.substr(Blank)));
        StartField(Keyword, Value, Obsolete);
    }

    void ParseComment(const String& Line) {
        if (Line.rfind("#,", 0) == 0) {
            if (FField == TField::Str)
                Finish();
            if (Line.find("fuzzy") != String::npos)
                FPendingFuzzy = true;
        } else if (Line.rfind("#|", 0) == 0) {
            if (FField == TField::Str)
                Finish();
            String Rest = Trim(Line.substr(2));
            if (Rest.rfind("msgid ", 0) == 0) {
                FPendingPrevious = Quoted(Trim(Rest.substr(6)));
                FPreviousOpen = true;
            } else if (!Rest.empty() && Rest[0] == '"' && FPreviousOpen) {
                FPendingPrevious += Quoted(Rest);
            } else {
                FPreviousOpen = false;
            }
        }
    }

    void StartField(const String& Keyword, const String& Value, bool Obsolete) {
        if (Keyword == "msgctxt") {
            if (FField != TField::Str && FField != TField::None)
                Fail("msgctxt after msgid");
            Finish();
            Begin(Obsolete);
            FMessage.HasContext = true;
            FMessage.Context = Value;
            FField = TField::Context;
        } else if (Keyword == "msgid") {
            if (FField == TField::Id || FField == TField::IdPlural)
                Fail("msgid without msgstr");
            if (FField != TField::Context) {
                Finish();
                Begin(Obsolete);
            }
            FMessage.Id = Value;
            FHasId = true;
            FField = TField::Id;
        } else if (Keyword == "msgid_plural") {
            RequireId();
            FField = TField::IdPlural;
        } else if (Keyword == "msgstr" || Keyword == "msgstr[0]") {
            RequireId();
            FMessage.Str = Value;
            FHasStr = true;
            FField = TField::Str;
        } else if (Keyword.rfind("msgstr[", 0) == 0) {
            RequireId();
            FField = TField::Ignored; // further plural forms: no form value has them
        } else {
            Fail("unknown keyword " + Keyword);
        }
    }

    void RequireId() {
        if (!FHasId)
            Fail("msgstr without msgid");
    }

    void Begin(bool Obsolete) {
        FMessage = TPoMessage();
        FMessage.Line = FLine;
        FMessage.Obsolete = Obsolete;
        FMessage.Fuzzy = FPendingFuzzy;
        FMessage.PreviousId = FPendingPrevious;
        FPendingFuzzy = false;
        FPendingPrevious.clear();
        FPreviousOpen = false;
        FHasId = FHasStr = false;
    }

    void Append(const String& Value) {
        switch (FField) {
        case TField::Context:
            FMessage.Context += Value;
            break;
        case TField::Id:
            FMessage.Id += Value;
            break;
        case TField::Str:
            FMessage.Str += Value;
            break;
        case TField::IdPlural:
        case TField::Ignored:
            break;
        case TField::None:
            Fail("string outside a message");
        }
    }

    void Finish() {
        if (FField == TField::None)
            return;
        if (!FHasStr)
            Fail("message without msgstr");
        FField = TField::None;
        if (!FMessage.HasContext && FMessage.Id.empty() && !FMessage.Obsolete) {
            ReadHeader(FMessage.Str);
            return;
        }
        FCatalog.Messages.push_back(std::move(FMessage));
    }

    void ReadHeader(const String& Text) {
        size_t Start = 0;
        while (Start < Text.size()) {
            size_t End = Text.find('\n', Start);
            if (End == String::npos)
                End = Text.size();
            const String Line = Text.substr(Start, End - Start);
            if (const size_t Colon = Line.find(':'); Colon != String::npos)
                FCatalog.Header[Trim(Line.substr(0, Colon))] = Trim(Line.substr(Colon + 1));
            Start = End + 1;
        }
    }

    // The content of a C-style string literal.
    String Quoted(const String& Token) const {
        if (Token.size() < 2 || Token.front() != '"' || Token.back() != '"')
            Fail("string expected");
        String Result;
        for (size_t I = 1; I + 1 < Token.size(); ++I) {
            char C = Token[I];
            if (C == '"')
                Fail("unescaped quote in string");
            if (C != '\\') {
                Result += C;
                continue;
            }
            if (I + 2 >= Token.size())
                Fail("string ends in a backslash");
            C = Token[++I];
            switch (C) {
            case 'n':
                Result += '\n';
                break;
            case 'r':
                Result += '\r';
                break;
            case 't':
                Result += '\t';
                break;
            case 'a':
                Result += '\a';
                break;
            case 'b':
                Result += '\b';
                break;
            case 'f':
                Result += '\f';
                break;
            case 'v':
                Result += '\v';
                break;
            case '\\':
            case '"':
            case '\'':
            case '?':
                Result += C;
                break;
            default:
                Fail(Format("unknown escape \\%s", String(1, C)));
            }
        }
        return Result;
    }

    const String& FText;
    const String& FFileName;
    Integer FLine = 0;
    TPoCatalog FCatalog;
    TPoMessage FMessage;
    TField FField = TField::None;
    bool FHasId = false;
    bool FHasStr = false;
    bool FPendingFuzzy = false;
    String FPendingPrevious;
    bool FPreviousOpen = false;
};

String ReferenceOf(TLanguageManager* Manager, const String& ReferenceLanguage) {
    if (!ReferenceLanguage.empty())
        return FindLanguage(Manager, ReferenceLanguage)->Name();
    if (Manager->Langs()->Count() == 0)
        throw Exception("The form has no languages");
    return Manager->Langs()->Items(0)->Name();
}

// Latin letters with accents as their base letters ("Français" -> "Francais"),
// as the language table spells some native names.
String WithoutAccents(const String& S) {
    static const char Base[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
    String Result;
    for (size_t I = 0; I < S.size(); ++I) {
        const auto Lead = static_cast<unsigned char>(S[I]);
        const auto Next = I + 1 < S.size() ? static_cast<unsigned char>(S[I + 1]) : 0;
        if (Lead == 0xC3 && Next >= 0x80 && Next <= 0xBF) {
            Result += Base[Next - 0x80];
            ++I;
        } else {
            Result += S[I];
        }
    }
    return Result;
}

} // namespace

String LanguageCode(const String& Language) {
    if (const String Plain = WithoutAccents(Language); Plain != Language)
        if (const String Code = LanguageCode(Plain); !Code.empty())
            return Code;
    String English = Language;
    if (!IsDefaultLanguage(TLanguageNames{lnEnglish}, English)) {
        English = Language;
        if (!TranslateLanguage(lnOriginal, English))
            return String();
    }
    for (const auto& [Name, Code] : Codes)
        if (English == Name)
            return String(Code);
    return String();
}

String PoLanguage(const TPoCatalog& Catalog) {
    if (auto Found = Catalog.Header.find("X-Orlo-Language");
        Found != Catalog.Header.end() && !Found->second.empty())
        return Found->second;
    if (auto Found = Catalog.Header.find("Language"); Found != Catalog.Header.end()) {
        const String Code = LowerCase(Found->second.substr(0, Found->second.find_first_of("_@.")));
        for (const auto& [Name, Each] : Codes)
            if (Code == Each)
                return String(Name);
    }
    return String();
}

TPoCatalog ParsePo(const String& Text, const String& FileName) {
    const String Utf8 = IsValidUtf8(Text) ? Text : Windows1252ToUtf8(Text);
    return TPoParser(Utf8, FileName).Parse();
}

String ExportPo(TLanguageManager* Manager, const String& Language, const String& ReferenceLanguage,
                const TPoCatalog* Previous) {
    const String Reference = ReferenceOf(Manager, ReferenceLanguage);
    const TLanguageEntry* RefLang = FindLanguage(Manager, Reference);
    const TLanguageEntry* Lang = Language.empty() ? nullptr : FindLanguage(Manager, Language);
    String Text = HeaderText(Manager, Lang ? Lang->Name() : String(), Reference, Previous);
    std::set<String> Written;
    for (const TExchangeEntry& Each : ExchangeEntries(Manager)) {
        if (!Written.insert(Each.Key).second)
            continue;
        const String Id = SlotText(Each.Entry, RefLang);
        const TPoMessage* Before = Lang ? FindMessage(Previous, Each.Key) : nullptr;
        String Str = Lang ? SlotText(Each.Entry, Lang) : String();
        if (Str.empty() && Before)
            Str = Before->Str;
        Text += MessageText(Each.Key, Id, Str, Before);
    }
    if (Previous && Lang)
        for (const TPoMessage& Message : Previous->Messages)
            if (Message.HasContext && !Message.Str.empty() && !Written.count(Message.Context))
                Text += ObsoleteText(Message);
    return Text;
}

TPoExchange PoToExchange(const TPoCatalog& Catalog, TLanguageManager* Manager,
                         const String& Language, const String& ReferenceLanguage) {
    TPoExchange Result;
    std::map<String, String> References;
    if (Manager->Langs()->Count() > 0) {
        const TLanguageEntry* RefLang =
            FindLanguage(Manager, ReferenceOf(Manager, ReferenceLanguage));
        for (const TExchangeEntry& Each : ExchangeEntries(Manager))
            References.emplace(Each.Key, SlotText(Each.Entry, RefLang));
    }
    const String Section =
        (Manager->HasRoot() ? Manager->RootClassName() : String()) + "." + Language;
    Result.Text = "[" + Section + "]\r\n";
    for (const TPoMessage& Message : Catalog.Messages) {
        if (Message.Obsolete || Message.Str.empty())
            continue;
        if (!Message.HasContext || Message.Context.find_first_of("=\r\n") != String::npos ||
            Trim(Message.Context) != Message.Context || Message.Context.empty()) {
            Result.Unusable.push_back(Format("%d: msgctxt \"%s\" names no value", Message.Line,
                                             PoEscaped(Message.Context)));
            continue;
        }
        const String Line = Message.Context + "=" + QuoteExchangeValue(Message.Str);
        Result.Text += Line + "\r\n";
        Result.Lines["[" + Section + "]=" + Line] = Message.Line;
        if (auto Found = References.find(Message.Context);
            Found != References.end() && Found->second != Message.Id)
            Result.Changed.push_back(Message.Context);
    }
    return Result;
}

} // namespace orlo
