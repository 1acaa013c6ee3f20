#include "common/files.h"
#include "placeholders/placeholder_tune.h"

#include <gtest/gtest.h>

namespace omra::tools {
namespace {

TEST(PlaceholderAssets, TheCommittedTuneIsExactlyWhatTheGeneratorWrites) {
    EXPECT_EQ(readFile(std::string(OMRA_DATA_DIR) + "/module.xm"), writeXm(placeholderTune()));
}

} // namespace
} // namespace omra::tools
