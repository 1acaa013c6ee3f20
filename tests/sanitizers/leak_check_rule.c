/* The rule every test process of the debug build runs under, preloaded by ctest (see
   tests/CMakeLists.txt) and inherited by every program a test starts.

   The OpenGL driver and the desktop libraries under it make one-time allocations that only
   their own globals point to, and how many depends on the processor they find. Two things keep
   them from deciding a result, while a leak of ours is still reported:
   - no library is ever unloaded, so at exit LeakSanitizer still sees the globals that point to
     the driver's memory, and still names the driver in the stack of anything left over;
   - a leak whose stack passes through one of the libraries below is the library's own. */

int dlclose(void* handle) {
    (void)handle;
    return 0;
}

/* This library is preloaded ahead of the sanitizer runtime, which would otherwise refuse to
   start. */
const char* __asan_default_options(void) {
    return "verify_asan_link_order=0";
}

/* Which suppressions matched is not news; the e2e tests also read a program's stderr. */
const char* __lsan_default_options(void) {
    return "print_suppressions=0";
}

const char* __lsan_default_suppressions(void) {
    return "leak:libLLVM\n"
           "leak:libgallium\n"
           "leak:_dri.so\n"
           "leak:libvulkan\n"
           "leak:libEGL_mesa\n"
           "leak:libGLX_mesa\n"
           "leak:libglapi\n"
           "leak:libEGL.so\n"
           "leak:libGLX.so\n"
           "leak:libGL.so\n"
           "leak:libGLdispatch\n"
           "leak:libOpenGL\n"
           "leak:libdbus-1.so\n"
           "leak:libX11.so\n";
}
