#pragma once
// Roots and components for the form stream tests: a form that streams its
// owned components as children, a container with parented children, and a
// host of extra defined properties (a collection and a binary payload).

#include "platform/classes/Collection.h"
#include "platform/classes/Filer.h"
#include "tests/components/TestComponents.h"

namespace orlo::test {

// A parented control: the container it sits in streams it as a child.
class TTestBox : public TComponent {
    ORLO_CLASS(TTestBox, TComponent)
public:
    explicit TTestBox(TComponent* AOwner) : TComponent(AOwner) {}
    ~TTestBox() override;

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void SetChildOrder(TComponent* Child, Integer Order) override;
    const std::vector<TTestBox*>& Children() const { return FChildren; }

    String Text;

private:
    TTestBox* FParent = nullptr;
    std::vector<TTestBox*> FChildren;
};

// A form: streams every owned component without a parent (and the boxes
// parented to it); publishes fields and a handler; records its loading.
class TTestForm : public TComponent {
    ORLO_CLASS(TTestForm, TComponent)
public:
    explicit TTestForm(TComponent* AOwner) : TComponent(AOwner) { ++Live; }
    ~TTestForm() override { --Live; }

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
    void Loaded() override;
    void KidClick(TObject* Sender) { ++Clicks; }

    TTestLabel* Label1 = nullptr;
    TTestKinds* Kinds1 = nullptr;
    String Caption;
    Integer Clicks = 0;
    Integer LoadedCount = 0;
    bool LoadingDuringLoaded = false;
    bool ReadingDuringLoaded = false;
    // Children's Caption seen by Loaded: it runs once everything is read.
    String LabelCaptionAtLoaded;
    static inline Integer Live = 0;
};

// A descendant form class for inherited streams.
class TTestForm2 : public TTestForm {
    ORLO_CLASS(TTestForm2, TTestForm)
public:
    explicit TTestForm2(TComponent* AOwner) : TTestForm(AOwner) {}
    TTestLabel* Label2 = nullptr;
};

// A frame: owns the components streamed inside it.
class TTestFrame : public TComponent {
    ORLO_CLASS(TTestFrame, TComponent)
public:
    explicit TTestFrame(TComponent* AOwner) : TComponent(AOwner) {}
    TComponent* GetChildOwner() override { return this; }
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
};

// One language of a language list.
class TLangItem : public TCollectionItem {
    ORLO_CLASS(TLangItem, TCollectionItem)
public:
    explicit TLangItem(TCollection* Collection) : TCollectionItem(Collection) {}
    String Name;
    Integer SubIndex = 0;
};

// Stores a language list as the defined property "LanguageManager_Langs" and
// raw bytes as the binary property "Payload".
class TComp : public TComponent {
    ORLO_CLASS(TComp, TComponent)
public:
    explicit TComp(TComponent* AOwner);
    void DefineProperties(TFiler* Filer) override;
    void AddLanguage(const String& Name, Integer SubIndex);

    TCollection Langs{TLangItem::StaticClass()};
    std::vector<Byte> Payload;

private:
    void ReadLangs(TReader* Reader);
    void WriteLangs(TWriter* Writer);
};

void RegisterStreamTestClasses();

// A binary form stream as form text, and form text as a binary form stream.
String TextOf(const String& Binary);
String BinaryOf(const String& Text);

} // namespace orlo::test
