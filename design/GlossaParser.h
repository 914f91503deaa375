#pragma once
// TGlossaParser: finds the GetString calls of a source unit and compares the
// names they use with the string table of a TGlossa.
//
// Pascal (the default): calls GetString('Name'), or Glossa.GetString('Name')
// in the qualified-only mode; the unit must end with "end" ".".
// C and C++: calls GetString("Name"), or Glossa->GetString("Name") and
// Glossa.GetString("Name") in the qualified-only mode; adjacent literals
// are joined, and an identifier directly before an unqualified GetString
// makes a declaration of it, not a call.

#include "design/SourceParser.h"

#include <memory>

namespace orlo {

class TGlossa;
class TStringList;
class TStrings;

class TGlossaParser : public TSourceParser {
    ORLO_CLASS(TGlossaParser, TSourceParser)
public:
    // Glossa names the component of qualified calls; StringNames (not owned)
    // are the names of its string table. Language is how Check reads Text.
    TGlossaParser(const TGlossa* Glossa, const TStrings* StringNames, String Text,
                  TCodeType Language = ctPascal);
    // The same for a component known only by its name.
    TGlossaParser(String ComponentName, const TStrings* StringNames, String Text,
                  TCodeType Language = ctPascal);
    ~TGlossaParser() override;

    // Fills the four lists. False (and the lists empty) when a Pascal text has
    // no final "end" ".": the check was not possible.
    bool Check(bool QualifiedOnly);

    // Each entry carries the 0-based offset of what it reports as its object
    // (UnusedNames: none).
    TStringList* InvalidCalls() const noexcept { return FInvalidCalls.get(); }
    TStringList* UsedNames() const noexcept { return FUsedNames.get(); }
    TStringList* UnusedNames() const noexcept { return FUnusedNames.get(); }
    TStringList* UndefinedNames() const noexcept { return FUndefinedNames.get(); }
    // The offset that entry Index of one of the lists carries.
    static Integer OffsetOf(const TStrings* List, Integer Index);

    const String& ComponentName() const noexcept { return FComponentName; }
    TCodeType Language() const noexcept { return FLanguage; }

private:
    struct TCall {
        Integer Start;         // the component's name, or GetString
        Integer NameEnd;       // just after GetString
        Integer Following;     // the token after GetString; -1 when there is none
        Integer ArgumentStart; // the first token after "("; -1 when there is none
        Integer Next;          // after the last token read; -1 at the end of the range
    };
    class TNameSet;
    struct TArgument {
        String Name;
        Integer Offset;
    };

    std::optional<TCall> FindPascalCall(Integer From, Integer To, bool QualifiedOnly) const;
    std::optional<TCall> FindCCall(Integer From, Integer To, bool QualifiedOnly) const;
    // Where the call of GetString starts; nullopt when it is no call of the
    // wanted form.
    std::optional<Integer> CCallStart(const TTokenSpan& GetString, bool QualifiedOnly) const;
    // The start of the "." or "->" directly before Offset.
    std::optional<Integer> AccessOperatorBefore(Integer Offset) const;
    bool IsCDeclaration(const TTokenSpan& GetString) const;
    // Reads the argument of a call; LastToken moves past what was read.
    std::optional<TArgument> ReadPascalArgument(TCall& Call, Integer To) const;
    std::optional<TArgument> ReadCArgument(TCall& Call, Integer To) const;
    // The text of the literal whose opening quote is at Offset; nullopt when it
    // is unterminated or holds escapes that name no single character.
    std::optional<String> ReadCLiteral(Integer Offset, bool Raw) const;
    void AddInvalidCall(const TCall& Call);
    void AddUsedName(const TArgument& Argument, const TNameSet& Defined);
    void AddUnusedNames();

    String FComponentName;
    const TStrings* FStringNames;
    TCodeType FLanguage;
    std::unique_ptr<TStringList> FInvalidCalls;
    std::unique_ptr<TStringList> FUsedNames;
    std::unique_ptr<TStringList> FUnusedNames;
    std::unique_ptr<TStringList> FUndefinedNames;
};

} // namespace orlo
