#pragma once

#include "render/bitmap_font.h"
#include "render/framebuffer.h"
#include "render/shader.h"
#include "render/star_field.h"
#include "render/text_mesh.h"
#include "render/texture2d.h"
#include "render/vertex_array.h"

#include <memory>

namespace omra {

// Every GPU object of the scene, built once by scene set-up and drawn by the frame routine.
struct Scene {
    VertexArray backgroundQuad;
    VertexArray bars;
    VertexArray spikedCube;
    VertexArray logoQuad;

    std::unique_ptr<Shader> backgroundProgram;
    GLint backgroundResLocation = -1;
    std::unique_ptr<Shader> barProgram;
    GLint barTimeLocation = -1;
    GLint barResLocation = -1;
    std::unique_ptr<Shader> objectProgram;
    GLint objectProjectionLocation = -1;
    GLint objectTimeLocation = -1;
    GLint objectAlphaLocation = -1;
    std::unique_ptr<Shader> spriteProgram;
    GLint spriteProjectionLocation = -1;
    std::unique_ptr<Shader> screenProgram;
    std::unique_ptr<Shader> textProgram;
    GLint textTimeLocation = -1;

    std::unique_ptr<Texture2D> logo;
    std::unique_ptr<BitmapFont> font;
    std::unique_ptr<TextMesh> textMesh;
    std::unique_ptr<Framebuffer> framebuffer;
    std::unique_ptr<StarField> starField;
};

// Emptied by releaseScene while the context is current, so its destructor at exit, after the
// context and its library are gone, has nothing left to release.
extern Scene scene;

// Releases every GPU object of the scene in the shutdown order: the four vertex-data pairs, the
// scroller font, the text mesh and text program, the logo, the star field, the off-screen
// target, then the screen, sprite, object, bar and background programs. Objects never built are
// skipped.
void releaseScene();

} // namespace omra
