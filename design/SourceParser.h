#pragma once
// TSourceParser: a light, error-tolerant scanner of Pascal, C and C++ source
// text. It builds no syntax tree: it classifies every character as code,
// string literal or comment (the mask), records every literal and comment as a
// block, and searches tokens and symbols while skipping literals and comments.
// A little Pascal structure sits on top: block nesting, the main program
// block, the uses clauses.
//
// Positions are 0-based byte offsets into the text, line breaks included (CR
// LF, LF or CR, each counted as long as it is); -1 means "none".

#include "platform/classes/Object.h"
#include "platform/rtl/Set.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace orlo {

// ctCpp comes last so that the values of the others keep their order.
enum TCodeType : Byte { ctAutoDetect, ctPascal, ctC, ctUnknown, ctCpp };

enum TBlockType : Byte { btString, btComment };

enum TFindSymbolOption : Byte {
    fsCaseSensitive,
    fsControlCharBefore,
    fsControlCharAfter,
    fsNoIdentifierBefore,
    fsNoIdentifierAfter
};
using TFindSymbolOptions = TSet<TFindSymbolOption>;

// Mask characters: one per character of the text.
namespace mask {
constexpr char Code = ' ';
constexpr char StringOpen = '[';
constexpr char StringInside = 's';
constexpr char StringClose = ']';
constexpr char StringContinued = '\\';
constexpr char CommentOpen = '{';
constexpr char CommentInside = 'c';
constexpr char CommentClose = '}';
} // namespace mask

class TSourceParser;

// A string literal or comment: where it starts and how many characters it
// covers (its delimiters and inner line breaks included).
class TSourceCodeBlock {
public:
    TSourceCodeBlock(const TSourceParser* Parser, TBlockType Type, Integer Line, Integer Column,
                     Integer Offset, Integer Length, bool Terminated)
        : FParser(Parser), FType(Type), FLine(Line), FColumn(Column), FOffset(Offset),
          FLength(Length), FTerminated(Terminated) {}

    TBlockType Type() const noexcept { return FType; }
    Integer Line() const noexcept { return FLine; }     // 0-based
    Integer Column() const noexcept { return FColumn; } // 1-based
    Integer Offset() const noexcept { return FOffset; }
    Integer Length() const noexcept { return FLength; }
    // False when the line or the text ended before the closing delimiter.
    bool Terminated() const noexcept { return FTerminated; }
    // The characters of the parser's current text that the block covers.
    String BlockText() const;

private:
    const TSourceParser* FParser;
    TBlockType FType;
    Integer FLine;
    Integer FColumn;
    Integer FOffset;
    Integer FLength;
    bool FTerminated;
};

// The blocks in the order in which they end in the text; blocks never nest, so
// this is text order.
class TSourceCodeBlocks {
public:
    Integer Count() const noexcept { return static_cast<Integer>(FItems.size()); }
    // EListError "List index out of bounds (%d)" for a bad Index.
    TSourceCodeBlock* Items(Integer Index) const;
    TSourceCodeBlock* Add(const TSourceCodeBlock& Block);
    void Clear() noexcept { FItems.clear(); }
    // The index of the first block that starts at Offset; -1 when none does.
    Integer IndexOfOffset(Integer Offset) const;

private:
    std::vector<std::unique_ptr<TSourceCodeBlock>> FItems;
};

// A token found by FindNextToken.
struct TSourceToken {
    String Text;
    Integer Start;
    Integer NextOffset; // after it (forwards) or before it (backwards); -1 outside the range
};

// Where a token, sequence or symbol was found.
struct TSourceMatch {
    Integer Start;
    Integer NextOffset;
};

// A line and column, both 1-based, columns counted in bytes.
struct TTextPosition {
    Integer Line;
    Integer Column;
};

// The main program block of a Pascal unit or program.
struct TMainProgram {
    bool HasMain;
    Integer MainBegin; // just after the main "begin"; -1 without main block
};

class TSourceParser : public TObject {
    ORLO_CLASS(TSourceParser, TObject)
public:
    // Stores Text and detects its code type; the mask stays empty until ParseLines.
    explicit TSourceParser(String Text);
    ~TSourceParser() override;

    const String& Text() const noexcept { return FText; }
    TCodeType CodeType() const noexcept { return FCodeType; }
    const TSourceCodeBlocks& Blocks() const noexcept { return FBlocks; }
    const String& Mask() const noexcept { return FMask; }

    // Classifies the whole text, rebuilding the blocks and the mask. ctAutoDetect
    // takes the detected type. Exception "<class>.ParseLines: Invalid CodeType"
    // for a type the scanner does not know.
    void ParseLines(TCodeType Type);

    // The index of the block that starts at Offset, when it has the given type.
    std::optional<Integer> GetBlockIndex(TBlockType Type, Integer Offset) const;

    // The next token between From and To inclusive (backwards when From > To; a
    // negative bound stands for the last offset). Literal and comment contents
    // are skipped; each quote of a literal is a token "'" of its own.
    std::optional<TSourceToken> FindNextToken(Integer From, Integer To) const;
    // The first token equal to Token (ignoring case unless fsCaseSensitive).
    std::optional<TSourceMatch> FindToken(Integer From, Integer To, const String& Token,
                                          TFindSymbolOptions Options = {}) const;
    // Tokens[0] followed directly by the other entries.
    std::optional<TSourceMatch> FindTokenSequence(Integer From, Integer To,
                                                  const std::vector<String>& Tokens,
                                                  TFindSymbolOptions Options = {}) const;
    // A substring starting at an unmasked position. Backwards (From > To) the
    // symbol must lie wholly between To and From.
    std::optional<TSourceMatch> FindSymbol(Integer From, Integer To, const String& Symbol,
                                           TFindSymbolOptions Options = {}) const;
    // X when it lies between A and B inclusive (either order), else -1.
    static Integer GetNextOffset(Integer A, Integer B, Integer X) noexcept;

    // Replaces the characters of block Index in the text (or in S). The blocks
    // are not updated: callers parse again.
    void ReplaceBlockText(Integer Index, const String& NewText);
    void ReplaceBlockTextEx(Integer Index, const String& NewText, String& S) const;

    // Line and column of an offset of the current text.
    TTextPosition PositionOf(Integer Offset) const;

    // --- Pascal structure ------------------------------------------------------
    // Whether Token opens a block that a later "end" closes; nullopt on a
    // structural error (a class or interface declaration that runs out of
    // tokens). From..To is the range after Token.
    std::optional<bool> Pas_IsBeginToken(const String& PrevToken, const String& Token, Integer From,
                                         Integer To) const;
    // Whether the class or interface declaration whose tokens follow From has a
    // body; nullopt when the range ends before that is decided.
    std::optional<bool> Pas_CheckClassOrInterfaceToken(Integer From, Integer To) const;
    // The main block of the text; nullopt without a final "end" "." or on a
    // structural error.
    std::optional<TMainProgram> Pas_HasUnitMainProgram() const;
    // Makes sure UnitName stands in a uses clause of the interface (or the
    // implementation) part, inserting it if needed. Whether it was there
    // already; nullopt when the text has no final "end" "." or its sections are
    // out of order. The blocks and the mask are stale afterwards.
    std::optional<bool> Pas_UseUnit(const String& UnitName, bool InInterface);

protected:
    // A token as a place in the text, without a copy of it.
    struct TTokenSpan {
        Integer Start;
        Integer Length;
        Integer NextOffset;
    };
    std::optional<TTokenSpan> NextSpan(Integer From, Integer To) const;
    std::string_view SpanText(const TTokenSpan& Span) const {
        return std::string_view(FText).substr(Span.Start, Span.Length);
    }
    // The previous token before Offset, searching back to 0.
    std::optional<TTokenSpan> PreviousSpan(Integer Offset) const;
    // The start of the "end" of the first "end" "." pair; nullopt when there is none.
    std::optional<Integer> FindFinalEnd() const;
    char MaskAt(Integer Offset) const noexcept;

private:
    class TScanner;

    TCodeType DetectCodeType() const;
    bool IsSkipped(Integer Offset) const noexcept;
    bool IsMasked(Integer Offset) const noexcept;
    bool SymbolBoundsHold(Integer P, Integer L, TFindSymbolOptions Options) const;
    String LineBreak() const;
    Integer ProgramAnchor(Integer Last) const;
    // The offset after "uses" of the wanted section; whether UnitName is listed there.
    struct TUsesClause {
        Integer InsertAt = -1;
        bool Listed = false;
    };
    TUsesClause FindUsesClause(const String& UnitName, Integer Last, Integer ImplAnchor,
                               bool Sectioned, bool InInterface) const;
    void InsertTrimmed(Integer At, const String& Insertion);

    String FText;
    TCodeType FCodeType;
    TSourceCodeBlocks FBlocks;
    String FMask;
    mutable std::vector<Integer> FLineStarts; // built on first PositionOf
};

// '' becomes ' (a Pascal literal's text), and back.
String PascalStringToString(const String& S);
String StringToPascalString(const String& S);

} // namespace orlo
