#pragma once

#include "render/shader.h"

#include <memory>
#include <span>
#include <string_view>

// The scene's GLSL programs, each built from its embedded stage sources.
namespace omra {

// One of the scene's programs: its name and its stages, vertex first and fragment last.
struct ProgramStages {
    std::string_view name;
    std::span<const ShaderSource> stages;
};

// Every program the scene builds, for checks of the sources beside the driver's compiler.
std::span<const ProgramStages> scenePrograms();

// Gradient behind everything.
std::unique_ptr<Shader> buildBackgroundProgram();
// The two animated bars.
std::unique_ptr<Shader> buildBarProgram();
// Tessellated, lit spiked cubes.
std::unique_ptr<Shader> buildObjectProgram();
// Logo and scroller glyphs, black keyed out.
std::unique_ptr<Shader> buildSpriteProgram();
// Copies the off-screen image to the window with scan lines.
std::unique_ptr<Shader> buildScreenProgram();
// Text pages on their rippling sheet.
std::unique_ptr<Shader> buildTextProgram();
// The drifting stars.
std::unique_ptr<Shader> buildStarProgram();

} // namespace omra
