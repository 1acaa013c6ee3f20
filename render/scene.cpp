#include "render/scene.h"

#include "core/gl_function_table.h"

namespace omra {

Scene scene;

namespace {

// Buffer first, then the vertex array that reads it.
void releaseVertexData(VertexArray& data) {
    gl.DeleteBuffers(1, &data.buffer);
    gl.DeleteVertexArrays(1, &data.vertexArray);
    data = {};
}

} // namespace

void releaseScene() {
    releaseVertexData(scene.logoQuad);
    releaseVertexData(scene.spikedCube);
    releaseVertexData(scene.bars);
    releaseVertexData(scene.backgroundQuad);
    // Each wrapper releases its GPU names in its destructor; resetting an empty one does nothing.
    scene.font.reset();
    scene.textMesh.reset();
    scene.textProgram.reset();
    scene.logo.reset();
    scene.starField.reset();
    scene.framebuffer.reset();
    scene.screenProgram.reset();
    scene.spriteProgram.reset();
    scene.objectProgram.reset();
    scene.barProgram.reset();
    scene.backgroundProgram.reset();
}

} // namespace omra
