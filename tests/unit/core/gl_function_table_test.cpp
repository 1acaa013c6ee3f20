#include "core/gl_function_table.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace omra {
namespace {

std::vector<std::string> askedFor;
std::vector<std::string> missing;
int stand_in;

void* recordingLookup(const char* name) {
    askedFor.emplace_back(name);
    const bool isMissing = std::find(missing.begin(), missing.end(), name) != missing.end();
    return isMissing ? nullptr : &stand_in;
}

std::string failureOf() {
    try {
        loadGlFunctionTable(recordingLookup);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(loaded)";
}

TEST(GlFunctionTable, LooksUpThe56EntryPointsOnceEachInAlphabeticalOrder) {
    askedFor.clear();
    missing.clear();
    EXPECT_EQ(failureOf(), "(loaded)");
    ASSERT_EQ(askedFor.size(), 56u);
    EXPECT_TRUE(std::is_sorted(askedFor.begin(), askedFor.end()));
    EXPECT_EQ(std::adjacent_find(askedFor.begin(), askedFor.end()), askedFor.end());
    EXPECT_EQ(askedFor.front(), "glActiveTexture");
    EXPECT_EQ(askedFor.back(), "glVertexAttribPointer");
    EXPECT_EQ(reinterpret_cast<void*>(gl.Clear), &stand_in);
}

TEST(GlFunctionTable, RefusesToStartNamingTheFirstEntryPointNotFound) {
    askedFor.clear();
    missing = {"glUseProgram", "glDrawArraysInstanced"};
    const std::string message = failureOf();
    EXPECT_NE(message.find("glDrawArraysInstanced"), std::string::npos) << message;
    EXPECT_EQ(message.find("glUseProgram"), std::string::npos) << message;
    missing.clear();
}

} // namespace
} // namespace omra
