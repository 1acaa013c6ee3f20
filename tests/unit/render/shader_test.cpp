#include "core/gl_function_table.h"
#include "render/programs.h"
#include "render/shader.h"
#include "support/headless_gl_test.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace omra {
namespace {

using ShaderTest = headless::HeadlessGlTest;

constexpr const char* Prefix = "Shader::make(): ";

constexpr std::string_view PassThroughVertex = R"(
#version 400
layout(location = 0) in vec2 vertex;
out vec3 shade;
void main() { shade = vec3(vertex, 0.0); gl_Position = vec4(vertex, 0.0, 1.0); }
)";

std::string messageOf(std::initializer_list<ShaderSource> sources) {
    try {
        Shader shader(sources);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(built)";
}

GLint attachedShaders(const Shader& shader) {
    GLint count = -1;
    gl.GetProgramiv(shader.program(), GL_ATTACHED_SHADERS, &count);
    return count;
}

TEST_F(ShaderTest, EverySceneProgramBuildsAndKeepsNoShaderObjects) {
    for (const auto build :
         {buildBackgroundProgram, buildBarProgram, buildObjectProgram, buildSpriteProgram,
          buildScreenProgram, buildTextProgram, buildStarProgram}) {
        const auto shader = build();
        GLint linked = GL_FALSE;
        gl.GetProgramiv(shader->program(), GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE);
        EXPECT_EQ(attachedShaders(*shader), 0);
    }
}

TEST_F(ShaderTest, ProgramsExposeTheUniformsTheSceneWrites) {
    EXPECT_GE(buildBackgroundProgram()->uniformLocation("res"), 0);
    const auto bars = buildBarProgram();
    EXPECT_GE(bars->uniformLocation("res"), 0);
    EXPECT_GE(bars->uniformLocation("time"), 0);
    const auto objects = buildObjectProgram();
    for (const char* name : {"projection", "time", "alpha"}) {
        EXPECT_GE(objects->uniformLocation(name), 0) << name;
    }
    EXPECT_GE(buildSpriteProgram()->uniformLocation("projection"), 0);
    const auto text = buildTextProgram();
    for (const char* name : {"res", "time", "projection"}) {
        EXPECT_GE(text->uniformLocation(name), 0) << name;
    }
    EXPECT_GE(buildStarProgram()->uniformLocation("time"), 0);
}

TEST_F(ShaderTest, AFragmentStageThatDoesNotCompileReportsTheCompilerLog) {
    const std::string message =
        messageOf({{GL_VERTEX_SHADER, PassThroughVertex},
                   {GL_FRAGMENT_SHADER, "\n#version 400\nvoid main() { this is not glsl }\n"}});
    ASSERT_EQ(message.rfind(Prefix, 0), 0u) << message;
    EXPECT_GT(message.size(), std::string(Prefix).size()) << "the compiler's text follows";
    EXPECT_EQ(message.find('\0'), std::string::npos);
}

TEST_F(ShaderTest, StagesThatCompileButDoNotLinkReportTheLinkerLog) {
    // The fragment stage reads the vertex stage's output as another type.
    const std::string message =
        messageOf({{GL_VERTEX_SHADER, PassThroughVertex},
                   {GL_FRAGMENT_SHADER,
                    "\n#version 400\nin vec4 shade;\nlayout(location = 0) out vec4 color;\n"
                    "void main() { color = shade; }\n"}});
    ASSERT_EQ(message.rfind(Prefix, 0), 0u) << message;
    EXPECT_GT(message.size(), std::string(Prefix).size());
}

TEST_F(ShaderTest, AStageTheDriverCannotCreateGivesTheBarePrefix) {
    // glCreateShader returns 0 for a shader type it does not know.
    EXPECT_EQ(messageOf({{GL_VERTEX_SHADER, PassThroughVertex}, {0x1234, "anything"}}), Prefix);
}

} // namespace
} // namespace omra
