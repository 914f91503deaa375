#include "tests/widgets/WidgetTestSupport.h"

#include "platform/classes/FormText.h"
#include "platform/classes/Streams.h"
#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"

namespace orlo::test {

TLanguageFrameHost::TLanguageFrameHost(const String& Domain, const String& Language)
    : FForm(std::make_unique<TForm>(nullptr)), FGlossa(new TGlossa(FForm.get())) {
    FGlossa->SetDomain(Domain);
    FGlossa->SetLanguage(Language);
}

TLanguageFrameHost::~TLanguageFrameHost() = default;

void AddLanguages(TGlossa* Glossa, std::initializer_list<const char*> Names) {
    TLanguageManager* Manager = Glossa->LanguageManager();
    TLanguageEntries Edited(nullptr);
    Edited.Assign(Manager->Langs());
    for (const char* Name : Names)
        static_cast<TLanguageEntry*>(Edited.Add())->SetName(Name);
    Manager->AssignLangsAndSync(&Edited, cmInitDefault);
}

String FormText(TComponent* Root) {
    TMemoryStream Binary;
    Binary.WriteComponent(Root);
    Binary.SetPosition(0);
    TMemoryStream Text;
    ObjectBinaryToText(&Binary, &Text);
    return String(reinterpret_cast<const char*>(Text.Memory()), static_cast<size_t>(Text.Size()));
}

String Screenshot(TWinControl* Control, const String& Name) {
    String Folder = GetEnvironmentVariable("ORLO_TEST_TMP");
    if (Folder.empty())
        Folder = TempDirectory();
    Folder += "/screenshots";
    ForceDirectories(Folder);
    const String Path = Folder + "/" + Name + ".png";
    SaveScreenshot(Control, Path);
    return Path;
}

} // namespace orlo::test
