#include "render/programs.h"

#include "render/shader_sources.h"

namespace omra {

using namespace shader_source;

namespace {

// The sources are initialised as constants, before any of these copies of them is made.
const ShaderSource backgroundStages[] = {{GL_VERTEX_SHADER, quadVertex},
                                         {GL_FRAGMENT_SHADER, gradientFragment}};
// A second copy of the quad vertex stage, compiled for this program.
const ShaderSource barStages[] = {{GL_VERTEX_SHADER, quadVertex},
                                  {GL_FRAGMENT_SHADER, barFragment}};
const ShaderSource objectStages[] = {{GL_VERTEX_SHADER, objectVertex},
                                     {GL_TESS_EVALUATION_SHADER, objectEvaluation},
                                     {GL_FRAGMENT_SHADER, lightingFragment}};
const ShaderSource spriteStages[] = {{GL_VERTEX_SHADER, spriteVertex},
                                     {GL_FRAGMENT_SHADER, keyedFragment}};
const ShaderSource screenStages[] = {{GL_VERTEX_SHADER, screenVertex},
                                     {GL_FRAGMENT_SHADER, scanlineFragment}};
const ShaderSource textStages[] = {{GL_VERTEX_SHADER, waveVertex},
                                   {GL_FRAGMENT_SHADER, textFragment}};
const ShaderSource starStages[] = {{GL_VERTEX_SHADER, starVertex},
                                   {GL_FRAGMENT_SHADER, starFragment}};

const ProgramStages programs[] = {{"background", backgroundStages},
                                  {"bar", barStages},
                                  {"object", objectStages},
                                  {"sprite", spriteStages},
                                  {"screen", screenStages},
                                  {"text", textStages},
                                  {"star", starStages}};

std::unique_ptr<Shader> build(std::span<const ShaderSource> stages) {
    return std::make_unique<Shader>(stages);
}

} // namespace

std::span<const ProgramStages> scenePrograms() {
    return programs;
}

std::unique_ptr<Shader> buildBackgroundProgram() {
    return build(backgroundStages);
}

std::unique_ptr<Shader> buildBarProgram() {
    return build(barStages);
}

std::unique_ptr<Shader> buildObjectProgram() {
    return build(objectStages);
}

std::unique_ptr<Shader> buildSpriteProgram() {
    return build(spriteStages);
}

std::unique_ptr<Shader> buildScreenProgram() {
    return build(screenStages);
}

std::unique_ptr<Shader> buildTextProgram() {
    return build(textStages);
}

std::unique_ptr<Shader> buildStarProgram() {
    return build(starStages);
}

} // namespace omra
