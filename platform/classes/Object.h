#pragma once
// TObject and its class references. Every class of the component model carries
// a TMetaClass: its name, parent, unit, published members and factories. The
// metaclass is built on first use from the class's registration block (see
// TypInfo.h), so the order of static initialisation never matters.

#include "platform/rtl/Types.h"

#include <functional>
#include <memory>
#include <typeinfo>
#include <unordered_map>
#include <vector>

namespace orlo {

class TObject;
class TComponent;
enum TOperation : Byte;
class TCollection;
class TCollectionItem;
class TMetaClass;
struct TTypeInfo;
struct TPropInfo;
template <class C> class TPublisher;

using TClass = const TMetaClass*;

// A published field: a component reference of the root that the form reader
// binds to the component of the same name.
struct TPublishedField {
    String Name;
    TClass (*FieldClass)();                                        // class the field may hold
    std::function<void(TObject* Instance, TObject* Value)> Assign; // nil clears
};

// A published method: an event handler found by name when a form is read.
struct TPublishedMethod {
    String Name;
    void* Code; // the method's call thunk, as MakeMethod yields it
};

class TMetaClass {
public:
    // Builds the metaclass of C from its registration block; used by the class
    // macros. Metaclasses live as long as the process, like the classes they describe.
    template <class C>
    static const TMetaClass* Make(const char* Name, const char* UnitName, bool Published);

    const String& ClassName() const noexcept { return FName; }
    TClass ClassParent() const noexcept { return FParent; }
    const String& UnitName() const noexcept { return FUnitName; }
    bool InheritsFrom(TClass Ancestor) const noexcept;

    // Type information of the class as a property type (always present).
    const TTypeInfo* TypeInfo() const noexcept { return FTypeInfo; }
    // Type information as a published class: nil when the class publishes nothing.
    const TTypeInfo* ClassInfo() const noexcept { return FPublished ? FTypeInfo : nullptr; }
    // The C++ type described: an object whose dynamic type differs belongs to
    // a subclass declared without the class macro.
    const std::type_info& TypeId() const noexcept { return *FTypeId; }
    // A component class whose Notification (its own or an ancestor's) is not
    // TComponent's; such components are told of every insertion.
    bool OverridesNotification() const noexcept { return FOverridesNotification; }

    // Published properties, ancestors first, each class in declaration order;
    // a property redeclared by a descendant takes its ancestor's place.
    const std::vector<const TPropInfo*>& Properties() const noexcept { return FProperties; }
    Integer PropCount() const noexcept { return static_cast<Integer>(FProperties.size()); }
    const TPropInfo* FindProperty(const String& Name) const; // without regard to case; nil if none

    const TPublishedField* FindField(const String& Name) const;
    void* MethodAddress(const String& Name) const;
    String MethodName(void* Code) const;

    // Factories; nil when the class cannot be created that way (abstract classes).
    TComponent* (*NewComponent)(TComponent* Owner) = nullptr;
    TCollectionItem* (*NewCollectionItem)(TCollection* Collection) = nullptr;
    TObject* (*NewObject)() = nullptr;

    TMetaClass(const TMetaClass&) = delete;
    TMetaClass& operator=(const TMetaClass&) = delete;
    ~TMetaClass();

private:
    template <class C> friend class TPublisher;
    friend class TObject;
    TMetaClass(const char* Name, const char* UnitName, TClass Parent, const TTypeInfo* TypeInfo,
               bool Published);
    void AddProperty(std::unique_ptr<TPropInfo> Info);
    void AddField(TPublishedField Field);
    void AddMethod(TPublishedMethod Method);
    void Finish();

    String FName;
    String FUnitName;
    TClass FParent;
    const TTypeInfo* FTypeInfo;
    bool FPublished;
    const std::type_info* FTypeId = nullptr;
    bool FOverridesNotification = false;
    std::vector<std::unique_ptr<TPropInfo>> FOwnProperties;
    std::vector<const TPropInfo*> FProperties;
    std::unordered_map<String, const TPropInfo*> FPropertyIndex; // lower-case name
    std::vector<TPublishedField> FFields;
    std::vector<TPublishedMethod> FMethods;
};

// Declares the class machinery inside a class body: ORLO_CLASS(TLabel, TControl).
// Follow it with ORLO_PUBLISHED (or ORLO_UNPUBLISHED) in the source file.
#define ORLO_CLASS(Name, Base)                                                                     \
public:                                                                                            \
    using inherited = Base;                                                                        \
    static constexpr const char* StaticClassName = #Name;                                          \
    static ::orlo::TClass StaticClass();                                                           \
    ::orlo::TClass ClassType() const override {                                                    \
        return StaticClass();                                                                      \
    }                                                                                              \
    static void Publish(::orlo::TPublisher<Name>& P);                                              \
    friend class ::orlo::TMetaClass;                                                               \
                                                                                                   \
private:

class TObject {
public:
    static constexpr const char* StaticClassName = "TObject";
    static TClass StaticClass();

    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    virtual TClass ClassType() const { return StaticClass(); }
    const String& ClassName() const { return ClassType()->ClassName(); }
    TClass ClassParent() const { return ClassType()->ClassParent(); }
    bool InheritsFrom(TClass Ancestor) const { return ClassType()->InheritsFrom(Ancestor); }
    template <class C> bool Is() const { return InheritsFrom(C::StaticClass()); }
    void* MethodAddress(const String& Name) const { return ClassType()->MethodAddress(Name); }
    String MethodName(void* Code) const { return ClassType()->MethodName(Code); }
};

// Frees the object and clears the variable that held it.
template <class T> void FreeAndNil(T*& Obj) {
    T* Doomed = Obj;
    Obj = nullptr;
    delete Doomed;
}

// The process-wide class registry that form reading resolves class names with.
void RegisterClass(TClass Class);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass Class);
TClass GetClass(const String& ClassName);  // nil if not registered
TClass FindClass(const String& ClassName); // EClassNotFound "Class %s not found"

} // namespace orlo
