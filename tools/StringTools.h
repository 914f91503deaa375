#pragma once
// The library's text toolbox: searching, replacing, filling, name=value
// splitting, trimming around an insertion point, quote stripping, byte-buffer
// helpers and the wildcard matcher of the translation editor's filters.
//
// Positions in strings are 1-based byte positions, as everywhere in the
// run-time library (0 = not found); buffer offsets are 0-based (-1 = not
// found). Widths (FillStr, FillStrEx) and the "?" wildcard count characters,
// so UTF-8 text lines up and matches the way a reader sees it. Comparisons are
// exact. A blank is any byte of code 32 or less, what Trim removes.
//
// Choices for the cases nothing relies on:
// - Compare and CompareChar with Count 0 (or less) are true: no byte differs.
// - FindBuffer with an empty pattern finds it at offset 0, like searching an
//   empty string; a negative length finds nothing (-1).
// - FindChar, StrToBuf and SetStr treat a negative count as 0.
// - PosEx never finds an empty Substr, in either direction.

#include "platform/rtl/Types.h"

namespace orlo {

// Position of the Nr-th occurrence of Substr in S, 0 if there are fewer. From the
// left, occurrences do not overlap; from the right, every start position counts.
// Exception "PosEx failed. Nr must be larger than zero" for Nr < 1.
Integer PosEx(const String& Substr, const String& S, Integer Nr, bool FromLeft = true);

// S padded on the right with blanks to Len characters; longer S is unchanged.
String FillStr(const String& S, Integer Len);
// S padded with Ch to Len characters, on the left if Left; longer S is unchanged.
String FillStrEx(const String& S, char Ch, Integer Len, bool Left);

// S with the first occurrence of Old replaced by New.
String ReplaceStr(const String& S, const String& Old, const String& New);
// Every occurrence replaced; the inserted text is never searched again, and an
// empty Old leaves S unchanged.
String ReplaceAll(const String& S, const String& Old, const String& New);
// S without any occurrence of Ch.
String RemoveChars(const String& S, char Ch);
// S repeated Count times; empty for Count <= 0.
String StringOfString(const String& S, Integer Count);

// Inserts Sub into S at Pos, after removing the blanks at Pos and, when a
// non-blank follows, the blanks just before it: "a   b" at 3 gives "axb".
void TrimInsert(const String& Sub, String& S, Integer Pos);

// Splits at the first "=": Name before it, Value after it; without "=", Name is
// empty and Value is S. Nothing is trimmed.
void ExtractNameValue(const String& S, String& Name, String& Value);
// ExtractNameValue, then "Items[3]" as Name gives Name "Items" and Index "3";
// Index is empty unless Name holds a "[" before its first "]".
void ExtractNameIndexValue(const String& S, String& Name, String& Index, String& Value);

// When S, trimmed, has at least two characters and starts with Prefix and ends
// with Suffix: Dest := the trimmed text without them, true. Otherwise Dest := S
// unchanged and false.
bool RemovePrefixAndSuffix(const String& S, char Prefix, char Suffix, String& Dest);
// S without the apostrophes around it ("'abc'" gives "abc"); inner doubled
// apostrophes stay as they are.
String RemoveApostrophes(const String& S);

// Finds the next word (a run of non-blanks) at or after Pos. Pos < 1 starts at 1.
// Found: Word := it, Pos := the position after it, true. Only blanks left: Pos :=
// Length(S) + 1, false. Pos beyond S: false, Pos unchanged.
bool FindWord(const String& S, Integer& Pos, String& Word);

// Copies the first min(Size, Length(S)) bytes of S to Buf, without terminator.
void StrToBuf(const String& S, void* Buf, Integer Size);
// S := the bytes at P up to the first NUL or Len bytes, whichever comes first.
void SetStr(String& S, const void* P, Integer Len);

// Offset of the first of the Count bytes at P equal to Ch; -1 if none.
Integer FindChar(const void* P, Integer Count, char Ch);
// Offset of the first occurrence of the PatternLen bytes at Pattern among the
// BufferLen bytes at Buffer; -1 if none or if the pattern is the longer.
Integer FindBuffer(const void* Pattern, Integer PatternLen, const void* Buffer, Integer BufferLen);
// The Count bytes at P1 and P2 are equal.
bool Compare(const void* P1, const void* P2, Integer Count);
// Every one of the Count bytes at P equals Ch.
bool CompareChar(const void* P, Integer Count, char Ch);

// Matches the whole of S against Filter: "*" is any run of characters, "?" one
// character, everything else itself (case matters). A "*" stops at the first
// occurrence of the text that follows it, without backtracking: "*a" does not
// match "aba", "*a*" does. Traces its steps through TDebug.
bool CompareFilter(const String& Filter, const String& S);

} // namespace orlo
