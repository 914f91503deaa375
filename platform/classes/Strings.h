#pragma once
// String lists: TStrings, the abstract list of lines with an object per line,
// and TStringList, the list that stores them (optionally sorted). The objects
// are references: a list never frees them.

#include "platform/classes/Persistent.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Method.h"

#include <vector>

namespace orlo {

class TStrings : public TPersistent {
    ORLO_CLASS(TStrings, TPersistent)
public:
    TStrings() = default;

    // --- Lines and their objects ---------------------------------------------
    virtual Integer Count() const = 0;
    virtual String Get(Integer Index) const = 0;
    // Replaces line Index, keeping its object.
    virtual void Put(Integer Index, const String& S);
    virtual TObject* GetObject(Integer Index) const { return nullptr; }
    virtual void PutObject(Integer Index, TObject* AObject) {}
    String Strings(Integer Index) const { return Get(Index); }
    TObject* Objects(Integer Index) const { return GetObject(Index); }

    // --- Adding, removing, reordering ----------------------------------------
    // The index the line went to.
    virtual Integer Add(const String& S);
    virtual Integer AddObject(const String& S, TObject* AObject);
    void Append(const String& S) { Add(S); }
    virtual void Insert(Integer Index, const String& S) = 0;
    virtual void InsertObject(Integer Index, const String& S, TObject* AObject);
    virtual void Delete(Integer Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(Integer Index1, Integer Index2);
    virtual void Move(Integer CurIndex, Integer NewIndex);
    // Appends every line of Strings with its object.
    virtual void AddStrings(const TStrings* Strings);
    // Copies the lines and objects of another TStrings.
    void Assign(TPersistent* Source) override;
    // Same lines in the same order (letter case counts; objects do not).
    bool Equals(const TStrings* Strings) const;
    void DefineProperties(TFiler* Filer) override; // the lines as "Strings"

    // --- Searching -----------------------------------------------------------
    // Compared as CompareStrings does; -1 when absent.
    virtual Integer IndexOf(const String& S) const;
    Integer IndexOfName(const String& Name) const;
    Integer IndexOfObject(const TObject* AObject) const;

    // --- Name=Value lines ----------------------------------------------------
    // Text before the first "=" of line Index; "" when it has none.
    String Names(Integer Index) const;
    // Text after the first "=" of the line named Name; "" when there is none.
    String Values(const String& Name) const;
    String ValueFromIndex(Integer Index) const;
    // Replaces or adds the line "Name=Value"; an empty Value deletes the line.
    void SetValue(const String& Name, const String& Value);

    // --- Text forms ----------------------------------------------------------
    // Every line followed by CR LF.
    String Text() const;
    // Lines split at CR LF, LF or CR; a final line break adds no empty line.
    void SetText(const String& Value);
    // Lines separated by ","; a line that is empty or holds blanks, control
    // characters, commas or double quotes is quoted, with its quotes doubled.
    String CommaText() const;
    // Items separated by commas or blanks, quoted or not.
    void SetCommaText(const String& Value);

    // --- Batched changes -----------------------------------------------------
    void BeginUpdate();
    void EndUpdate();
    Integer UpdateCount() const noexcept { return FUpdateCount; }

protected:
    // Called with true when the first BeginUpdate starts a batch, with false
    // when the last EndUpdate ends it.
    virtual void SetUpdateState(bool Updating) {}
    // How lines are compared by IndexOf and IndexOfName: without regard to case.
    virtual Integer CompareStrings(const String& S1, const String& S2) const;

private:
    Integer FUpdateCount = 0;
};

enum TDuplicates : Byte { dupIgnore, dupAccept, dupError };

class TStringList;
// <0 when line Index1 comes first, 0 when equal, >0 when line Index2 comes first.
using TStringListSortCompare = Integer (*)(TStringList* List, Integer Index1, Integer Index2);

class TStringList : public TStrings {
    ORLO_CLASS(TStringList, TStrings)
public:
    TStringList() = default;

    Integer Count() const override { return static_cast<Integer>(FList.size()); }
    String Get(Integer Index) const override;
    void Put(Integer Index, const String& S) override;
    TObject* GetObject(Integer Index) const override;
    void PutObject(Integer Index, TObject* AObject) override;

    Integer Add(const String& S) override;
    Integer AddObject(const String& S, TObject* AObject) override;
    void Insert(Integer Index, const String& S) override;
    void InsertObject(Integer Index, const String& S, TObject* AObject) override;
    void Delete(Integer Index) override;
    void Clear() override;
    void Exchange(Integer Index1, Integer Index2) override;
    void Move(Integer CurIndex, Integer NewIndex) override;
    Integer IndexOf(const String& S) const override;

    // Searches a sorted list by halves, an unsorted one line by line. True when
    // S is there: Index is its first line; otherwise Index is where S belongs.
    bool Find(const String& S, Integer& Index) const;
    // Stable: equal lines keep their order.
    virtual void Sort();
    void CustomSort(TStringListSortCompare Compare);

    bool Sorted() const noexcept { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const noexcept { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) noexcept { FDuplicates = Value; }
    // False: letters compare without regard to case; true: by bytes.
    bool CaseSensitive() const noexcept { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);

    // Fired once per change, or once for a batch of BeginUpdate/EndUpdate.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    // Counts the changes of the lines, also inside BeginUpdate/EndUpdate and
    // whatever OnChange is: what is built from the lines is current while the
    // count is the one it was built at.
    UInt64 ChangeCount() const noexcept { return FChangeCount; }

protected:
    void SetUpdateState(bool Updating) override;
    Integer CompareStrings(const String& S1, const String& S2) const override;
    virtual void Changing();
    virtual void Changed();

private:
    struct TStringItem {
        String FString;
        TObject* FObject = nullptr;
    };

    void CheckIndex(Integer Index) const;
    void CheckUnsorted() const;
    void InsertItem(Integer Index, const String& S, TObject* AObject);
    // Reorders the lines whether the list is sorted or not.
    void SortItems(TStringListSortCompare Compare);
    // The list's own order, as CompareStrings gives it.
    static Integer CompareLines(TStringList* List, Integer Index1, Integer Index2);

    std::vector<TStringItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
    UInt64 FChangeCount = 0;
};

// Replaces the lines of Strings with Lines in one update: observers see a
// single change, and the update ends even when a line is refused.
void ReplaceLines(TStrings* Strings, const std::vector<String>& Lines);

} // namespace orlo
