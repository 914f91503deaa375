#pragma once
// Populating an entry tree from a live form, the component explorer's
// settings, and the standard property filter.
//
//   TCESettings Settings;
//   TMainEntries Entries(nullptr, nullptr);
//   AddRootToMainEntries(Form, &Entries, Settings, TPropertyEntry::StaticClass(),
//                        Settings.StandardFilter());
//
// Every component of the root with a name gets an entry (the root's own comes
// last); sub-objects, collection items and string lists become entries below
// it; properties are taken when they can be read and written, their kind is in
// TypeKinds and the filter accepts them.

#include "platform/classes/Component.h"
#include "platform/classes/Persistent.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Method.h"
#include "platform/rtl/Set.h"
#include "runtime/ComponentExplorerTools.h"

namespace orlo {

ORLO_ENUM(TPropFilterEnum, pfCaption, pfHint, pfStrings, pfText, pfUser, pfAll, pfAssigned)
ORLO_SET(TPropFilter, TPropFilterEnum)

// Decides whether a property is offered: its name, its type name, the object
// (nil for the question about string lists) and its descriptor (nil likewise).
ORLO_EVENT_TYPE(TPropertyFilter, bool(const String& PropName, const String& TypeName,
                                      TObject* Instance, const TPropInfo* PropInfo));

class TCESettings : public TPersistent {
    ORLO_CLASS(TCESettings, TPersistent)
public:
    TCESettings() = default;

    static constexpr TPropFilter DefaultPropFilter{pfCaption, pfHint, pfStrings, pfText,
                                                   pfAssigned};
    // Every kind from tkInteger to tkVariant except tkMethod (1EFE hexadecimal).
    static constexpr TTypeKinds DefaultTypeKinds = TTypeKinds::FromBits(0x1EFE);

    bool InfoBarVisible = true;
    bool PropFilterVisible = true;
    bool SortByVisible = true;
    TPropFilter PropFilter = DefaultPropFilter;
    String PropFilterText; // blank-separated property names for pfUser
    bool SortByCompName = true;
    TTypeKinds TypeKinds = DefaultTypeKinds;

    void Assign(TPersistent* Source) override;

    // Whether the property Name of Instance is offered; with pfAssigned and an
    // Instance, only when its value is set.
    bool IsPropVisible(const String& Name, TObject* Instance, const TPropInfo* PropInfo) const;
    // The same for an entry of a tree; an entry without a descriptor (a line
    // of a string list) counts as set when its text is not empty.
    bool IsPropVisibleEx(const TPropertyEntry* Entry) const;
    // IsPropVisible as a filter for the population routines.
    TPropertyFilter StandardFilter();

    // Label of a component in the explorer's trees.
    String ComponentLabel(const String& Name, const String& TypeName) const;

private:
    bool FilterProperty(const String& PropName, const String& TypeName, TObject* Instance,
                        const TPropInfo* PropInfo);
    bool IsNameOffered(const String& Name) const;
};

// Describes every named component of Root, then Root itself, into Entries.
// Property entries are of class PropClass; Filter may be empty (take all).
void AddRootToMainEntries(TComponent* Root, TMainEntries* Entries, const TCESettings& Settings,
                          TClass PropClass, TPropertyFilter Filter);
// Describes one object under Name with the type text TypeName into Entries.
void AddObjectToMainEntries(TObject* Instance, const String& Name, const String& TypeName,
                            TMainEntries* Entries, const TCESettings& Settings, TClass PropClass,
                            TPropertyFilter Filter);

} // namespace orlo
