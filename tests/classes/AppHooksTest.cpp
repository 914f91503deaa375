#include "platform/classes/AppHooks.h"

#include "platform/classes/Component.h"
#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orlo {
namespace {

struct TDescribeCase {
    const char* Title;
    std::exception_ptr Error;
    const char* ClassName;
    const char* Message;
};

TEST(AppHooks, DescribesEveryKindOfException) {
    const std::vector<TDescribeCase> Cases{
        {"ours", std::make_exception_ptr(EListError("List index out of bounds (3)")), "EListError",
         "List index out of bounds (3)"},
        {"standard", std::make_exception_ptr(std::out_of_range("too far")), "std::out_of_range",
         "too far"},
        {"not an exception class", std::make_exception_ptr(7), "int", ""},
        {"nothing", nullptr, "", ""},
    };
    for (const TDescribeCase& Case : Cases) {
        const TExceptionText Text = DescribeException(Case.Error);
        EXPECT_EQ(Text.ClassName, Case.ClassName) << Case.Title;
        EXPECT_EQ(Text.Message, Case.Message) << Case.Title;
    }
}

TEST(AppHooks, DefaultHandlerWritesClassAndMessageToStdErr) {
    ::testing::internal::CaptureStderr();
    GuardedCall(nullptr, [] { throw EConvertError("'x' is not a valid integer value"); });
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "EConvertError: 'x' is not a valid integer value\n");
}

TEST(AppHooks, SilentAbortAndNoExceptionShowNothing) {
    TExceptionRecorder Recorder;
    GuardedCall(nullptr, [] { Abort(); });
    HandleException(nullptr); // not inside a catch block
    EXPECT_TRUE(Recorder.Entries().empty());
}

TEST(AppHooks, RecorderGetsSenderAndScopesRestoreTheHandler) {
    TComponent Sender(nullptr);
    TExceptionRecorder Outer;
    {
        TExceptionRecorder Inner;
        GuardedCall(&Sender, [] { throw Exception("inner"); });
        ASSERT_EQ(Inner.Entries().size(), 1u);
        EXPECT_EQ(Inner.Entries()[0].Sender, &Sender);
        EXPECT_EQ(Inner.Entries()[0].Message, "inner");
    }
    GuardedCall(nullptr, [] { throw Exception("outer"); });
    ASSERT_EQ(Outer.Entries().size(), 1u);
    EXPECT_EQ(Outer.Entries()[0].Message, "outer");
}

TEST(AppHooks, FailingHandlerFallsBackToStdErr) {
    TExceptionHandlerScope Scope(
        [](TObject*, const std::exception_ptr&) { throw std::runtime_error("handler broke"); });
    ::testing::internal::CaptureStderr();
    GuardedCall(nullptr, [] { throw Exception("first"); });
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Exception: first\nstd::runtime_error: handler broke\n");
}

} // namespace
} // namespace orlo
