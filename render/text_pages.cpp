#include "render/text_pages.h"

#include "core/frame_state.h"
#include "core/gl_function_table.h"
#include "render/glyph_atlas.h"
#include "render/programs.h"
#include "render/projections.h"
#include "render/scene.h"
#include "render/text_page_layout.h"
#include "render/uniforms.h"

namespace omra {

namespace {

void createTextMesh() {
    const GlyphAtlasPixels pixels = drawGlyphAtlas();
    scene.textMesh = std::make_unique<TextMesh>(uploadGlyphAtlas(pixels.get()));
}

void setUpTextProgram(const glm::mat4& perspective) {
    scene.textProgram = buildTextProgram();
    const GLint resLocation = scene.textProgram->uniformLocation("res");
    scene.textTimeLocation = scene.textProgram->uniformLocation("time");
    const GLint projectionLocation = scene.textProgram->uniformLocation("projection");
    gl.UseProgram(scene.textProgram->program());
    writeResolution(resLocation);
    writeProjection(projectionLocation, perspective);
}

} // namespace

void setUpTextPages(std::int32_t viewportWidth, std::int32_t viewportHeight,
                    std::vector<TextPage>& pages) {
    const glm::mat4 perspective = scenePerspective(viewportWidth, viewportHeight);
    createTextMesh();
    for (TextPage& page : pages) {
        measurePage(page);
    }
    setUpTextProgram(perspective);
    frameState.currentPage = pages.empty() ? nullptr : &pages.front();
}

void drawTextPage(const TextPage& page, std::int32_t left, float sceneTime) {
    const TextMesh& text = *scene.textMesh;
    gl.UseProgram(scene.textProgram->program());
    gl.Uniform1f(scene.textTimeLocation, 2.0f * sceneTime);
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float top = pageTop(frameState.viewportHeight, page.lines);
    forEachPageGlyph(page.text, left, top, [&text](const GlyphQuad& quad) {
        gl.BindVertexArray(text.mesh.vertexArray);
        gl.BindBuffer(GL_ARRAY_BUFFER, text.mesh.buffer);
        gl.BufferData(GL_ARRAY_BUFFER, sizeof(quad), quad.data(), GL_STREAM_DRAW);
        gl.BindTexture(GL_TEXTURE_2D, text.atlas);
        gl.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    });
    gl.Disable(GL_BLEND);
}

} // namespace omra
