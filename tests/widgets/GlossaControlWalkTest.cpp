// A top-level TGlossa read with a real form of controls regroups the other
// TGlossa of its form into the frame it founds, found through the form's
// control tree.

#include "platform/classes/FormText.h"
#include "platform/classes/Resources.h"
#include "platform/classes/Streams.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace orlo::test {

class TTwoGlossaForm : public TForm {
    ORLO_CLASS(TTwoGlossaForm, TForm)
public:
    explicit TTwoGlossaForm(TComponent* AOwner) : TForm(AOwner) {}
    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TGlossa* Plain = nullptr;
    TGlossa* Top = nullptr;
};

ORLO_PUBLISHED(TTwoGlossaForm, "GlossaControlWalkTest") {
    P.Field("Panel1", &TTwoGlossaForm::Panel1);
    P.Field("Label1", &TTwoGlossaForm::Label1);
    P.Field("Plain", &TTwoGlossaForm::Plain);
    P.Field("Top", &TTwoGlossaForm::Top);
}

namespace {

// The plain TGlossa comes first, so it joins the existing frame before the
// top-level one founds its own.
constexpr const char* FormText = R"(object TwoGlossaForm: TTwoGlossaForm
  object Panel1: TPanel
    object Label1: TLabel
      Caption = 'On the panel'
    end
  end
  object Plain: TGlossa
  end
  object Top: TGlossa
    TopLevel = True
  end
end
)";

class TFormResource {
public:
    TFormResource() {
        TMemoryStream Input;
        Input.WriteBuffer(FormText, static_cast<Integer>(std::char_traits<char>::length(FormText)));
        Input.SetPosition(0);
        TMemoryStream Output;
        ObjectTextToBinary(&Input, &Output);
        FBytes.assign(Output.Memory(), Output.Memory() + Output.Size());
        RegisterComponentResource("TTwoGlossaForm", FBytes.data(), FBytes.size());
    }
    ~TFormResource() { UnregisterComponentResource("TTwoGlossaForm", FBytes.data()); }

private:
    std::vector<Byte> FBytes;
};

TEST(GlossaControlWalkTest, TopLevelComponentTakesTheFormsOtherTGlossaIntoItsFrame) {
    TLanguageFrameHost Earlier("", "English");
    TFormResource Resource;
    std::unique_ptr<TTwoGlossaForm> Form(TCustomForm::Create<TTwoGlossaForm>(nullptr));
    TLanguageFrames* Frames = GlossaNoDomainFrames();
    const TLanguageFrame* TopFrame = Frames->FindFrame(Form->Top->Listener());
    ASSERT_NE(TopFrame, nullptr);
    EXPECT_EQ(Frames->FindFrame(Form->Plain->Listener()), TopFrame);
    EXPECT_NE(Frames->FindFrame(Earlier.Glossa()->Listener()), TopFrame);
    EXPECT_EQ(Form->Label1->Parent(), Form->Panel1);
}

} // namespace
} // namespace orlo::test
