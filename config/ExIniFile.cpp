#include "config/ExIniFile.h"

#include "platform/classes/Strings.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/SysUtils.h"
#include "runtime/ConvertTools.h"
#include "tools/StringTools.h"
#include "tools/VersionControl.h"

#include <algorithm>

namespace orlo {

namespace {

const TUnitVersion Version("$Header: /config/ExIniFile.cpp 1.0 09.12.26 12:00 orlo $");

// Characters, not bytes: the hint column lines up for any text.
Integer CharacterCount(const String& S) {
    Integer Count = 0;
    for (unsigned char C : S)
        if ((C & 0xC0) != 0x80)
            ++Count;
    return Count;
}

String FloatText(double Value) {
    return Format("%g", Value);
}

} // namespace

HKEY RegistryKeyToHKEY(TRegistryKey Key) {
    return HKEY_CLASSES_ROOT + static_cast<HKEY>(Key);
}

TExIniFile::TExIniFile(const String& FileName) {
    const Integer Attr = FileGetAttr(FileName);
    if (Attr != -1)
        FileSetAttr(FileName, Attr & ~faReadOnly);
    FIniFile = std::make_unique<TIniFile>(FileName);
    DefaultInit();
}

TExIniFile::TExIniFile(TRegistryKey RootKey, const String& Path, bool CanCreate) {
    FRegistry = std::make_unique<TRegistry>();
    FRegistry->SetRootKey(RegistryKeyToHKEY(RootKey));
    FRegistry->OpenKey(Path, CanCreate);
    DefaultInit();
}

TExIniFile::~TExIniFile() = default;

void TExIniFile::DefaultInit() {
    FHintsEnabled = false;
    FHintPosition = 49;
    FHintMarker = ";";
    FWriteBack = false;
}

String TExIniFile::GetFileName() const {
    return FIniFile ? FIniFile->FileName() : String();
}

String TExIniFile::RegistryValueName(const String& Section, const String& Ident) {
    if (Section.empty())
        return Ident;
    if (Ident.empty())
        return Section;
    return Section + "\\" + Ident;
}

String TExIniFile::ReadValue(const String& Section, const String& Ident, const String& Default) {
    if (FIniFile)
        return FIniFile->ReadString(Section, Ident, Default);
    const String Name = RegistryValueName(Section, Ident);
    // Only a value of another type reads as Default: a damaged database is reported.
    return FRegistry->GetDataType(Name) == rdString ? FRegistry->ReadString(Name) : Default;
}

void TExIniFile::WriteValue(const String& Section, const String& Ident, const String& Value) {
    if (FIniFile)
        FIniFile->WriteString(Section, Ident, Value);
    else
        FRegistry->WriteString(RegistryValueName(Section, Ident), Value);
}

String TExIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
    const String S = ReadValue(Section, Ident, Default);
    WriteBackMissing(Section, Ident, Default);
    return FHintsEnabled ? RemoveHint(S) : S;
}

bool TExIniFile::EntryExists(const String& Section, const String& Ident) {
    if (FIniFile)
        return FIniFile->ValueExists(Section, Ident);
    return FRegistry->ValueExists(RegistryValueName(Section, Ident));
}

void TExIniFile::WriteBackMissing(const String& Section, const String& Ident, const String& Value) {
    if (!FWriteBack || EntryExists(Section, Ident))
        return;
    if (FIniFile)
        FIniFile->WriteStringIfMissing(Section, Ident, Value);
    else
        FRegistry->WriteStringIfMissing(RegistryValueName(Section, Ident), Value);
}

void TExIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    WriteStringEx(Section, Ident, Value, String());
}

void TExIniFile::WriteStringEx(const String& Section, const String& Ident, const String& Value,
                               const String& Hint) {
    if (!FHintsEnabled)
        return WriteValue(Section, Ident, Value);
    String H = ExtractHint(ReadValue(Section, Ident, Value)); // a stored hint wins
    if (H.empty())
        H = Hint;
    Integer Width = 0;
    String HintText;
    if (!H.empty() && FHintPosition >= 1) {
        if (FIniFile) {
            Width = std::max(0, FHintPosition - CharacterCount(Ident) - 1);
            HintText = CreateHint(H);
        } else {
            HintText = " " + CreateHint(H);
        }
    }
    WriteValue(Section, Ident, FillStr(Value, Width) + HintText);
}

String TExIniFile::ReadWithoutHint(const String& Section, const String& Ident) {
    const String S = ReadValue(Section, Ident, String());
    return FHintsEnabled ? RemoveHint(S) : S;
}

Integer TExIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) {
    const Integer Result = StringToIntDef(ReadWithoutHint(Section, Ident), Default);
    WriteBackMissing(Section, Ident, IntToStr(Default));
    return Result;
}

void TExIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TExIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TExIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

double TExIniFile::ReadFloat(const String& Section, const String& Ident, double Default) {
    const double Result = StrToFloatDef(ReadWithoutHint(Section, Ident), Default);
    WriteBackMissing(Section, Ident, FloatText(Default));
    return Result;
}

void TExIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
    WriteString(Section, Ident, FloatText(Value));
}

TIniFile& TExIniFile::FileOnly(const char* Operation) {
    if (!FIniFile)
        throw Exception(String("TExIniFile.") + Operation + " not possible for registry database");
    return *FIniFile;
}

void TExIniFile::ReadSection(const String& Section, TStrings* Strings) {
    FileOnly("ReadSection").ReadSection(Section, Strings);
}

void TExIniFile::ReadSections(TStrings* Strings) {
    FileOnly("ReadSections").ReadSections(Strings);
}

void TExIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
    FileOnly("ReadSectionValues").ReadSectionValues(Section, Strings);
    if (!FHintsEnabled)
        return;
    for (Integer I = 0; I < Strings->Count(); ++I)
        Strings->Put(I, RemoveHint(Strings->Strings(I)));
}

void TExIniFile::EraseSection(const String& Section) {
    FileOnly("EraseSection").EraseSection(Section);
}

void TExIniFile::DeleteKey(const String& Section, const String& Ident) {
    if (FIniFile)
        FIniFile->DeleteKey(Section, Ident);
    else
        FRegistry->DeleteValue(RegistryValueName(Section, Ident));
}

String TExIniFile::RemoveHint(const String& S) const {
    const size_t At = FHintMarker.empty() ? String::npos : S.find(FHintMarker);
    return At == String::npos ? S : Trim(S.substr(0, At));
}

String TExIniFile::ExtractHint(const String& S) const {
    const size_t At = FHintMarker.empty() ? String::npos : S.find(FHintMarker);
    return At == String::npos ? String() : S.substr(At + FHintMarker.size());
}

String TExIniFile::CreateHint(const String& S) const {
    return FHintMarker + S;
}

} // namespace orlo
