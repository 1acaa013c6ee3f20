#include "render/scene_setup.h"

#include "assets/assets.h"
#include "core/frame_clock.h"
#include "core/frame_state.h"
#include "core/gl_context.h"
#include "core/gl_function_table.h"
#include "core/performance_counter.h"
#include "render/programs.h"
#include "render/projections.h"
#include "render/scene.h"
#include "render/scene_geometry.h"
#include "render/text_pages.h"
#include "render/uniforms.h"

#include <glm/gtc/matrix_transform.hpp>

namespace omra {

namespace {

void readViewportSize() {
    GLint viewport[4] = {};
    gl.GetIntegerv(GL_VIEWPORT, viewport);
    frameState.viewportWidth = viewport[2];
    frameState.viewportHeight = viewport[3];
}

void setUpBackground() {
    scene.backgroundQuad = createVertexArray(backgroundQuadVertices, 0, {{2, 0}});
    scene.backgroundProgram = buildBackgroundProgram();
    scene.backgroundResLocation = scene.backgroundProgram->uniformLocation("res");
    gl.UseProgram(scene.backgroundProgram->program());
    writeResolution(scene.backgroundResLocation);
}

void setUpBars() {
    scene.bars = createVertexArray(barVertices, 0, {{2, 0}});
    scene.barProgram = buildBarProgram();
    scene.barTimeLocation = scene.barProgram->uniformLocation("time");
    scene.barResLocation = scene.barProgram->uniformLocation("res");
    gl.UseProgram(scene.barProgram->program());
    writeResolution(scene.barResLocation);
}

void setUpSpikedCube(int width, int height) {
    const glm::mat4 perspective = scenePerspective(width, height);
    scene.spikedCube = createVertexArray(
        spikedCubeVertices, SpikedCubeFloatsPerVertex * sizeof(float), {{3, 0}, {3, 12}, {3, 24}});
    scene.objectProgram = buildObjectProgram();
    // No control stage: every triangle is split into a 16-segment lattice by the default levels.
    gl.PatchParameteri(GL_PATCH_VERTICES, 3);
    const float outerLevels[4] = {16, 16, 16, 16};
    const float innerLevels[2] = {16, 16};
    gl.PatchParameterfv(GL_PATCH_DEFAULT_OUTER_LEVEL, outerLevels);
    gl.PatchParameterfv(GL_PATCH_DEFAULT_INNER_LEVEL, innerLevels);
    scene.objectProjectionLocation = scene.objectProgram->uniformLocation("projection");
    scene.objectTimeLocation = scene.objectProgram->uniformLocation("time");
    scene.objectAlphaLocation = scene.objectProgram->uniformLocation("alpha");
    gl.UseProgram(scene.objectProgram->program());
    writeProjection(scene.objectProjectionLocation, perspective);
}

void setUpLogo(int width, int height) {
    scene.logo = std::make_unique<Texture2D>();
    scene.logo->LoadTGA(assets.logoImage);
    const auto quad = logoQuadVertices(width, height, scene.logo->width, scene.logo->height);
    scene.logoQuad = createVertexArray(quad, TexturedVertexStride, TexturedVertex);
    scene.spriteProgram = buildSpriteProgram();
    scene.spriteProjectionLocation = scene.spriteProgram->uniformLocation("projection");
}

void setUpGlyphSheet(int width, int height) {
    // Sprites start 16 pixels left of the window, so the logo sits 16 pixels left of centre.
    const glm::mat4 orthographic =
        glm::ortho(16.0f, static_cast<float>(width + 16), 0.0f, static_cast<float>(height));
    scene.font = std::make_unique<BitmapFont>(assets.fontImage);
    gl.UseProgram(scene.spriteProgram->program());
    writeProjection(scene.spriteProjectionLocation, orthographic);
}

} // namespace

void setupScene() {
    requestSwapIntervalOne();
    loadGlFunctionTable(lookUpGlEntryPoint);
    readViewportSize();
    const int width = frameState.viewportWidth;
    const int height = frameState.viewportHeight;

    setUpBackground();
    setUpBars();
    setUpSpikedCube(width, height);
    setUpLogo(width, height);
    setUpGlyphSheet(width, height);
    setUpTextPages(width, height, assets.pages);
    scene.framebuffer = std::make_unique<Framebuffer>(width, height);
    scene.screenProgram = buildScreenProgram();
    scene.starField = std::make_unique<StarField>();
    gl.ClearColor(0, 0, 0, 0);

    // The clock starts last: the first frame's time step covers everything after set-up.
    const std::int64_t frequency = performanceFrequency();
    startFrameClock(frameClock, frequency, performanceCounter());
    frameState.sceneTime = 0.0f;
}

} // namespace omra
