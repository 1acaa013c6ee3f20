#pragma once

#include "core/gl_api.h"

namespace omra {

// Every OpenGL entry point the intro calls, in lookup order: the one list from which the table,
// its loader and the report of a missing entry point are all made.
#define OMRA_GL_FUNCTIONS(X)                                                                       \
    X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                                                       \
    X(PFNGLATTACHSHADERPROC, AttachShader)                                                         \
    X(PFNGLBINDBUFFERPROC, BindBuffer)                                                             \
    X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                                                   \
    X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)                                                 \
    X(PFNGLBINDTEXTUREPROC, BindTexture)                                                           \
    X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                                                   \
    X(PFNGLBLENDFUNCPROC, BlendFunc)                                                               \
    X(PFNGLBUFFERDATAPROC, BufferData)                                                             \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)                                     \
    X(PFNGLCLEARPROC, Clear)                                                                       \
    X(PFNGLCLEARCOLORPROC, ClearColor)                                                             \
    X(PFNGLCOMPILESHADERPROC, CompileShader)                                                       \
    X(PFNGLCREATEPROGRAMPROC, CreateProgram)                                                       \
    X(PFNGLCREATESHADERPROC, CreateShader)                                                         \
    X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                                                       \
    X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)                                             \
    X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                                                       \
    X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)                                           \
    X(PFNGLDELETESHADERPROC, DeleteShader)                                                         \
    X(PFNGLDELETETEXTURESPROC, DeleteTextures)                                                     \
    X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                                             \
    X(PFNGLDEPTHFUNCPROC, DepthFunc)                                                               \
    X(PFNGLDETACHSHADERPROC, DetachShader)                                                         \
    X(PFNGLDISABLEPROC, Disable)                                                                   \
    X(PFNGLDRAWARRAYSPROC, DrawArrays)                                                             \
    X(PFNGLDRAWARRAYSINSTANCEDPROC, DrawArraysInstanced)                                           \
    X(PFNGLENABLEPROC, Enable)                                                                     \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)                                   \
    X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer)                                   \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)                                         \
    X(PFNGLGENBUFFERSPROC, GenBuffers)                                                             \
    X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                                                   \
    X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)                                                 \
    X(PFNGLGENTEXTURESPROC, GenTextures)                                                           \
    X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                                                   \
    X(PFNGLGETATTACHEDSHADERSPROC, GetAttachedShaders)                                             \
    X(PFNGLGETINTEGERVPROC, GetIntegerv)                                                           \
    X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                                               \
    X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                                                         \
    X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                                                 \
    X(PFNGLGETSHADERIVPROC, GetShaderiv)                                                           \
    X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                                             \
    X(PFNGLLINKPROGRAMPROC, LinkProgram)                                                           \
    X(PFNGLPATCHPARAMETERFVPROC, PatchParameterfv)                                                 \
    X(PFNGLPATCHPARAMETERIPROC, PatchParameteri)                                                   \
    X(PFNGLPIXELSTOREIPROC, PixelStorei)                                                           \
    X(PFNGLRENDERBUFFERSTORAGEPROC, RenderbufferStorage)                                           \
    X(PFNGLSHADERSOURCEPROC, ShaderSource)                                                         \
    X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                                             \
    X(PFNGLTEXPARAMETERIPROC, TexParameteri)                                                       \
    X(PFNGLUNIFORM1FPROC, Uniform1f)                                                               \
    X(PFNGLUNIFORM2FVPROC, Uniform2fv)                                                             \
    X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                                                 \
    X(PFNGLUSEPROGRAMPROC, UseProgram)                                                             \
    X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)

// The process-wide OpenGL entry points: `gl.Clear(...)` calls glClear of the current context.
struct GlFunctionTable {
#define OMRA_GL_TABLE_ENTRY(type, name) type name = nullptr;
    OMRA_GL_FUNCTIONS(OMRA_GL_TABLE_ENTRY)
#undef OMRA_GL_TABLE_ENTRY
};

extern GlFunctionTable gl;

// The platform's way to find an entry point by its full name ("glClear"); null when it has none.
using GlEntryPointLookup = void* (*)(const char* name);

// Fills `gl` once, with a context current. Throws std::runtime_error naming the first entry
// point the lookup did not find, so a missing one stops the start rather than a later call.
void loadGlFunctionTable(GlEntryPointLookup lookUp);

} // namespace omra
