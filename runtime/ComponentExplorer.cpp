#include "runtime/ComponentExplorer.h"

#include "platform/classes/Collection.h"
#include "platform/classes/Strings.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ClassInfo.h"
#include "tools/VersionControl.h"

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /runtime/ComponentExplorer.cpp 1.0 09.12.26 22:40 orlo $");

// Whether the current value counts as set for pfAssigned; kinds without an
// empty value count as set.
bool HasAssignedValue(TObject* Instance, const TPropInfo* PropInfo) {
    if (!PropInfo || !PropInfo->PropType || !PropInfo->HasGetter())
        return true;
    const TTypeKind Kind = PropInfo->PropType->Kind;
    if (IsStringKind(Kind))
        return !GetStrProp(Instance, PropInfo).empty();
    if (Kind == tkInteger || Kind == tkChar || Kind == tkSet)
        return GetOrdProp(Instance, PropInfo) != 0;
    return true;
}

// One population run: the settings, the entry class and the filter stay the same.
class TPopulation {
public:
    TPopulation(const TCESettings& Settings, TClass PropClass, TPropertyFilter Filter)
        : FSettings(Settings), FPropClass(PropClass), FFilter(Filter) {}

    void Describe(TObject* Instance, const String& Name, const String& TypeName, Integer Depth,
                  TMainEntries* Into) const;

private:
    void DescribeCollection(TCollection* Items, const String& Name, Integer Depth,
                            TMainEntries* Into) const;
    void DescribeStrings(TStrings* Lines, const String& Name, TMainEntries* Into) const;
    TMainEntry* DescribeProperties(TObject* Instance, const String& Name, const String& TypeName,
                                   Integer Depth, TMainEntries* Into) const;
    bool Accepts(const String& PropName, const String& TypeName, TObject* Instance,
                 const TPropInfo* PropInfo) const {
        return !FFilter || FFilter(PropName, TypeName, Instance, PropInfo);
    }

    const TCESettings& FSettings;
    TClass FPropClass;
    TPropertyFilter FFilter;
};

void TPopulation::Describe(TObject* Instance, const String& Name, const String& TypeName,
                           Integer Depth, TMainEntries* Into) const {
    if (auto* Items = dynamic_cast<TCollection*>(Instance))
        DescribeCollection(Items, Name, Depth, Into);
    else if (auto* Lines = dynamic_cast<TStrings*>(Instance))
        DescribeStrings(Lines, Name, Into);
    else if (Depth == 0 || !dynamic_cast<TComponent*>(Instance))
        // Components reached through a property have top-level entries of their own.
        DescribeProperties(Instance, Name, TypeName, Depth, Into);
}

void TPopulation::DescribeCollection(TCollection* Items, const String& Name, Integer Depth,
                                     TMainEntries* Into) const {
    const String ItemTypeName = Items->ItemClass() ? Items->ItemClass()->ClassName() : String();
    for (Integer I = 0; I < Items->Count(); ++I) {
        TMainEntry* Entry = DescribeProperties(Items->Items(I), Name + "[" + IntToStr(I) + "]",
                                               ItemTypeName, Depth, Into);
        Entry->SetSubType({stPubPropObject, stCollectionObject});
    }
}

void TPopulation::DescribeStrings(TStrings* Lines, const String& Name, TMainEntries* Into) const {
    if (!Accepts("Strings", "String", nullptr, nullptr))
        return;
    const bool AssignedOnly = FSettings.PropFilter.Contains(pfAssigned);
    TMainEntry* Entry = nullptr;
    for (Integer I = 0; I < Lines->Count(); ++I) {
        if (AssignedOnly && Lines->Strings(I).empty())
            continue;
        if (!Entry) {
            Entry = static_cast<TMainEntry*>(Into->Add());
            Entry->SetRef(Lines);
            Entry->SetName(Name);
            Entry->SetTypeName(Lines->ClassName());
            Entry->SetSubType({stTStringsObject});
        }
        TPropertyEntry::Create(FPropClass, Entry, "Strings[" + IntToStr(I) + "]", "String",
                               tkString);
    }
}

TMainEntry* TPopulation::DescribeProperties(TObject* Instance, const String& Name,
                                            const String& TypeName, Integer Depth,
                                            TMainEntries* Into) const {
    auto* Entry = static_cast<TMainEntry*>(Into->Add());
    Entry->SetRef(Instance);
    Entry->SetName(Name);
    Entry->SetTypeName(TypeName);
    Entry->SetSubType({stPubPropObject});
    TClassInfo Info(Instance);
    for (Integer I = 0; I < Info.Count(); ++I) {
        if (!Info.Select(I) || !Info.Mode().Contains(pmRead) || !Info.Mode().Contains(pmWrite) ||
            !FSettings.TypeKinds.Contains(Info.Kind()))
            continue;
        const TPropInfo* Prop = Info.PropInfo();
        if (Info.Kind() == tkClass)
            Describe(GetObjectProp(Instance, Prop), Prop->Name, Info.Typ(), Depth + 1,
                     Entry->Items());
        else if (Accepts(Prop->Name, Info.Typ(), Instance, Prop))
            TPropertyEntry::Create(FPropClass, Entry, Prop);
    }
    return Entry;
}

} // namespace

// --- TCESettings -------------------------------------------------------------------

void TCESettings::Assign(TPersistent* Source) {
    auto* Other = dynamic_cast<TCESettings*>(Source);
    if (!Other)
        return TPersistent::Assign(Source);
    InfoBarVisible = Other->InfoBarVisible;
    PropFilterVisible = Other->PropFilterVisible;
    SortByVisible = Other->SortByVisible;
    PropFilter = Other->PropFilter;
    PropFilterText = Other->PropFilterText;
    SortByCompName = Other->SortByCompName;
    TypeKinds = Other->TypeKinds;
}

bool TCESettings::IsNameOffered(const String& Name) const {
    if (PropFilter.Contains(pfAll))
        return true;
    const String Upper = UpperCase(Name.substr(0, Name.find('[')));
    if ((PropFilter.Contains(pfCaption) && Upper == "CAPTION") ||
        (PropFilter.Contains(pfHint) && Upper == "HINT") ||
        (PropFilter.Contains(pfStrings) && Upper == "STRINGS") ||
        (PropFilter.Contains(pfText) && Upper == "TEXT"))
        return true;
    if (!PropFilter.Contains(pfUser))
        return false;
    // Only the first occurrence counts, and only as a whole blank-separated word.
    const String Words = UpperCase(PropFilterText);
    const size_t At = Words.find(Upper);
    if (At == String::npos)
        return false;
    const size_t End = At + Upper.size();
    return (At == 0 || Words[At - 1] == ' ') && (End == Words.size() || Words[End] == ' ');
}

bool TCESettings::IsPropVisible(const String& Name, TObject* Instance,
                                const TPropInfo* PropInfo) const {
    if (!IsNameOffered(Name))
        return false;
    return !PropFilter.Contains(pfAssigned) || !Instance || HasAssignedValue(Instance, PropInfo);
}

bool TCESettings::IsPropVisibleEx(const TPropertyEntry* Entry) const {
    TMainEntry* Main = Entry->MainEntry();
    TObject* Instance = Main ? Main->Ref() : nullptr;
    if (Entry->PropInfo())
        return IsPropVisible(Entry->Name(), Instance, Entry->PropInfo());
    if (!IsNameOffered(Entry->Name()))
        return false;
    if (!PropFilter.Contains(pfAssigned))
        return true;
    const Variant Value = Entry->GetValue();
    return !Value.IsNull() && !Value.AsString().empty();
}

TPropertyFilter TCESettings::StandardFilter() {
    return TPropertyFilter::Make<&TCESettings::FilterProperty>(this);
}

bool TCESettings::FilterProperty(const String& PropName, const String& TypeName, TObject* Instance,
                                 const TPropInfo* PropInfo) {
    return IsPropVisible(PropName, Instance, PropInfo);
}

String TCESettings::ComponentLabel(const String& Name, const String& TypeName) const {
    return SortByCompName ? Name + ": " + TypeName : TypeName + ", " + Name;
}

ORLO_PUBLISHED(TCESettings, "ComponentExplorer") {
    P.Property("InfoBarVisible", &TCESettings::InfoBarVisible).Default(1);
    P.Property("PropFilterVisible", &TCESettings::PropFilterVisible).Default(1);
    P.Property("SortByVisible", &TCESettings::SortByVisible).Default(1);
    P.Property("PropFilter", &TCESettings::PropFilter)
        .Default(static_cast<Integer>(DefaultPropFilter.Bits()));
    P.Property("PropFilterText", &TCESettings::PropFilterText);
    P.Property("SortByCompName", &TCESettings::SortByCompName).Default(1);
    P.Property("TypeKinds", &TCESettings::TypeKinds)
        .Default(static_cast<Integer>(DefaultTypeKinds.Bits()));
}

// --- Population ---------------------------------------------------------------------

void AddRootToMainEntries(TComponent* Root, TMainEntries* Entries, const TCESettings& Settings,
                          TClass PropClass, TPropertyFilter Filter) {
    for (Integer I = 0; I < Root->ComponentCount(); ++I) {
        TComponent* Component = Root->Components(I);
        if (!Component->Name().empty())
            AddObjectToMainEntries(Component, Component->Name(), Component->ClassName(), Entries,
                                   Settings, PropClass, Filter);
    }
    AddObjectToMainEntries(Root, Root->Name(), Root->ClassName(), Entries, Settings, PropClass,
                           Filter);
}

void AddObjectToMainEntries(TObject* Instance, const String& Name, const String& TypeName,
                            TMainEntries* Entries, const TCESettings& Settings, TClass PropClass,
                            TPropertyFilter Filter) {
    TPopulation(Settings, PropClass, Filter).Describe(Instance, Name, TypeName, 0, Entries);
}

} // namespace orlo
