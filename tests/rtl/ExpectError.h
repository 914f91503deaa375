#pragma once
// Checks that a call raises the exception class E with exactly the given text.

#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

namespace orlo::test {

template <class E, class F> void ExpectError(F&& Call, const String& Text) {
    try {
        Call();
        ADD_FAILURE() << "no exception; expected " << Text;
    } catch (const E& Error) {
        EXPECT_EQ(Error.Message(), Text);
    } catch (const std::exception& Other) {
        ADD_FAILURE() << "unexpected exception: " << Other.what() << "; expected " << Text;
    }
}

} // namespace orlo::test
