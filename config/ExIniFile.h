#pragma once
// TExIniFile: one key/value interface (sections, identifiers, string values)
// over an INI file or one key of the registry, chosen when the object is made,
// with typed values and an optional hint kept after each value.
//
// In registry mode there is no section level: the value for (Section, Ident)
// is named Section + "\" + Ident (Ident alone for an empty Section, Section
// alone for an empty Ident) directly under the opened key.

#include "platform/classes/IniFiles.h"
#include "platform/classes/Registry.h"
#include "platform/classes/TypInfo.h"

#include <memory>

namespace orlo {

class TStrings;

ORLO_ENUM(TRegistryKey, rkClassesRoot, rkCurrentUser, rkLocalMachine, rkUsers, rkPerformanceData,
          rkCurrentConfig, rkDynData)

// HKEY_CLASSES_ROOT .. HKEY_DYN_DATA in the order of TRegistryKey.
HKEY RegistryKeyToHKEY(TRegistryKey Key);

class TExIniFile {
public:
    // File mode. The file's read-only attribute is cleared first.
    explicit TExIniFile(const String& FileName);
    // Registry mode: Path below RootKey, created when missing if CanCreate.
    TExIniFile(TRegistryKey RootKey, const String& Path, bool CanCreate);
    ~TExIniFile();
    TExIniFile(const TExIniFile&) = delete;
    TExIniFile& operator=(const TExIniFile&) = delete;

    // The options to their defaults: no hints, hint column 49, marker ";",
    // no write-back.
    void DefaultInit();
    bool HintsEnabled() const noexcept { return FHintsEnabled; }
    void SetHintsEnabled(bool Value) noexcept { FHintsEnabled = Value; }
    // Column of the hint marker in file mode; below 1 no hint is written.
    Integer HintPosition() const noexcept { return FHintPosition; }
    void SetHintPosition(Integer Value) noexcept { FHintPosition = Value; }
    const String& HintMarker() const noexcept { return FHintMarker; }
    void SetHintMarker(const String& Value) { FHintMarker = Value; }
    // Every read of a missing entry creates it with the default. An entry that
    // exists is left as it is, so a value another program stored since it was
    // read is never undone.
    bool WriteBack() const noexcept { return FWriteBack; }
    void SetWriteBack(bool Value) noexcept { FWriteBack = Value; }

    String GetFileName() const; // empty in registry mode

    // The stored text as it is, hint included. A registry value that is not a
    // string reads as Default; a damaged registry database raises ERegistryException.
    String ReadValue(const String& Section, const String& Ident, const String& Default);
    void WriteValue(const String& Section, const String& Ident, const String& Value);

    String ReadString(const String& Section, const String& Ident, const String& Default);
    void WriteString(const String& Section, const String& Ident, const String& Value);
    // With hints enabled the value gets a hint: the one already stored, else
    // Hint; in file mode the marker is placed at HintPosition.
    void WriteStringEx(const String& Section, const String& Ident, const String& Value,
                       const String& Hint);
    Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
    void WriteInteger(const String& Section, const String& Ident, Integer Value);
    bool ReadBool(const String& Section, const String& Ident, bool Default);
    void WriteBool(const String& Section, const String& Ident, bool Value);
    double ReadFloat(const String& Section, const String& Ident, double Default);
    void WriteFloat(const String& Section, const String& Ident, double Value);

    // File mode only: Exception "TExIniFile.<operation> not possible for
    // registry database" in registry mode.
    void ReadSection(const String& Section, TStrings* Strings);
    void ReadSections(TStrings* Strings);
    void ReadSectionValues(const String& Section, TStrings* Strings);
    void EraseSection(const String& Section);

    void DeleteKey(const String& Section, const String& Ident);

    // The text before the marker, trimmed; S itself without a marker.
    String RemoveHint(const String& S) const;
    // The text after the marker (not trimmed); empty without a marker.
    String ExtractHint(const String& S) const;
    String CreateHint(const String& S) const; // the marker and S

private:
    static String RegistryValueName(const String& Section, const String& Ident);
    TIniFile& FileOnly(const char* Operation);
    // The stored text, its hint removed when hints are enabled; empty when absent.
    String ReadWithoutHint(const String& Section, const String& Ident);
    bool EntryExists(const String& Section, const String& Ident);
    // With WriteBack, creates the entry with Value when it is missing, tested
    // and written under the file's lock or in one registry transaction.
    void WriteBackMissing(const String& Section, const String& Ident, const String& Value);

    std::unique_ptr<TIniFile> FIniFile;
    std::unique_ptr<TRegistry> FRegistry;
    bool FHintsEnabled = false;
    Integer FHintPosition = 49;
    String FHintMarker = ";";
    bool FWriteBack = false;
};

} // namespace orlo
