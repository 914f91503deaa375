#pragma once
// TGlossa: the language component, placed once on each form or data module.
//
// It owns the form's language data (a TLanguageManager rooted at its owner),
// streams it with the form as the four "LanguageManager_" properties, switches
// the form when Language is assigned and answers look-ups of named strings.
//
// Every TGlossa belongs to one language frame: components with the same Domain
// (letter case aside) share a named frame; components without a domain share
// the frame founded by the most recent TopLevel component, or the first one.
// All members of a frame show the same language: assigning Language on one
// switches all, in four passes (BeforeChange of every member, then every
// member writes its values, then every member's change listeners, OnChange and
// unit callback, then every AfterChange). A member that lacks the language
// keeps its values and nothing is shown; an exception in any handler is shown
// through HandleException and the sequence goes on.
//
// A form read from its stream takes its frame's language once it is loaded,
// or, when the frame has none yet, gives the frame its own. A unit without a
// form gets a hidden TGlossa from InitGlossa, read from a component resource
// linked into the program (cmake/OrloForms.cmake takes ".lng" files too).
//
// The unit's process-wide state (the two frame lists, the creation listeners,
// the hidden components of InitGlossa) is set up by the first TGlossaUnitInit
// object to be constructed and torn down by the last one to go: every
// translation unit that includes this header holds one, defined before any of
// its own static objects, so the state exists before the first of them and
// outlives the last. Initialisation, in order: the unit's version header, the
// trace channel, the frame lists, the start-up language from the user's
// language (not in the design host). Finalisation, in order: the hidden
// components of InitGlossa, the creation listeners, the domain frames, the
// frames without domain, the trace channel. Components still alive after
// finalisation (static forms destroyed later) leave no frame behind.

#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Method.h"
#include "platform/rtl/Types.h"
#include "runtime/GlossaFrames.h"
#include "runtime/GlossaTools.h"
#include "runtime/MethodList.h"

#include <functional>
#include <memory>

namespace orlo {

class TFiler;
class TStrings;

// The callback of a multilingual unit: told the language after every switch.
using TLanguageChangeProc = void (*)(const String& Language);

class TGlossa : public TComponent {
    ORLO_CLASS(TGlossa, TComponent)
public:
    // Joins the most recent frame without domain and tells the creation
    // listeners. Exception "Component owner for TGlossa required" without an
    // owner (only InitGlossa makes components without one). Dropped by the
    // designer onto a form that has a TGlossa already, it asks the further
    // component question first; a refusal is a silent abort (EAbort).
    explicit TGlossa(TComponent* AOwner);
    // Tells every change listener nil, then leaves its frame.
    ~TGlossa() override;

    // The named string in the current language; EStringNotFound
    // "Character string identifier not found: <ID>" when there is none.
    String GetString(const String& ID) const;

    // The active language of the language manager; "" when there is none.
    String GetLanguage() const;
    // Switches the whole frame to Value (trimmed; blank: no effect). While the
    // form is being read it only notes the language to apply once loaded.
    // Exception "SetGlobalLanguage cannot be called when still processing"
    // during a switch.
    void SetLanguage(const String& Value);
    // Replaces the contents of Strings with the names of all languages, sorted.
    void GetLanguages(TStrings* Strings) const;

    // The domain; in the designer in the letter case of the frame it names.
    String GetDomain() const;
    // Moves the component into the frame of the trimmed domain name (a blank
    // one: the frames without domain). A name beginning with "." is hidden
    // from lists of domains.
    void SetDomain(const String& Value);
    bool TopLevel() const noexcept { return FTopLevel; }
    // Only in the designer or while the form is read; while it is read at run
    // time, True founds a new frame that every TGlossa of the form without a
    // domain joins, and that later forms follow. Exception
    // "TGlossa.TopLevel can only be changed at designing time" otherwise.
    void SetTopLevel(bool Value);

    TLanguageManager* LanguageManager() const noexcept { return FLanguageManager.get(); }
    // Refreshes the entry tree against the live components and gives every
    // entry one value per language.
    void InitLanguages();

    // The frame listener: what this component does for each step of a switch.
    // Never raises: a language it lacks is passed over silently, anything else
    // is shown through HandleException.
    void SetLanguageNotify(TObject* Sender, const String& Language, TActionMode Action);
    // This component's frame listener.
    TLanguageNotify Listener() { return TLanguageNotify::Make<&TGlossa::SetLanguageNotify>(this); }

    // Change listeners are called after each switch, newest first, with this
    // component, and with nil when it goes away. Registering again moves a
    // listener to the front. A listener or handler may free the component
    // (close its form): the component's own remaining listeners, handlers and
    // unit callback are then skipped (its destructor told the listeners nil),
    // and the other members of the frame still get every step of the switch.
    void RegisterChangeNotify(const TLangNotify& Notify);
    void UnregisterChangeNotify(const TLangNotify& Notify);
    void SendChangeNotify(TGlossa* Glossa);
    // Creation listeners are called, newest first, with every new TGlossa.
    static void RegisterCreateNotify(const TLangNotify& Notify);
    static void UnregisterCreateNotify(const TLangNotify& Notify);

    TNotifyEvent BeforeChange;
    TNotifyEvent OnChange;
    TNotifyEvent AfterChange;

    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;
    // The first name the designer gives a new component loses its trailing
    // digits, unless another component already has the shorter name.
    void SetName(const String& NewName) override;

protected:
    virtual void TriggerBeforeChange();
    // Change listeners, then OnChange, then the unit callback.
    virtual void TriggerOnChange();
    virtual void TriggerAfterChange();

private:
    friend void InitGlossa(const String& ResName, TLanguageChangeProc ChangeProc,
                           TGetString& GetString);

    // Cancels the construction of a further TGlossa that the developer refuses.
    void CheckAlreadyExists();
    bool Loading() const noexcept { return ComponentState().Contains(csLoading); }
    bool Designing() const noexcept { return ComponentState().Contains(csDesigning); }
    bool TriggersEnabled() const noexcept { return !Loading() && FLockCount == 0; }
    void SwitchManagerTo(const String& Language);
    void AdoptLanguage(const String& Language);
    void ApplyFrameLanguage();
    void ReattachSiblings();
    // The placeholder of the object inspector's "Languages" row.
    TComponent* LanguagesRow() const noexcept { return nullptr; }
    void SetLanguagesRow(TComponent*) noexcept {}

    bool FCreatedInDesigner = false;
    std::unique_ptr<TMethodList> FChangeNotifies;
    bool FLoaded = false;
    Integer FLockCount = 0;
    String FStartLanguage;
    std::unique_ptr<TLanguageManager> FLanguageManager;
    TLanguageChangeProc FUnitNotify = nullptr;
    String FDomain;
    bool FTopLevel = false;
    // Exists as long as the component: a sequence of calls out of the
    // component watches it and stops once a callee has freed the component.
    std::shared_ptr<const bool> FLife = std::make_shared<const bool>(true);
};

// Makes a multilingual unit without a form: reads the component resource
// ResName (a language side file linked into the program) into a hidden
// TGlossa that lives until the unit is finalised, sets GetString to its named
// string look-up and calls ChangeProc (may be nil) with the language after
// every switch of its frame, starting once it is loaded. A missing or damaged
// resource raises its error with "InitGlossa failed. " before the message and
// leaves nothing behind.
void InitGlossa(const String& ResName, TLanguageChangeProc ChangeProc, TGetString& GetString);

// The designer's first naming of a new component: Name less its trailing
// digits, when something is left and SetName accepts it; otherwise Name.
// SetName is the component's inherited naming.
void NameWithoutNumber(const String& Name, const std::function<void(const String&)>& SetName);

// Fixes the language of the first frame; ignored (traced only) once a frame
// has existed or the language was fixed before, and for a blank name. Call it
// before the first form is created.
void DefineStartupLanguage(const String& Language);

// The English name of the user's language, "" when the language table lacks it.
String GetCurrentUserLanguage();

// Asked in the designer when a developer drops a TGlossa onto a form that
// already has one: false cancels the drop (the component is not made, a
// silent abort). The package's message module installs the question; without
// one every drop is kept. Returns the question it replaces.
using TFurtherComponentQuery = bool (*)(TGlossa* Component);
TFurtherComponentQuery SetFurtherComponentQuery(TFurtherComponentQuery Query) noexcept;

// The process-wide frame lists, for the tools that list or switch frames; nil
// once the unit is finalised.
TLanguageFrames* GlossaNoDomainFrames() noexcept;
TLanguageFrames* GlossaDomainFrames() noexcept;

// See the header comment: the first one constructed initialises the unit, the
// last one destroyed finalises it.
class TGlossaUnitInit {
public:
    TGlossaUnitInit();
    ~TGlossaUnitInit();
    TGlossaUnitInit(const TGlossaUnitInit&) = delete;
    TGlossaUnitInit& operator=(const TGlossaUnitInit&) = delete;
};

namespace {
// One per translation unit that includes this header.
const TGlossaUnitInit GlossaUnitInit;
} // namespace

} // namespace orlo
