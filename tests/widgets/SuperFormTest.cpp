// The form base class: defaults, tracking sizes and the window-state text.

#include "widgets/SuperForm.h"

#include "tests/widgets/WidgetTestSupport.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace orlo::test {
namespace {

std::unique_ptr<TSuperForm> NewForm(TFormBorderStyle Style) {
    auto Form = std::make_unique<TSuperForm>(nullptr);
    Form->SetBorderStyle(Style);
    Form->SetBounds(100, 50, 500, 300);
    return Form;
}

TEST(SuperFormTest, Defaults) {
    TSuperForm Form(nullptr);
    EXPECT_FALSE(Form.AutoScroll());
    EXPECT_EQ(Form.Position(), poScreenCenter);
    EXPECT_EQ(Form.BorderStyle(), bsSizeable);
    EXPECT_FALSE(Form.ParentFont());
    EXPECT_FALSE(Form.Visible());
    EXPECT_FALSE(Form.SizeMinTrack()->Enabled());
    EXPECT_EQ(Form.SizeMinTrack()->SizeX(), 0);
}

TEST(SuperFormTest, BorderStyleKeepsAutoScroll) {
    TSuperForm Form(nullptr);
    Form.SetAutoScroll(true);
    Form.SetBorderStyleKeepingScroll(bsDialog);
    EXPECT_TRUE(Form.AutoScroll());
    Form.SetAutoScroll(false);
    Form.SetBorderStyleKeepingScroll(bsSizeable);
    EXPECT_FALSE(Form.AutoScroll());
}

TEST(SuperFormTest, WindowStateTextOfTheNormalBounds) {
    auto Form = NewForm(bsSizeable);
    EXPECT_EQ(Form->GetWindowStateData(), "(100 50 500 300 0)");
}

TEST(SuperFormTest, TextsThatChangeNothing) {
    for (const char* Text : {"(1 2 3)", "1 2 3 4 0)", "", "(1 2 3 4 7)", "(1 2 3 4 -1)",
                             "(1 x 3 4 0)", "(1 2 3 4 0", "(1,2,3,4,0)"}) {
        SCOPED_TRACE(Text);
        auto Form = NewForm(bsSizeable);
        Form->SetWindowStateData(Text);
        EXPECT_EQ(Form->BoundsRect(), Bounds(100, 50, 500, 300));
        EXPECT_EQ(Form->WindowState(), wsNormal);
        EXPECT_EQ(Form->Position(), poScreenCenter);
    }
}

TEST(SuperFormTest, SizeableWindowTakesBoundsAndState) {
    for (const TFormBorderStyle Style : {bsSizeable, bsSizeToolWin}) {
        auto Form = NewForm(Style);
        Form->SetWindowStateData("(120 80 640 480 0)");
        EXPECT_EQ(Form->BoundsRect(), Bounds(120, 80, 640, 480));
        EXPECT_EQ(Form->Position(), poDesigned);
    }
}

TEST(SuperFormTest, DialogRestoresOnlyItsPosition) {
    auto Form = NewForm(bsDialog);
    Form->SetWindowStateData("(10 20 999 999 2)");
    EXPECT_EQ(Form->BoundsRect(), Bounds(10, 20, 500, 300));
    EXPECT_EQ(Form->WindowState(), wsNormal);
}

TEST(SuperFormTest, MaximisedWindowComesBackMaximisedOverItsNormalBounds) {
    auto Saved = NewForm(bsSizeable);
    Saved->SetPosition(poDesigned);
    Saved->Show();
    Saved->SetWindowState(wsMaximized);
    const String Text = Saved->GetWindowStateData();
    EXPECT_EQ(Text, "(100 50 500 300 2)");

    auto Restored = NewForm(bsSizeable);
    Restored->SetBounds(0, 0, 200, 100);
    Restored->SetWindowStateData(Text);
    Restored->Show();
    EXPECT_EQ(Restored->WindowState(), wsMaximized);
    Restored->SetWindowState(wsNormal);
    EXPECT_EQ(Restored->BoundsRect(), Bounds(100, 50, 500, 300));
}

TEST(SuperFormTest, MinimumTrackingSizeLimitsTheWindow) {
    auto Form = NewForm(bsSizeable);
    Form->SizeMinTrack()->SetSizeX(400);
    Form->SizeMinTrack()->SetSizeY(200);
    EXPECT_NE(Form->MinMaxInfo().ptMinTrackSize, (TPoint{400, 200})) << "not enabled yet";
    Form->SizeMinTrack()->SetEnabled(true);
    EXPECT_EQ(Form->MinMaxInfo().ptMinTrackSize, (TPoint{400, 200}));
    Form->Show();
    const QSize Minimum = Form->Handle()->minimumSize();
    EXPECT_EQ(Minimum.width() + Form->FrameSize().X, 400);
    EXPECT_EQ(Minimum.height() + Form->FrameSize().Y, 200);
    Form->SizeMinTrack()->SetSizeX(0);
    EXPECT_NE(Form->MinMaxInfo().ptMinTrackSize, (TPoint{0, 200})) << "a size of 0 has no effect";
}

TEST(SuperFormTest, MaximumTrackingSizeAndTheHandlerHaveTheLastWord) {
    auto Form = NewForm(bsSizeable);
    Form->SizeMaxTrack()->Assign([] {
        static TMinMaxInfo Info;
        Info.SetEnabled(true);
        Info.SetSizeX(800);
        Info.SetSizeY(600);
        return &Info;
    }());
    EXPECT_EQ(Form->MinMaxInfo().ptMaxTrackSize, (TPoint{800, 600}));
    struct THandler {
        void GetInfo(TObject*, TMinMaxRecord* Info) { Info->ptMaxTrackSize = TPoint{700, 500}; }
    } Handler;
    Form->OnGetMinMaxInfo = TMinMaxInfoNotify::Make<&THandler::GetInfo>(&Handler);
    EXPECT_EQ(Form->MinMaxInfo().ptMaxTrackSize, (TPoint{700, 500}));
}

} // namespace
} // namespace orlo::test
