#include "render/programs.h"

#include "render/shader_sources.h"

namespace omra {

using namespace shader_source;

std::unique_ptr<Shader> buildBackgroundProgram() {
    return std::make_unique<Shader>(std::initializer_list<ShaderSource>{
        {GL_VERTEX_SHADER, quadVertex}, {GL_FRAGMENT_SHADER, gradientFragment}});
}

std::unique_ptr<Shader> buildBarProgram() {
    return std::make_unique<Shader>(std::initializer_list<ShaderSource>{
        {GL_VERTEX_SHADER, quadVertex}, {GL_FRAGMENT_SHADER, barFragment}});
}

std::unique_ptr<Shader> buildObjectProgram() {
    return std::make_unique<Shader>(
        std::initializer_list<ShaderSource>{{GL_VERTEX_SHADER, objectVertex},
                                            {GL_TESS_EVALUATION_SHADER, objectEvaluation},
                                            {GL_FRAGMENT_SHADER, lightingFragment}});
}

std::unique_ptr<Shader> buildSpriteProgram() {
    return std::make_unique<Shader>(std::initializer_list<ShaderSource>{
        {GL_VERTEX_SHADER, spriteVertex}, {GL_FRAGMENT_SHADER, keyedFragment}});
}

std::unique_ptr<Shader> buildScreenProgram() {
    return std::make_unique<Shader>(std::initializer_list<ShaderSource>{
        {GL_VERTEX_SHADER, screenVertex}, {GL_FRAGMENT_SHADER, scanlineFragment}});
}

std::unique_ptr<Shader> buildTextProgram() {
    return std::make_unique<Shader>(std::initializer_list<ShaderSource>{
        {GL_VERTEX_SHADER, waveVertex}, {GL_FRAGMENT_SHADER, textFragment}});
}

std::unique_ptr<Shader> buildStarProgram() {
    return std::make_unique<Shader>(std::initializer_list<ShaderSource>{
        {GL_VERTEX_SHADER, starVertex}, {GL_FRAGMENT_SHADER, starFragment}});
}

} // namespace omra
