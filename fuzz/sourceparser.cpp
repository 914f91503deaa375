// Arbitrary text through the source parser in each code type: nothing raises,
// the mask covers the text character for character, the blocks lie in the
// text in order, token searches end, and the check fills its lists.

#include "design/GlossaParser.h"
#include "platform/classes/Strings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orlo;

namespace {

void Require(bool Condition) {
    if (!Condition)
        std::abort();
}

void CheckBlocks(const TSourceParser& Parser) {
    const auto Length = static_cast<Integer>(Parser.Text().size());
    Require(Parser.Mask().size() == Parser.Text().size());
    Integer End = 0;
    for (Integer I = 0; I < Parser.Blocks().Count(); ++I) {
        const TSourceCodeBlock* Block = Parser.Blocks().Items(I);
        Require(Block->Offset() >= End && Block->Length() > 0);
        End = Block->Offset() + Block->Length();
        Require(End <= Length);
    }
}

void WalkTokens(const TSourceParser& Parser, Integer From, Integer To) {
    Integer Count = 0;
    for (auto Token = Parser.FindNextToken(From, To); Token;
         Token = Token->NextOffset < 0 ? std::nullopt : Parser.FindNextToken(Token->NextOffset, To))
        Require(++Count <= static_cast<Integer>(Parser.Text().size()));
}

void CheckCalls(const String& Text, TCodeType Type, const TStrings* Names) {
    for (const bool Qualified : {false, true}) {
        TGlossaParser Parser("Glossa", Names, Text, Type);
        Parser.Check(Qualified);
        for (const TStringList* List :
             {Parser.UsedNames(), Parser.UndefinedNames(), Parser.InvalidCalls()})
            for (Integer I = 0; I < List->Count(); ++I) {
                const Integer Offset = TGlossaParser::OffsetOf(List, I);
                Require(Offset >= 0 && Offset < static_cast<Integer>(Text.size()));
            }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const String Text(reinterpret_cast<const char*>(Data), Size);
    TStringList Names;
    Names.Add("Title");
    Names.Add("It's");
    for (const TCodeType Type : {ctPascal, ctC, ctCpp}) {
        TSourceParser Parser(Text);
        Parser.ParseLines(Type);
        CheckBlocks(Parser);
        WalkTokens(Parser, 0, -1);
        WalkTokens(Parser, -1, 0);
        Parser.FindSymbol(0, -1, "end", {fsNoIdentifierBefore, fsNoIdentifierAfter});
        Parser.FindSymbol(-1, 0, "GetString");
        if (Type == ctPascal) {
            Parser.Pas_HasUnitMainProgram();
            Parser.Pas_UseUnit("Glossa", true);
            Parser.ParseLines(Type);
            CheckBlocks(Parser);
            Parser.Pas_UseUnit("Glossa", false);
        }
        CheckCalls(Text, Type, &Names);
    }
    return 0;
}
