/* Preloaded into the native intro by scripts/benchmarks.sh: prints, once, how many milliseconds
   passed from the moment the process loaded this library (before main) to the return of its
   first buffer swap, the first frame on screen. Then lets the intro run on unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

static struct timespec loaded;

__attribute__((constructor)) static void noteLoadTime(void) {
    clock_gettime(CLOCK_MONOTONIC, &loaded);
}

typedef void SwapWindow(void* window);

void SDL_GL_SwapWindow(void* window) {
    static SwapWindow* swap;
    static int swapped;
    if (swap == NULL) {
        swap = (SwapWindow*)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    }
    swap(window);
    if (!swapped) {
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        fprintf(stderr, "first frame after %.1f ms\n",
                (double)(now.tv_sec - loaded.tv_sec) * 1e3 +
                    (double)(now.tv_nsec - loaded.tv_nsec) / 1e6);
        swapped = 1;
    }
}
