// omra-pack: builds the intro's asset pack from its source files.
#include "assets/pack_layout.h"
#include "common/command_line.h"
#include "common/files.h"
#include "pack/cp437.h"
#include "pack/pack_builder.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

using omra::tools::UsageError;

std::string describe(const omra::PackImageSize& size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height) + " uncompressed " +
           std::to_string(size.bitsPerPixel) + "-bit TGA";
}

const std::string Usage =
    "usage: omra-pack --logo FILE --module FILE --scroller FILE --font FILE [--page FILE]...\n"
    "                 --output FILE\n"
    "\n"
    "Builds the asset pack the intro carries inside its executable.\n"
    "  --logo FILE      logo, " +
    describe(omra::LogoImageSize) +
    ", origin bottom or top left\n"
    "  --module FILE    the tune, an XM module\n"
    "  --scroller FILE  scroller text, one line of printable ASCII\n"
    "  --font FILE      scroller glyph sheet, " +
    describe(omra::GlyphSheetImageSize) +
    "\n"
    "  --page FILE      a text page in UTF-8, converted to code page 437; repeat in order\n"
    "  --output FILE    the pack to write (replaced only once it is complete)\n"
    "A final line feed in the scroller and page files is dropped.\n";

struct Arguments {
    std::optional<std::string> logo, module, scroller, font, output;
    std::vector<std::string> pages;
};

Arguments parseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool known = option == "--logo" || option == "--module" || option == "--scroller" ||
                           option == "--font" || option == "--page" || option == "--output";
        if (!known) {
            throw UsageError("unknown option " + option);
        }
        if (i + 1 >= argc) {
            throw UsageError("missing file after " + option);
        }
        const std::string value = argv[++i];
        if (option == "--logo") {
            arguments.logo = value;
        } else if (option == "--module") {
            arguments.module = value;
        } else if (option == "--scroller") {
            arguments.scroller = value;
        } else if (option == "--font") {
            arguments.font = value;
        } else if (option == "--page") {
            arguments.pages.push_back(value);
        } else {
            arguments.output = value;
        }
    }
    for (const auto& [name, value] :
         {std::pair{"--logo", &arguments.logo}, std::pair{"--module", &arguments.module},
          std::pair{"--scroller", &arguments.scroller}, std::pair{"--font", &arguments.font},
          std::pair{"--output", &arguments.output}}) {
        if (!*value) {
            throw UsageError(std::string("missing ") + name);
        }
    }
    return arguments;
}

std::string readText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = omra::tools::readFile(path);
    return {bytes.begin(), bytes.end()};
}

int run(const Arguments& arguments) {
    using namespace omra::tools;
    PackSources sources;
    sources.logo = readFile(*arguments.logo);
    sources.module = readFile(*arguments.module);
    sources.scroller = withoutFinalLineFeed(readText(*arguments.scroller));
    sources.font = readFile(*arguments.font);
    for (const std::string& page : arguments.pages) {
        sources.pages.push_back(utf8ToCp437(withoutFinalLineFeed(readText(page)), page));
    }
    // Messages name the file and what it is for.
    const auto name = [](const std::string& path, const char* role) {
        return path + " (" + role + ")";
    };
    PackSourceNames names{name(*arguments.logo, "logo"),
                          name(*arguments.module, "module"),
                          name(*arguments.scroller, "scroller"),
                          name(*arguments.font, "font"),
                          {}};
    for (const std::string& page : arguments.pages) {
        names.pages.push_back(name(page, "page"));
    }
    checkPackSources(sources, names);
    writeFileAtomically(*arguments.output, buildPack(sources));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return omra::tools::runCommandLineTool(
        "omra-pack", Usage.c_str(), argc, argv,
        [](int count, char** words) { return run(parseArguments(count, words)); });
}
