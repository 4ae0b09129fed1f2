// The Windows headers as the forms backend includes them. Every file of the backend includes
// this one instead of <windows.h>: the headers define MessageBox and CreateWindow as macros for
// their A and W functions, and the forms seam has methods of those names, so the macros are
// dropped here. The backend calls the W functions by their full names.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>
#include <commdlg.h>
#include <shellapi.h>

#undef MessageBox
#undef CreateWindow
