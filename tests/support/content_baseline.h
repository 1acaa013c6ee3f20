#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

namespace omra::testing {

// What the content tests expect of data/, as scripts/rebaseline-content.sh last recorded it in
// tests/golden/content.txt: the pages in order with their size in code page 437 and whether
// they hold box drawing, shade or block art; the scroller's length; and which files are the
// output of the project's generators (omra-art, omra-tune) rather than a group's own.
struct ContentBaseline {
    struct Page {
        std::string name;
        std::size_t bytes;
        bool art;
    };
    std::vector<Page> pages;
    std::size_t scrollerLength = 0;
    std::set<std::string> generated;
};

// Reads OMRA_CONTENT_BASELINE; a line it cannot read fails the calling test.
ContentBaseline contentBaseline();

} // namespace omra::testing
