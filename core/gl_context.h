#pragma once

// What scene set-up and shutdown need from the platform's OpenGL context, which the front end made
// current on the main thread before start-up.
namespace omra {

// Asks for one display refresh per buffer swap where the driver offers it.
void requestSwapIntervalOne();

// The address of the current context's entry point of that name ("glClear"), or null when the
// platform has none; the lookup behind the OpenGL function table.
void* lookUpGlEntryPoint(const char* name);

// Deletes the rendering context, which is current; no context is current afterwards, so no
// OpenGL call may follow.
void deleteRenderingContext();

// Lets go of the OpenGL library, the last thing shutdown does with OpenGL.
void releaseGlLibrary();

} // namespace omra
