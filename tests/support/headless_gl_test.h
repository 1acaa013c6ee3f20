#pragma once

#include "core/gl_function_table.h"
#include "support/headless_gl.h"

#include <gtest/gtest.h>

namespace omra::headless {

// Tests of GPU objects on the headless context, with the function table loaded.
class HeadlessGlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        openContext(windowWidth(), windowHeight());
        loadFunctionTable();
    }
};

// A single integer state value of the current context.
inline GLint glInteger(GLenum name) {
    GLint value = -1;
    gl.GetIntegerv(name, &value);
    return value;
}

} // namespace omra::headless
