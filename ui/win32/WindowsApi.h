// <windows.h> for the Win32 backend, without the macros that clash with the window library's
// own names (ui::MessageBox): the W functions are called by their full names.
#pragma once

#include <windows.h>

#include <commctrl.h>

#undef MessageBox
