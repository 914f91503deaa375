#include "tests/widgets/WidgetTestSupport.h"

#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"

#include <QPixmap>
#include <QWidget>

namespace orlo::test {

TModalScript::TModalScript()
    : FPreviousRunner(Application->SetModalRunner([this](TCustomForm* Form) { Answer(Form); })),
      FPreviousLog(Application->SetActionLog(&FLog)) {}

TModalScript::~TModalScript() {
    Application->SetModalRunner(FPreviousRunner);
    Application->SetActionLog(FPreviousLog);
    EXPECT_TRUE(FSteps.empty()) << FSteps.size() << " modal form(s) expected but not shown";
}

TModalScript& TModalScript::Then(TStep Step) {
    FSteps.push_back(std::move(Step));
    return *this;
}

void TModalScript::Answer(TCustomForm* Form) {
    FShown.push_back(Form->ClassName());
    if (FSteps.empty()) {
        ADD_FAILURE() << "unexpected modal form " << Form->ClassName() << " \"" << Form->Caption()
                      << "\"";
        return;
    }
    TStep Step = std::move(FSteps.front());
    FSteps.pop_front();
    Step(Form);
}

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

String SaveScreenshot(TWinControl* Control, const String& Name) {
    String Folder = GetEnvironmentVariable("ORLO_TEST_TMP");
    if (Folder.empty())
        Folder = TempDirectory();
    Folder += "/screenshots";
    ForceDirectories(Folder);
    const String Path = Folder + "/" + Name + ".png";
    const QPixmap Picture = Control->Handle()->grab();
    EXPECT_FALSE(Picture.isNull()) << Name;
    EXPECT_TRUE(Picture.save(QString::fromStdString(Path), "PNG")) << Path;
    return Path;
}

} // namespace orlo::test
