#include "platform/classes/Strings.h"

#include "platform/classes/Lists.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace orlo {

namespace {

const char* const LineBreak = "\r\n";

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}

bool NeedsQuotes(const String& S) {
    return S.empty() || std::any_of(S.begin(), S.end(),
                                    [](char C) { return IsBlank(C) || C == '"' || C == ','; });
}

void SkipBlanks(std::string_view& P) {
    while (!P.empty() && IsBlank(P.front()))
        P.remove_prefix(1);
}

String ReadCommaItem(std::string_view& P) {
    if (P.front() == '"')
        return AnsiExtractQuotedStr(P, '"');
    size_t End = 0;
    while (End < P.size() && !IsBlank(P[End]) && P[End] != ',')
        ++End;
    String Item(P.substr(0, End));
    P.remove_prefix(End);
    return Item;
}

// Skips the blanks and at most one comma (with its blanks) after an item.
void SkipSeparator(std::string_view& P) {
    SkipBlanks(P);
    if (!P.empty() && P.front() == ',') {
        P.remove_prefix(1);
        SkipBlanks(P);
    }
}

} // namespace

// --- TStrings ----------------------------------------------------------------

ORLO_PUBLISHED(TStrings, "Classes") {}

void TStrings::Put(Integer Index, const String& S) {
    TObject* Obj = GetObject(Index);
    WithUpdate(*this, [&] {
        Delete(Index);
        InsertObject(Index, S, Obj);
    });
}

Integer TStrings::Add(const String& S) {
    Integer Index = Count();
    Insert(Index, S);
    return Index;
}

Integer TStrings::AddObject(const String& S, TObject* AObject) {
    Integer Index = Add(S);
    PutObject(Index, AObject);
    return Index;
}

void TStrings::InsertObject(Integer Index, const String& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
    String S1 = Get(Index1);
    TObject* O1 = GetObject(Index1);
    String S2 = Get(Index2);
    TObject* O2 = GetObject(Index2);
    WithUpdate(*this, [&] {
        Put(Index1, S2);
        PutObject(Index1, O2);
        Put(Index2, S1);
        PutObject(Index2, O1);
    });
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
    if (CurIndex == NewIndex)
        return;
    String S = Get(CurIndex);
    TObject* Obj = GetObject(CurIndex);
    if (NewIndex < 0 || NewIndex >= Count())
        throw EStringListError(ListIndexErrorText(NewIndex));
    WithUpdate(*this, [&] {
        Delete(CurIndex);
        InsertObject(NewIndex, S, Obj);
    });
}

void TStrings::AddStrings(const TStrings* Strings) {
    const Integer N = Strings->Count(); // adding a list to itself copies it once
    WithUpdate(*this, [&] {
        for (Integer I = 0; I < N; ++I)
            AddObject(Strings->Get(I), Strings->GetObject(I));
    });
}

void TStrings::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TStrings*>(Source);
    if (!Other)
        return TPersistent::Assign(Source);
    if (Other == this)
        return;
    WithUpdate(*this, [&] {
        Clear();
        AddStrings(Other);
    });
}

bool TStrings::Equals(const TStrings* Strings) const {
    const Integer N = Count();
    if (!Strings || Strings->Count() != N)
        return false;
    for (Integer I = 0; I < N; ++I)
        if (Get(I) != Strings->Get(I))
            return false;
    return true;
}

Integer TStrings::CompareStrings(const String& S1, const String& S2) const {
    return AnsiCompareText(S1, S2);
}

Integer TStrings::IndexOf(const String& S) const {
    const Integer N = Count();
    for (Integer I = 0; I < N; ++I)
        if (CompareStrings(Get(I), S) == 0)
            return I;
    return -1;
}

Integer TStrings::IndexOfName(const String& Name) const {
    const Integer N = Count();
    for (Integer I = 0; I < N; ++I) {
        String Line = Get(I);
        size_t Eq = Line.find('=');
        if (Eq != String::npos && CompareStrings(Line.substr(0, Eq), Name) == 0)
            return I;
    }
    return -1;
}

Integer TStrings::IndexOfObject(const TObject* AObject) const {
    const Integer N = Count();
    for (Integer I = 0; I < N; ++I)
        if (GetObject(I) == AObject)
            return I;
    return -1;
}

String TStrings::Names(Integer Index) const {
    String Line = Get(Index);
    size_t Eq = Line.find('=');
    return Eq == String::npos ? String() : Line.substr(0, Eq);
}

String TStrings::ValueFromIndex(Integer Index) const {
    String Line = Get(Index);
    size_t Eq = Line.find('=');
    return Eq == String::npos ? String() : Line.substr(Eq + 1);
}

String TStrings::Values(const String& Name) const {
    Integer Index = IndexOfName(Name);
    return Index < 0 ? String() : ValueFromIndex(Index);
}

void TStrings::SetValue(const String& Name, const String& Value) {
    Integer Index = IndexOfName(Name);
    if (Value.empty()) {
        if (Index >= 0)
            Delete(Index);
    } else if (Index >= 0) {
        Put(Index, Name + "=" + Value);
    } else {
        Add(Name + "=" + Value);
    }
}

String TStrings::Text() const {
    String Result;
    const Integer N = Count();
    for (Integer I = 0; I < N; ++I) {
        Result += Get(I);
        Result += LineBreak;
    }
    return Result;
}

void TStrings::SetText(const String& Value) {
    WithUpdate(*this, [&] {
        Clear();
        std::string_view P(Value);
        while (!P.empty()) {
            size_t End = P.find_first_of("\r\n");
            if (End == std::string_view::npos)
                End = P.size();
            Add(String(P.substr(0, End)));
            P.remove_prefix(End);
            if (!P.empty() && P.front() == '\r')
                P.remove_prefix(1);
            if (!P.empty() && P.front() == '\n')
                P.remove_prefix(1);
        }
    });
}

String TStrings::CommaText() const {
    String Result;
    const Integer N = Count();
    for (Integer I = 0; I < N; ++I) {
        String S = Get(I);
        if (I > 0)
            Result += ',';
        Result += NeedsQuotes(S) ? AnsiQuotedStr(S, '"') : S;
    }
    return Result;
}

void TStrings::SetCommaText(const String& Value) {
    WithUpdate(*this, [&] {
        Clear();
        std::string_view P(Value);
        SkipBlanks(P);
        while (!P.empty()) {
            Add(ReadCommaItem(P));
            SkipSeparator(P);
        }
    });
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount == 0) // unmatched: never let the count go negative
        return;
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

// --- TStringList -------------------------------------------------------------

ORLO_PUBLISHED(TStringList, "Classes") {}

void TStringList::CheckIndex(Integer Index) const {
    if (Index < 0 || Index >= Count())
        throw EStringListError(ListIndexErrorText(Index));
}

void TStringList::CheckUnsorted() const {
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted string list");
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

String TStringList::Get(Integer Index) const {
    CheckIndex(Index);
    return FList[static_cast<size_t>(Index)].FString;
}

void TStringList::Put(Integer Index, const String& S) {
    CheckUnsorted();
    CheckIndex(Index);
    Changing();
    FList[static_cast<size_t>(Index)].FString = S;
    ++FChangeCount;
    Changed();
}

TObject* TStringList::GetObject(Integer Index) const {
    CheckIndex(Index);
    return FList[static_cast<size_t>(Index)].FObject;
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
    CheckIndex(Index);
    Changing();
    FList[static_cast<size_t>(Index)].FObject = AObject;
    ++FChangeCount;
    Changed();
}

Integer TStringList::Add(const String& S) {
    return AddObject(S, nullptr);
}

Integer TStringList::AddObject(const String& S, TObject* AObject) {
    Integer Index = Count();
    if (FSorted && Find(S, Index)) {
        if (FDuplicates == dupIgnore)
            return Index;
        if (FDuplicates == dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(Index, S, AObject);
    return Index;
}

void TStringList::Insert(Integer Index, const String& S) {
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(Integer Index, const String& S, TObject* AObject) {
    CheckUnsorted();
    if (Index < 0 || Index > Count())
        throw EStringListError(ListIndexErrorText(Index));
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(Integer Index, const String& S, TObject* AObject) {
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{S, AObject});
    ++FChangeCount;
    Changed();
}

void TStringList::Delete(Integer Index) {
    CheckIndex(Index);
    Changing();
    FList.erase(FList.begin() + Index);
    ++FChangeCount;
    Changed();
}

void TStringList::Clear() {
    if (FList.empty())
        return;
    Changing();
    FList.clear();
    ++FChangeCount;
    Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
    CheckUnsorted();
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
    ++FChangeCount;
    Changed();
}

void TStringList::Move(Integer CurIndex, Integer NewIndex) {
    CheckUnsorted();
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (CurIndex == NewIndex)
        return;
    Changing();
    MoveListItem(FList, CurIndex, NewIndex);
    ++FChangeCount;
    Changed();
}

Integer TStringList::CompareStrings(const String& S1, const String& S2) const {
    return FCaseSensitive ? CompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

bool TStringList::Find(const String& S, Integer& Index) const {
    if (!FSorted) {
        Index = TStrings::IndexOf(S);
        if (Index >= 0)
            return true;
        Index = Count();
        return false;
    }
    auto First = std::lower_bound(FList.begin(), FList.end(), S,
                                  [this](const TStringItem& Item, const String& Key) {
                                      return CompareStrings(Item.FString, Key) < 0;
                                  });
    Index = static_cast<Integer>(First - FList.begin());
    return First != FList.end() && CompareStrings(First->FString, S) == 0;
}

Integer TStringList::IndexOf(const String& S) const {
    Integer Index = -1;
    return Find(S, Index) ? Index : -1;
}

Integer TStringList::CompareLines(TStringList* List, Integer Index1, Integer Index2) {
    return List->CompareStrings(List->FList[static_cast<size_t>(Index1)].FString,
                                List->FList[static_cast<size_t>(Index2)].FString);
}

void TStringList::Sort() {
    CustomSort(CompareLines);
}

void TStringList::CustomSort(TStringListSortCompare Compare) {
    // A sorted list is always in its search order; any other order would break Find.
    if (!FSorted)
        SortItems(Compare);
}

void TStringList::SortItems(TStringListSortCompare Compare) {
    if (Count() < 2)
        return;
    // Compare sees the lines at their places until the new order is known.
    std::vector<Integer> Order(FList.size());
    std::iota(Order.begin(), Order.end(), 0);
    std::stable_sort(Order.begin(), Order.end(),
                     [&](Integer A, Integer B) { return Compare(this, A, B) < 0; });
    Changing();
    std::vector<TStringItem> Sorted;
    Sorted.reserve(FList.size());
    for (Integer I : Order)
        Sorted.push_back(std::move(FList[static_cast<size_t>(I)]));
    FList = std::move(Sorted);
    ++FChangeCount;
    Changed();
}

void TStringList::SetSorted(bool Value) {
    if (Value == FSorted)
        return;
    if (Value)
        SortItems(CompareLines);
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (Value == FCaseSensitive)
        return;
    FCaseSensitive = Value;
    if (FSorted)
        SortItems(CompareLines);
}

void ReplaceLines(TStrings* Strings, const std::vector<String>& Lines) {
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        for (const String& Line : Lines)
            Strings->Add(Line);
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

} // namespace orlo
