#pragma once

#include "core/gl_api.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace omra {

// One stage of a program: its shader type and its complete GLSL text.
struct ShaderSource {
    GLenum stage;
    std::string_view source;
};

// A linked GLSL program built from its stages, vertex first and fragment last. A built program
// holds no shader objects.
class Shader {
public:
    // Throws std::runtime_error "Shader::make(): " followed by the compiler or linker log; the
    // program and any shaders attached so far are released first.
    explicit Shader(std::span<const ShaderSource> sources);
    Shader(std::initializer_list<ShaderSource> sources)
        : Shader(std::span<const ShaderSource>(sources.begin(), sources.size())) {}
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    GLuint program() const { return program_; }
    GLint uniformLocation(const char* name) const;

private:
    // Compiles and attaches each stage in order, then links. False, with the failing stage's or
    // the link's log, on the first failure; false with the log untouched when the driver gives
    // no shader object.
    bool make(std::span<const ShaderSource> sources);
    void releaseAttachedShaders();

    GLuint program_ = 0;
    std::string log_;
};

} // namespace omra
