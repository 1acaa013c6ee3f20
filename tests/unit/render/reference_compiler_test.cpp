#include "render/programs.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

// Every stage and program of the scene through the Khronos reference compiler, which holds GLSL
// 4.00 to the letter where one driver's compiler forgives what another's refuses.
namespace omra {
namespace {

const char* extensionOf(GLenum stage) {
    switch (stage) {
    case GL_VERTEX_SHADER:
        return ".vert";
    case GL_TESS_CONTROL_SHADER:
        return ".tesc";
    case GL_TESS_EVALUATION_SHADER:
        return ".tese";
    case GL_GEOMETRY_SHADER:
        return ".geom";
    default:
        return ".frag";
    }
}

struct Verdict {
    bool passed = false;
    std::string output;
};

Verdict validate(const std::string& arguments) {
    const std::string command = std::string(OMRA_GLSLANG_VALIDATOR) + " " + arguments + " 2>&1";
    Verdict verdict;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        verdict.output = "could not run " + command;
        return verdict;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        verdict.output += buffer;
    }
    const int status = pclose(pipe);
    verdict.passed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return verdict;
}

TEST(ReferenceCompiler, CompilesEveryStageAndLinksEveryProgramOfTheSceneAsGlsl400) {
    const std::filesystem::path folder =
        std::filesystem::path(OMRA_TEST_ARTIFACTS) / "reference-compiler";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ASSERT_FALSE(scenePrograms().empty());
    for (const ProgramStages& program : scenePrograms()) {
        std::string stageFiles;
        for (const ShaderSource& stage : program.stages) {
            const std::filesystem::path file =
                folder / (std::string(program.name) + extensionOf(stage.stage));
            EXPECT_NE(stage.source.find("#version 400\n"), std::string_view::npos)
                << file.filename() << " does not declare GLSL 4.00";
            std::ofstream(file, std::ios::binary) << stage.source;
            stageFiles += " " + file.string();
            const Verdict compiled = validate(file.string());
            EXPECT_TRUE(compiled.passed) << file.filename() << ":\n" << compiled.output;
        }
        const Verdict linked = validate("-l" + stageFiles);
        EXPECT_TRUE(linked.passed) << "the " << program.name << " program:\n" << linked.output;
    }
}

} // namespace
} // namespace omra
