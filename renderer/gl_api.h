// OpenGL 1.1 and GLU declarations without the operating system's headers: on Windows the GL
// headers only need the calling convention and import macros, which are given here.
#pragma once

#if defined(_WIN32) && !defined(APIENTRY)
#define APIENTRY __stdcall
#define VELLORA_DEFINED_APIENTRY
#endif
#if defined(_WIN32) && !defined(WINGDIAPI)
#define WINGDIAPI __declspec(dllimport)
#define VELLORA_DEFINED_WINGDIAPI
#endif
#if defined(_WIN32) && !defined(CALLBACK)
#define CALLBACK __stdcall
#define VELLORA_DEFINED_CALLBACK
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef VELLORA_DEFINED_APIENTRY
#undef APIENTRY
#undef VELLORA_DEFINED_APIENTRY
#endif
#ifdef VELLORA_DEFINED_WINGDIAPI
#undef WINGDIAPI
#undef VELLORA_DEFINED_WINGDIAPI
#endif
#ifdef VELLORA_DEFINED_CALLBACK
#undef CALLBACK
#undef VELLORA_DEFINED_CALLBACK
#endif
