#pragma once

#include "core/gl_api.h"

#include <string>
#include <vector>

// Records every OpenGL call the intro makes through its function table, in order, together with
// the object names each creating or deleting call handles, and events of the test's own.
namespace omra::gl_call_recorder {

struct Call {
    // "glGenBuffers", or an event's name.
    std::string name;
    // Names made by glGen*/glCreate*, or given to glDelete*; empty for other calls.
    std::vector<GLuint> objects;
};

// From now on the headless context hands the function table recording stand-ins for its entry
// points, and its context events are recorded too. Takes effect at the next table load.
void start();

std::vector<Call>& calls();

// Adds an event of the test's own to the record, between the calls around it.
void note(const std::string& event);

// The kind of object a creating or deleting call handles ("Buffer", "VertexArray", "Texture",
// "Framebuffer", "Renderbuffer", "Program", "Shader"); empty for any other call.
std::string createdKind(const Call& call);
std::string deletedKind(const Call& call);

} // namespace omra::gl_call_recorder
