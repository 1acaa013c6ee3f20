// Writes the fuzz targets' starting inputs: omra_fuzz_seeds MODULE_DIR PACK_DIR DATA_DIR
#include "common/files.h"
#include "fuzz/seeds.h"

#include <cstdio>
#include <exception>

namespace {

void writeAll(const std::filesystem::path& dir, const std::vector<omra::fuzz::Seed>& seeds) {
    std::filesystem::create_directories(dir);
    for (const omra::fuzz::Seed& seed : seeds) {
        omra::tools::writeFileAtomically(dir / seed.name, seed.bytes);
    }
    std::printf("%zu seeds in %s\n", seeds.size(), dir.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s MODULE_DIR PACK_DIR DATA_DIR\n", argv[0]);
        return 2;
    }
    try {
        writeAll(argv[1], omra::testing::coveringModules());
        writeAll(argv[2], omra::fuzz::packSeeds(argv[3]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
