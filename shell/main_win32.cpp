#include "assets/assets.h"
#include "core/frame_advance.h"
#include "core/performance_counter.h"
#include "player/wave_device_waveout.h"
#include "render/frame.h"
#include "shell/shutdown.h"
#include "shell/startup.h"
#include "shell/window_win32.h"

#include <windows.h>

namespace {

// One message per pass; a frame only when the queue is empty. Returns the WM_QUIT wParam.
WPARAM runMainLoop() {
    using namespace omra;
    MSG message{};
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            advanceFrame(frameState, frameClock, performanceCounter(), assets.pages);
            renderFrame();
            SwapBuffers(mainWindowDC());
        }
        if (message.message == WM_QUIT) {
            return message.wParam;
        }
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
    omra::openMainWindow(instance);
    omra::setWaveDevice(&omra::waveOutDevice());
    omra::runStartup();
    const WPARAM exitCode = runMainLoop();
    omra::runShutdown();
    return static_cast<int>(exitCode);
}
