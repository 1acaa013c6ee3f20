#include "render/shader.h"

#include "core/gl_function_table.h"

#include <stdexcept>
#include <vector>

namespace omra {

namespace {

// The info log of a shader or program, without its terminating NUL; empty when there is none.
template <typename GetParameter, typename GetLog>
std::string infoLog(GLuint object, GetParameter getParameter, GetLog getLog) {
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) {
        return {};
    }
    std::string log(static_cast<std::size_t>(length), '\0');
    GLsizei written = 0;
    getLog(object, length, &written, log.data());
    log.resize(static_cast<std::size_t>(written));
    return log;
}

} // namespace

Shader::Shader(std::span<const ShaderSource> sources) : program_(gl.CreateProgram()) {
    if (!make(sources)) {
        releaseAttachedShaders();
        gl.DeleteProgram(program_);
        throw std::runtime_error("Shader::make(): " + log_);
    }
}

Shader::~Shader() {
    releaseAttachedShaders();
    gl.DeleteProgram(program_);
}

GLint Shader::uniformLocation(const char* name) const {
    return gl.GetUniformLocation(program_, name);
}

bool Shader::make(std::span<const ShaderSource> sources) {
    for (const ShaderSource& entry : sources) {
        const GLuint shader = gl.CreateShader(entry.stage);
        if (shader == 0) {
            return false;
        }
        const GLchar* text = entry.source.data();
        const auto length = static_cast<GLint>(entry.source.size());
        gl.ShaderSource(shader, 1, &text, &length);
        gl.CompileShader(shader);
        GLint compiled = GL_FALSE;
        gl.GetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
        if (compiled == GL_FALSE) {
            log_ = infoLog(shader, gl.GetShaderiv, gl.GetShaderInfoLog);
            gl.DeleteShader(shader);
            return false;
        }
        gl.AttachShader(program_, shader);
    }
    gl.LinkProgram(program_);
    GLint linked = GL_FALSE;
    gl.GetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (linked == GL_FALSE) {
        log_ = infoLog(program_, gl.GetProgramiv, gl.GetProgramInfoLog);
        return false;
    }
    releaseAttachedShaders();
    return true;
}

void Shader::releaseAttachedShaders() {
    GLint count = 0;
    gl.GetProgramiv(program_, GL_ATTACHED_SHADERS, &count);
    if (count < 1) {
        return;
    }
    std::vector<GLuint> shaders(static_cast<std::size_t>(count));
    gl.GetAttachedShaders(program_, count, nullptr, shaders.data());
    for (const GLuint shader : shaders) {
        gl.DetachShader(program_, shader);
        gl.DeleteShader(shader);
    }
}

} // namespace omra
