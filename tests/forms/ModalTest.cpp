// Modal forms driven through the application's modal runner.

#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "tests/rtl/ExpectError.h"

#include <gtest/gtest.h>

namespace orlo::test {
namespace {

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
    void TearDown() override { Application->SetModalRunner(nullptr); }
};

TEST_F(ModalTest, RunnerClicksAButtonAndShowModalReturnsItsResult) {
    TForm Form(nullptr);
    auto* Ok = new TButton(&Form);
    Ok->SetParent(&Form);
    Ok->SetModalResult(mrOk);
    Application->SetModalRunner([Ok](TCustomForm* Shown) {
        EXPECT_TRUE(Shown->Visible());
        Ok->Click();
    });
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_FALSE(Form.Visible());
}

} // namespace
} // namespace orlo::test
