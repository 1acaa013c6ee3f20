#include "render/frame.h"

#include "assets/assets.h"
#include "core/frame_state.h"
#include "core/gl_function_table.h"
#include "render/scene.h"
#include "render/scroller.h"
#include "render/text_pages.h"

#include <vector>

namespace omra {

namespace {

void drawStrip(const VertexArray& array, GLint first, GLsizei count) {
    gl.BindVertexArray(array.vertexArray);
    gl.DrawArrays(GL_TRIANGLE_STRIP, first, count);
    gl.BindVertexArray(0);
}

void enableBlending() {
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void drawBackground() {
    gl.UseProgram(scene.backgroundProgram->program());
    drawStrip(scene.backgroundQuad, 0, 4);
}

void drawStars(float t) {
    const StarField& stars = *scene.starField;
    gl.UseProgram(stars.program->program());
    gl.Uniform1f(stars.timeLocation, 0.5f * t);
    gl.Enable(GL_PROGRAM_POINT_SIZE);
    gl.BindVertexArray(stars.mesh.vertexArray);
    gl.DrawArrays(GL_POINTS, 0, static_cast<GLsizei>(stars.stars.size()));
    gl.BindVertexArray(0);
    gl.Disable(GL_PROGRAM_POINT_SIZE);
}

// Two passes over the three instances: the first, faint one ignores depth and leaves its own,
// the second is tested against it, so near surfaces show through far ones only faintly.
void drawObjects(float t) {
    enableBlending();
    gl.Enable(GL_DEPTH_TEST);
    gl.UseProgram(scene.objectProgram->program());
    gl.Uniform1f(scene.objectTimeLocation, t);
    gl.BindVertexArray(scene.spikedCube.vertexArray);
    gl.DepthFunc(GL_ALWAYS);
    gl.Uniform1f(scene.objectAlphaLocation, 0.375f);
    gl.DrawArraysInstanced(GL_PATCHES, 0, 72, 3);
    gl.DepthFunc(GL_LEQUAL);
    gl.Uniform1f(scene.objectAlphaLocation, 0.6f);
    gl.DrawArraysInstanced(GL_PATCHES, 0, 72, 3);
    gl.BindVertexArray(0);
    gl.Disable(GL_DEPTH_TEST);
    gl.Disable(GL_BLEND);
}

// Blending is off, so this overwrites every window pixel; the window is never cleared.
void copyWithScanLines() {
    const Framebuffer& target = *scene.framebuffer;
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.UseProgram(scene.screenProgram->program());
    gl.ActiveTexture(GL_TEXTURE0);
    gl.BindTexture(GL_TEXTURE_2D, target.colour->id);
    drawStrip(target.quad, 0, target.quadVertexCount());
}

void drawLogo() {
    enableBlending();
    gl.UseProgram(scene.spriteProgram->program());
    gl.ActiveTexture(GL_TEXTURE0);
    gl.BindTexture(GL_TEXTURE_2D, scene.logo->id);
    drawStrip(scene.logoQuad, 0, 4);
    gl.Disable(GL_BLEND);
}

// All visible glyphs in one upload and one draw: triangles blend in order, so the picture is
// the one a draw per glyph gives.
void drawScroller(float t) {
    // Kept from frame to frame, so drawing allocates nothing once it has grown.
    static std::vector<float> vertices;
    const BitmapFont& font = *scene.font;
    const GlyphSheetMetrics sheet{font.cellWidth,   font.cellHeight,     font.glyphWidth,
                                  font.glyphHeight, font.texture->width, font.texture->height};
    gl.UseProgram(scene.spriteProgram->program());
    buildScrollerVertices(vertices, assets.scrollerText, t, frameState.viewportWidth, sheet);
    if (vertices.empty()) {
        return;
    }
    enableBlending();
    gl.ActiveTexture(GL_TEXTURE0);
    gl.BindTexture(GL_TEXTURE_2D, font.texture->id);
    gl.BindVertexArray(font.mesh.vertexArray);
    gl.BindBuffer(GL_ARRAY_BUFFER, font.mesh.buffer);
    gl.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                  vertices.data(), GL_STREAM_DRAW);
    gl.DrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 4));
    gl.BindVertexArray(0);
    gl.Disable(GL_BLEND);
}

void drawBars(float t) {
    gl.UseProgram(scene.barProgram->program());
    gl.Uniform1f(scene.barTimeLocation, t);
    gl.BindVertexArray(scene.bars.vertexArray);
    gl.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    gl.DrawArrays(GL_TRIANGLE_STRIP, 4, 4);
    gl.BindVertexArray(0);
}

} // namespace

void renderFrame() {
    const float t = frameState.sceneTime;
    gl.BindFramebuffer(GL_FRAMEBUFFER, scene.framebuffer->framebuffer);
    gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawBackground();
    drawStars(t);
    drawObjects(t);
    copyWithScanLines();
    drawLogo();
    if (frameState.currentPage != nullptr) {
        drawTextPage(*frameState.currentPage, frameState.pageXOffset, t);
    }
    drawScroller(t);
    drawBars(t);
}

} // namespace omra
