#pragma once
// A test form with translatable components and a host component that keeps
// the form's language data the way the language component does: a language
// manager rooted at its owner, streamed as the four "LanguageManager_"
// properties, initialised once the form is loaded.

#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "runtime/GlossaTools.h"
#include "tests/components/TestComponents.h"

#include <memory>
#include <vector>

namespace orlo::test {

class TLanguageHost : public TComponent {
    ORLO_CLASS(TLanguageHost, TComponent)
public:
    explicit TLanguageHost(TComponent* AOwner);
    ~TLanguageHost() override;

    TLanguageManager* Manager() const noexcept { return FManager.get(); }
    // The active language's name; "" when there is none.
    String Language() const;
    // Activates the language named Name; false when it is active already.
    // Exception "TLanguageHost.SetLanguage: Language not found" when it is missing.
    bool SetLanguage(const String& Name);
    // Adds a language with an unassigned slot and synchronises every entry.
    void AddLanguage(const String& Name, TSyncCountMode Mode);
    // Puts the non-empty captions, hints, texts and memo lines of the owner
    // (the explorer's standard choice) into the tree and synchronises it.
    void AddStandardProperties();

    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

private:
    std::unique_ptr<TLanguageManager> FManager;
};

// The form: two labels (with fonts), a memo, a panel with items, a component
// with a property of every kind, and the host.
class TLanguageTestForm : public TComponent {
    ORLO_CLASS(TLanguageTestForm, TComponent)
public:
    explicit TLanguageTestForm(TComponent* AOwner) : TComponent(AOwner) {}
    // A form named "LangForm" with its components, English texts and no languages.
    static std::unique_ptr<TLanguageTestForm> CreateWithComponents();

    // Streams every owned component, as a form does.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }

    TTestLabel* Label1 = nullptr;
    TTestLabel* Label2 = nullptr;
    TTestMemo* Memo1 = nullptr;
    TTestPanel* Panel1 = nullptr;
    TTestKinds* Kinds1 = nullptr;
    TLanguageHost* Host = nullptr;

private:
    String FCaption;
};

// Registers the form, the host and the test components for form reading.
void RegisterLanguageHostClasses();

// The form in the binary form stream, and back: a new form read from Bytes,
// where references to components that are not in the stream stay nil.
std::vector<Byte> SaveForm(TComponent* Form);
std::unique_ptr<TLanguageTestForm> LoadForm(const std::vector<Byte>& Bytes);

} // namespace orlo::test
