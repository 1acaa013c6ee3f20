# The Debian 12 packages Omra needs: the one list the README's commands install from.

# Building and running the native intro.
OMRA_BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    libsdl2-dev libstb-dev libglm-dev
    # omra-capture's encoders and muxers, and the EGL it renders headless through.
    libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libegl-dev libegl-mesa0
)
# Running it where no display is available: a virtual display, Mesa's software OpenGL and a
# screenshot tool.
OMRA_HEADLESS_PACKAGES=(
    xvfb xauth x11-utils xdotool imagemagick libgl1-mesa-dri
)
# Testing: unit tests, rendering without a display (EGL on Mesa), the generators they check
# committed files against (FreeType, the font the glyph sheet is rendered from, and the font the
# Linux glyph table is cut from), the reference GLSL compiler the shaders are checked with, a
# window manager for the close-button tests, the Windows cross builds (the 32-bit product and its
# 64-bit stand-in) and their runs under Wine, and a sound server whose recording the Wine run is
# checked by.
OMRA_TEST_PACKAGES=(
    googletest libgtest-dev libopengl-dev openbox wmctrl glslang-tools
    libfreetype-dev fonts-dejavu-core xfonts-base pcf2bdf
    pulseaudio pulseaudio-utils python3
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 fonts-wine
)
# Fuzzing (scripts/fuzz.sh, also run by the tests): clang with libFuzzer and the sanitizer
# runtimes, and llvm-symbolizer for the reports' stack traces.
OMRA_FUZZ_PACKAGES=(
    clang-14 libclang-rt-14-dev llvm-14
)
# Wine's 32-bit side (needs the i386 architecture).
OMRA_I386_PACKAGES=(
    wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
    libxrandr2:i386 libxrender1:i386 libxi6:i386 libxcursor1:i386 libxcomposite1:i386
    libxinerama1:i386 libxxf86vm1:i386 libxfixes3:i386 libpulse0:i386
)
# The release (scripts/make-release.sh, also made and checked by the tests): the Windows cross
# build, the man pages, the Debian package's dependencies and its check.
OMRA_RELEASE_PACKAGES=(
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 help2man dpkg-dev file lintian unzip
)
# The benchmarks (scripts/benchmarks.sh): the reference player the player's speed is measured
# beside, linked into the benchmark programs only, and the compiler of the 32-bit program that
# measures it as the Windows build's peer.
OMRA_BENCH_PACKAGES=(
    libxmp-dev g++-multilib
)
# The reference player for 32-bit x86 (needs the i386 architecture); the amd64 headers serve it.
OMRA_BENCH_I386_PACKAGES=(
    libxmp4:i386
)
# The module corpus check (scripts/module-corpus.sh): a reference player whose idea of each
# module's length the table shows beside the intro player's. The game packages it takes the
# modules from are downloaded, not installed.
OMRA_CORPUS_PACKAGES=(
    xmp
)
OMRA_CORPUS_MODULE_PACKAGES=(
    bomberclone-data ceferino-data ri-li-data vodovod
)
