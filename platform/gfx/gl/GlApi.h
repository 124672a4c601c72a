// OpenGL 2.1 and the few later entry points the renderer relies on (framebuffer objects, blits,
// BGRA vertex colours), as the system's GL library exports them.
#pragma once
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
