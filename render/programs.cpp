#include "render/programs.h"

#include "render/shader_sources.h"

namespace omra {

using namespace shader_source;

namespace {

std::unique_ptr<Shader> build(std::initializer_list<ShaderSource> stages) {
    return std::make_unique<Shader>(stages);
}

} // namespace

std::unique_ptr<Shader> buildBackgroundProgram() {
    return build({{GL_VERTEX_SHADER, quadVertex}, {GL_FRAGMENT_SHADER, gradientFragment}});
}

std::unique_ptr<Shader> buildBarProgram() {
    // A second copy of the quad vertex stage, compiled for this program.
    return build({{GL_VERTEX_SHADER, quadVertex}, {GL_FRAGMENT_SHADER, barFragment}});
}

std::unique_ptr<Shader> buildObjectProgram() {
    return build({{GL_VERTEX_SHADER, objectVertex},
                  {GL_TESS_EVALUATION_SHADER, objectEvaluation},
                  {GL_FRAGMENT_SHADER, lightingFragment}});
}

std::unique_ptr<Shader> buildSpriteProgram() {
    return build({{GL_VERTEX_SHADER, spriteVertex}, {GL_FRAGMENT_SHADER, keyedFragment}});
}

std::unique_ptr<Shader> buildScreenProgram() {
    return build({{GL_VERTEX_SHADER, screenVertex}, {GL_FRAGMENT_SHADER, scanlineFragment}});
}

std::unique_ptr<Shader> buildTextProgram() {
    return build({{GL_VERTEX_SHADER, waveVertex}, {GL_FRAGMENT_SHADER, textFragment}});
}

std::unique_ptr<Shader> buildStarProgram() {
    return build({{GL_VERTEX_SHADER, starVertex}, {GL_FRAGMENT_SHADER, starFragment}});
}

} // namespace omra
