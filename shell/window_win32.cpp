#include "shell/window_win32.h"

#include "core/gl_context.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace omra {

namespace {

using SwapIntervalEXT = BOOL(WINAPI*)(int interval);
using ChoosePixelFormatARB = BOOL(WINAPI*)(HDC dc, const int* intAttributes,
                                           const FLOAT* floatAttributes, UINT maxFormats,
                                           int* formats, UINT* formatCount);
using CreateContextAttribsARB = HGLRC(WINAPI*)(HDC dc, HGLRC shareContext, const int* attributes);

// WGL_ARB_pixel_format, WGL_ARB_create_context and WGL_ARB_create_context_profile tokens.
constexpr int WGL_DRAW_TO_WINDOW_ARB = 0x2001;
constexpr int WGL_ACCELERATION_ARB = 0x2003;
constexpr int WGL_SWAP_METHOD_ARB = 0x2007;
constexpr int WGL_SUPPORT_OPENGL_ARB = 0x2010;
constexpr int WGL_DOUBLE_BUFFER_ARB = 0x2011;
constexpr int WGL_PIXEL_TYPE_ARB = 0x2013;
constexpr int WGL_COLOR_BITS_ARB = 0x2014;
constexpr int WGL_ALPHA_BITS_ARB = 0x201B;
constexpr int WGL_DEPTH_BITS_ARB = 0x2022;
constexpr int WGL_STENCIL_BITS_ARB = 0x2023;
constexpr int WGL_FULL_ACCELERATION_ARB = 0x2027;
constexpr int WGL_SWAP_EXCHANGE_ARB = 0x2028;
constexpr int WGL_TYPE_RGBA_ARB = 0x202B;
constexpr int WGL_CONTEXT_MAJOR_VERSION_ARB = 0x2091;
constexpr int WGL_CONTEXT_MINOR_VERSION_ARB = 0x2092;
constexpr int WGL_CONTEXT_PROFILE_MASK_ARB = 0x9126;
constexpr int WGL_CONTEXT_CORE_PROFILE_BIT_ARB = 0x0001;

constexpr int MainWindowWidth = 960;
constexpr int MainWindowHeight = 540;

// clang-format off
const int pixelFormatAttributes[] = {
    WGL_DRAW_TO_WINDOW_ARB, 1,
    WGL_ACCELERATION_ARB,   WGL_FULL_ACCELERATION_ARB,
    WGL_SWAP_METHOD_ARB,    WGL_SWAP_EXCHANGE_ARB,
    WGL_SUPPORT_OPENGL_ARB, 1,
    WGL_DOUBLE_BUFFER_ARB,  1,
    WGL_PIXEL_TYPE_ARB,     WGL_TYPE_RGBA_ARB,
    WGL_COLOR_BITS_ARB,     24,
    WGL_ALPHA_BITS_ARB,     8,
    WGL_DEPTH_BITS_ARB,     24,
    WGL_STENCIL_BITS_ARB,   0,
    0,
};

const int contextAttributes[] = {
    WGL_CONTEXT_MAJOR_VERSION_ARB, 4,
    WGL_CONTEXT_MINOR_VERSION_ARB, 0,
    WGL_CONTEXT_PROFILE_MASK_ARB,  WGL_CONTEXT_CORE_PROFILE_BIT_ARB,
    0,
};
// clang-format on

// A zero-terminated attribute list without one attribute's pair.
std::vector<int> withoutAttribute(const int* attributes, int dropped) {
    std::vector<int> kept;
    for (; attributes[0] != 0; attributes += 2) {
        if (attributes[0] != dropped) {
            kept.insert(kept.end(), {attributes[0], attributes[1]});
        }
    }
    kept.push_back(0);
    return kept;
}

struct ShellState {
    HDC windowDC = nullptr;
    HGLRC renderingContext = nullptr;
    SwapIntervalEXT swapInterval = nullptr;
    ChoosePixelFormatARB choosePixelFormat = nullptr;
    CreateContextAttribsARB createContextAttribs = nullptr;
    // Why WM_CREATE could not build the context; reported once CreateWindowExA has returned,
    // since an exception must not cross the window procedure.
    const char* contextFailure = nullptr;
};

ShellState shell;

template <typename Function>
Function lookUpWgl(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(wglGetProcAddress(name)));
}

PIXELFORMATDESCRIPTOR legacyPixelFormat() {
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    descriptor.cAlphaBits = 8;
    descriptor.cDepthBits = 24;
    descriptor.cStencilBits = 0;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

void loadWglExtensions(HINSTANCE instance) {
    WNDCLASSA bootstrapClass{};
    bootstrapClass.style = CS_OWNDC;
    bootstrapClass.lpfnWndProc = DefWindowProcA;
    bootstrapClass.hInstance = instance;
    bootstrapClass.lpszClassName = "WGL";
    RegisterClassA(&bootstrapClass);

    HWND window = CreateWindowExA(WS_EX_APPWINDOW, "WGL", "WGL", WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, nullptr, instance, nullptr);
    HDC dc = GetDC(window);
    const PIXELFORMATDESCRIPTOR descriptor = legacyPixelFormat();
    SetPixelFormat(dc, ChoosePixelFormat(dc, &descriptor), &descriptor);
    HGLRC legacyContext = wglCreateContext(dc);
    wglMakeCurrent(dc, legacyContext);

    shell.swapInterval = lookUpWgl<SwapIntervalEXT>("wglSwapIntervalEXT");
    lookUpWgl<PROC>("wglGetPixelFormatAttribivARB");
    shell.choosePixelFormat = lookUpWgl<ChoosePixelFormatARB>("wglChoosePixelFormatARB");
    shell.createContextAttribs = lookUpWgl<CreateContextAttribsARB>("wglCreateContextAttribsARB");

    wglDeleteContext(legacyContext);
    DestroyWindow(window);
    UnregisterClassA("WGL", instance);

    if (shell.choosePixelFormat == nullptr) {
        throw std::runtime_error("wglChoosePixelFormatARB is not available");
    }
    if (shell.createContextAttribs == nullptr) {
        throw std::runtime_error("wglCreateContextAttribsARB is not available");
    }
}

int choosePixelFormat(HDC dc) {
    int format = 0;
    UINT count = 0;
    shell.choosePixelFormat(dc, pixelFormatAttributes, nullptr, 1, &format, &count);
    if (count == 0) {
        // Mesa's WGL (and so Wine on Mesa) matches no format when a swap method is asked for.
        const std::vector<int> anySwapMethod =
            withoutAttribute(pixelFormatAttributes, WGL_SWAP_METHOD_ARB);
        shell.choosePixelFormat(dc, anySwapMethod.data(), nullptr, 1, &format, &count);
    }
    return count == 0 ? 0 : format;
}

LRESULT buildRenderingContext(HWND window) {
    shell.windowDC = GetDC(window);
    const int format = choosePixelFormat(shell.windowDC);
    if (format == 0) {
        shell.contextFailure = "wglChoosePixelFormatARB found no pixel format";
        return -1;
    }
    PIXELFORMATDESCRIPTOR descriptor;
    DescribePixelFormat(shell.windowDC, format, sizeof(PIXELFORMATDESCRIPTOR), &descriptor);
    SetPixelFormat(shell.windowDC, format, &descriptor);
    shell.renderingContext = shell.createContextAttribs(shell.windowDC, nullptr, contextAttributes);
    if (shell.renderingContext == nullptr) {
        shell.contextFailure = "wglCreateContextAttribsARB made no OpenGL 4.0 core context";
        return -1;
    }
    wglMakeCurrent(shell.windowDC, shell.renderingContext);
    return 0;
}

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return buildRenderingContext(window);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void openMainWindow(HINSTANCE instance) {
    loadWglExtensions(instance);

    WNDCLASSA mainClass{};
    mainClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    mainClass.lpfnWndProc = mainWindowProcedure;
    mainClass.hInstance = instance;
    mainClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    mainClass.lpszClassName = "WC";
    RegisterClassA(&mainClass);

    // Centred by the outer size; a screen smaller than the window gives a negative position.
    const int x = (GetSystemMetrics(SM_CXSCREEN) - MainWindowWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - MainWindowHeight) / 2;
    CreateWindowExA(WS_EX_APPWINDOW, "WC", "Omra",
                    WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU |
                        WS_MINIMIZEBOX,
                    x, y, MainWindowWidth, MainWindowHeight, nullptr, nullptr, instance, nullptr);
    if (shell.contextFailure != nullptr) {
        throw std::runtime_error(shell.contextFailure);
    }
}

HDC mainWindowDC() {
    return shell.windowDC;
}

void deleteRenderingContext() {
    wglDeleteContext(shell.renderingContext);
}

void requestSwapIntervalOne() {
    if (shell.swapInterval != nullptr) {
        shell.swapInterval(1);
    }
}

} // namespace omra
