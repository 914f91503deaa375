#pragma once
// What the configuration file tests share: a settings form with a component
// of every property kind, a form on TSuperForm, picking properties by path,
// one set of saved values with its check, and a reader of form text.

#include "config/ConfigFile.h"
#include "platform/forms/Forms.h"
#include "tests/classes/FormTextOf.h"
#include "tests/components/TestComponents.h"
#include "widgets/SuperForm.h"

#include <functional>
#include <memory>
#include <vector>

namespace orlo::test {

// A form made in code holding Kinds (every kind), Label1 (a caption and a
// font), Memo1 (three lines), Panel1 (a collection of two items) and Config.
class TSettingsForm : public TForm {
    ORLO_CLASS(TSettingsForm, TForm)
public:
    explicit TSettingsForm(TComponent* AOwner) : TForm(AOwner) {}

    TTestKinds* Kinds = nullptr;
    TTestLabel* Label1 = nullptr;
    TTestMemo* Memo1 = nullptr;
    TTestPanel* Panel1 = nullptr;
    TConfigFile* Config = nullptr;
};

// The form with its components and their start values, and a configuration
// file on IniFile that picks PickedPaths.
std::unique_ptr<TSettingsForm> MakeSettingsForm(const String& IniFile);

// Every picked property of MakeSettingsForm, as "Component.Path".
extern const char* const PickedPaths[];

// Picks Path ("Align", "Font.Size", "Items[1].Caption", "Lines.Strings[0]")
// of Component, a component of Config's form or the form itself.
void Pick(TCustomConfigFile* Config, TComponent* Component, const String& Path);

// Gives every picked property of Form a value other than its start value,
// and checks that a form holds exactly those values.
void SetSavedValues(TSettingsForm* Form);
void ExpectSavedValues(TSettingsForm* Form);
void ExpectStartValues(TSettingsForm* Form);

// A form on TSuperForm with a configuration file that keeps its window state.
class TStateForm : public TSuperForm {
    ORLO_CLASS(TStateForm, TSuperForm)
public:
    explicit TStateForm(TComponent* AOwner) : TSuperForm(AOwner) {}
    TConfigFile* Config = nullptr;
};

// An object whose published properties a configuration file keeps through
// OnGetInstance. The non-stored properties Window (index 1) and Colors
// (index 2) name the sections of the stored ones with the same index; Title
// has no index and goes to "Default Section".
class TViewSettings : public TPersistent {
    ORLO_CLASS(TViewSettings, TPersistent)
public:
    TViewSettings() = default;
    // The index only groups the properties; each has a value of its own.
    Integer GetWidth(Integer) const { return Width; }
    void SetWidth(Integer, Integer Value) { Width = Value; }
    Integer GetHeight(Integer) const { return Height; }
    void SetHeight(Integer, Integer Value) { Height = Value; }
    Integer GetBackground(Integer) const { return Background; }
    void SetBackground(Integer, Integer Value) { Background = Value; }
    String GetSectionName(Integer) const { return String(); }
    void SetSectionName(Integer, String) {}

    Integer Width = 640;
    Integer Height = 480;
    Integer Background = 0xFFFFFF;
    String Title = "Untitled";
};

// Event handlers made of functions, kept for as long as the object lives:
// Config->OnGetDefaults = Handlers.Make<TNotifyEvent>([&](TObject*) { ... });
class THandlers {
public:
    template <class Event, class F> Event Make(F Fn) {
        using H = THandler<typename Event::Signature>;
        auto Handler = std::make_unique<H>(std::move(Fn));
        H* Bound = Handler.get();
        FHandlers.push_back(std::move(Handler));
        return Event::template Make<&H::Run>(Bound);
    }

private:
    struct THandlerBase {
        virtual ~THandlerBase() = default;
    };
    template <class Sig> struct THandler;
    template <class R, class... A> struct THandler<R(A...)> : THandlerBase {
        explicit THandler(std::function<R(A...)> Fn) : Fn(std::move(Fn)) {}
        R Run(A... Args) { return Fn(Args...); }
        std::function<R(A...)> Fn;
    };

    std::vector<std::unique_ptr<THandlerBase>> FHandlers;
};

} // namespace orlo::test
