#pragma once
// A form file opened without the application's classes: a text or binary form
// (".dfm") or a resource file (".lng") that holds one.
//
// Every component is kept as it was read, property by property, as the raw
// bytes of its stored values, so components of classes this program does not
// know lose nothing. The language data of the form's TGlossa is exposed as a
// TLanguageManager whose entries hold every language's value in a slot, the
// active language's too: that value is read from the component's stored
// property when the file is loaded and written back into it when it is saved.
// Saving writes the file in its own format with only the language data and
// those stored values changed; the rest stays byte for byte as it was.
//
// No TGlossa is created: no language frame, start-up language or user locale
// takes part, so nothing switches the form while it is read, changed and written.

#include "apps/glossa/RawForm.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Types.h"
#include "runtime/GlossaTools.h"

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace orlo::glossa {

// Bad or unsupported form files; the message names the file.
ORLO_EXCEPTION(EFormFileError, Exception);

enum class TFormFormat { Binary, Text, Resource };

// A stored text of a component: the property path as the entry tree names it
// ("Caption", "Font.Name", "Lines.Strings[2]", "Buttons[0].Caption").
struct TStoredText {
    String Path;
    String Value;
};

class TFormFile {
public:
    // Reads FileName. EFOpenError when it cannot be read; EFormFileError
    // "<file>: <reason>" when it is no form, or the form has no TGlossa.
    static std::unique_ptr<TFormFile> Load(const String& FileName);
    ~TFormFile();
    TFormFile(const TFormFile&) = delete;
    TFormFile& operator=(const TFormFile&) = delete;

    const String& FileName() const noexcept { return FFileName; }
    TFormFormat FileFormat() const noexcept { return FFormat; }
    // The root component; its class name is the form's.
    const TRawObject& Root() const noexcept { return FRoot; }
    // The component of that name (the root's included), without regard to case.
    const TRawObject* FindObject(const String& Name) const;
    // The TGlossa's language data; value 0 of each language lives in its slot.
    TLanguageManager* LanguageManager() const noexcept { return FManager.get(); }
    // The TGlossa's name.
    const String& GlossaName() const noexcept;

    // The stored text properties of a component (names as the entry tree
    // gives them); what a component of an unknown class can offer for translation.
    std::vector<TStoredText> StoredTexts(const TRawObject& Object) const;

    // The stored texts of every component but the TGlossa, components in the
    // order of the form and the root last, with the stand-in that the
    // language data's entries refer to.
    struct TComponentText {
        const TRawObject* Object;
        TComponent* StandIn;
        String Path;
        String Value;
    };
    std::vector<TComponentText> TranslatableTexts() const;

    // The file's content as Save writes it.
    String Content() const;
    // Replaces the file it was read from (atomically; see ReplaceFileContent).
    void Save() const;
    void SaveAs(const String& FileName) const;

private:
    struct TStandIns;
    TFormFile();
    void Parse(const String& Bytes);
    void BindLanguageData();
    void ReadLanguageData(TRawObject& Glossa);
    void LoadActiveValues();
    TRawObject StoredObject() const;
    String BinaryContent() const;

    String FFileName;
    TFormFormat FFormat = TFormFormat::Binary;
    String FOriginal;       // the file as read
    String FOriginalBinary; // its binary form
    String FResourceName;   // the RCDATA resource, for resource files
    TRawObject FRoot;
    std::vector<Integer> FGlossaPath; // child indexes from the root to the TGlossa
    std::unique_ptr<TStandIns> FStandIns;
    std::unique_ptr<TLanguageManager> FManager;
};

} // namespace orlo::glossa
