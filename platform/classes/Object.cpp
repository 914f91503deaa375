#include "platform/classes/Object.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <map>

namespace orlo {

TMetaClass::TMetaClass(const char* Name, const char* UnitName, TClass Parent,
                       const TTypeInfo* TypeInfo, bool Published)
    : FName(Name), FUnitName(UnitName), FParent(Parent), FTypeInfo(TypeInfo),
      FPublished(Published) {}

TMetaClass::~TMetaClass() = default;

bool TMetaClass::InheritsFrom(TClass Ancestor) const noexcept {
    for (TClass C = this; C; C = C->FParent)
        if (C == Ancestor)
            return true;
    return false;
}

const TPropInfo* TMetaClass::FindProperty(const String& Name) const {
    auto Found = FPropertyIndex.find(LowerCase(Name));
    return Found == FPropertyIndex.end() ? nullptr : Found->second;
}

const TPublishedField* TMetaClass::FindField(const String& Name) const {
    for (TClass C = this; C; C = C->FParent)
        for (const auto& Field : C->FFields)
            if (SameText(Field.Name, Name))
                return &Field;
    return nullptr;
}

void* TMetaClass::MethodAddress(const String& Name) const {
    for (TClass C = this; C; C = C->FParent)
        for (const auto& Method : C->FMethods)
            if (SameText(Method.Name, Name))
                return Method.Code;
    return nullptr;
}

String TMetaClass::MethodName(void* Code) const {
    for (TClass C = this; C; C = C->FParent)
        for (const auto& Method : C->FMethods)
            if (Method.Code == Code)
                return Method.Name;
    return String();
}

void TMetaClass::AddProperty(std::unique_ptr<TPropInfo> Info) {
    FOwnProperties.push_back(std::move(Info));
}

void TMetaClass::AddField(TPublishedField Field) {
    FFields.push_back(std::move(Field));
}

void TMetaClass::AddMethod(TPublishedMethod Method) {
    FMethods.push_back(std::move(Method));
}

void TMetaClass::Finish() {
    if (FParent) {
        FProperties = FParent->FProperties;
        FPropertyIndex = FParent->FPropertyIndex;
    }
    for (auto& Own : FOwnProperties) {
        String Key = LowerCase(Own->Name);
        auto Inherited = FPropertyIndex.find(Key);
        if (Inherited != FPropertyIndex.end()) {
            Own->NameIndex = Inherited->second->NameIndex;
            FProperties[Own->NameIndex] = Own.get();
        } else {
            Own->NameIndex = static_cast<Integer>(FProperties.size());
            FProperties.push_back(Own.get());
        }
        FPropertyIndex[Key] = Own.get();
    }
}

TClass TObject::StaticClass() {
    static const TMetaClass* const Meta = [] {
        auto* M = new TMetaClass("TObject", "System", nullptr,
                                 TypeInfoFor(static_cast<TObject**>(nullptr)), false);
        M->NewObject = []() { return new TObject(); };
        M->FTypeId = &typeid(TObject);
        return M;
    }();
    return Meta;
}

namespace {

std::map<String, TClass>& ClassRegistry() {
    static std::map<String, TClass> Registry; // lower-case name
    return Registry;
}

} // namespace

void RegisterClass(TClass Class) {
    ClassRegistry()[LowerCase(Class->ClassName())] = Class;
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
    for (TClass Class : Classes)
        RegisterClass(Class);
}

void UnRegisterClass(TClass Class) {
    auto Found = ClassRegistry().find(LowerCase(Class->ClassName()));
    if (Found != ClassRegistry().end() && Found->second == Class)
        ClassRegistry().erase(Found);
}

TClass GetClass(const String& ClassName) {
    auto Found = ClassRegistry().find(LowerCase(ClassName));
    return Found == ClassRegistry().end() ? nullptr : Found->second;
}

TClass FindClass(const String& ClassName) {
    TClass Class = GetClass(ClassName);
    if (!Class)
        throw EClassNotFound(Format("Class %s not found", ClassName));
    return Class;
}

} // namespace orlo
