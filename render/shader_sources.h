#pragma once

#include <string_view>

// The GLSL sources of the scene's programs, from render/shaders, built into the executable.
namespace omra::shader_source {

extern const std::string_view quadVertex;
extern const std::string_view gradientFragment;
extern const std::string_view barFragment;
extern const std::string_view objectVertex;
extern const std::string_view objectEvaluation;
extern const std::string_view lightingFragment;
extern const std::string_view spriteVertex;
extern const std::string_view keyedFragment;
extern const std::string_view screenVertex;
extern const std::string_view scanlineFragment;
extern const std::string_view waveVertex;
extern const std::string_view textFragment;
extern const std::string_view starVertex;
extern const std::string_view starFragment;

} // namespace omra::shader_source
