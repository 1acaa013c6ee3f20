#include "support/content_baseline.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace omra::testing {

ContentBaseline contentBaseline() {
    ContentBaseline baseline;
    std::ifstream file(OMRA_CONTENT_BASELINE);
    if (!file) {
        ADD_FAILURE() << OMRA_CONTENT_BASELINE << " is missing; scripts/rebaseline-content.sh "
                      << "writes it";
    }
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream words(line);
        std::string kind;
        if (!(words >> kind) || kind[0] == '#') {
            continue;
        }
        bool read = true;
        if (kind == "scroller") {
            read = static_cast<bool>(words >> baseline.scrollerLength);
        } else if (kind == "page") {
            ContentBaseline::Page page;
            std::string art;
            read = static_cast<bool>(words >> page.name >> page.bytes >> art) &&
                   (art == "art" || art == "plain");
            page.art = art == "art";
            baseline.pages.push_back(page);
        } else if (kind == "generated") {
            for (std::string name; words >> name;) {
                baseline.generated.insert(name);
            }
        } else {
            read = false;
        }
        if (!read) {
            ADD_FAILURE() << OMRA_CONTENT_BASELINE << ": cannot read '" << line << "'";
        }
    }
    return baseline;
}

} // namespace omra::testing
