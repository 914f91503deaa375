// TGlossa translates the column captions of a list view like any collection
// item's caption, and the shown header follows the switch.

#include "platform/forms/ComCtrls.h"
#include "runtime/ComponentExplorer.h"
#include "runtime/GlossaTools.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace orlo::test {
namespace {

TEST(ListColumnsGlossaTest, ColumnCaptionsSwitchLanguage) {
    Application->Initialize();
    TForm Form(nullptr);
    Form.SetName("CheckForm");
    auto* List = new TListView(&Form);
    List->SetName("ErrorList");
    List->SetParent(&Form);
    List->SetViewStyle(vsReport);
    for (const char* Caption : {"Name", "Line"})
        List->Columns()->Add()->SetCaption(Caption);
    auto* Glossa = new TGlossa(&Form);
    Glossa->SetName("Glossa");
    Glossa->SetDomain("ListColumnsGlossaTest");
    AddLanguages(Glossa, {"English", "Deutsch"});
    TLanguageManager* Manager = Glossa->LanguageManager();
    TCESettings Settings;
    AddRootToMainEntries(&Form, Manager->Comps(), Settings, Manager->Comps()->PropClass(),
                         Settings.StandardFilter());
    Manager->SyncCount(cmInitAll);
    Integer Translated = 0;
    Manager->Comps()->ForEachPropertyEntryDo([&](TMainEntry* Main, TPropertyEntry* Prop) {
        if (Main->Name() == "Columns[1]" && Prop->Name() == "Caption") {
            static_cast<TConsistentLangPropertyEntry*>(Prop)->SetLangValue(
                1, Variant(String("Zeile")));
            ++Translated;
        }
    });
    ASSERT_EQ(Translated, 1);
    Form.HandleNeeded();
    auto* Header = qobject_cast<QTreeWidget*>(List->Widget())->headerItem();
    Glossa->SetLanguage("Deutsch");
    EXPECT_EQ(List->Columns()->Items(1)->Caption(), "Zeile");
    EXPECT_EQ(Header->text(1), "Zeile");
    EXPECT_EQ(List->Columns()->Items(0)->Caption(), "Name");
    Glossa->SetLanguage("English");
    EXPECT_EQ(Header->text(1), "Line");
}

} // namespace
} // namespace orlo::test
