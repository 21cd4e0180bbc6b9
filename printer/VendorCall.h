// The calling convention of the printer maker's functions: the system's standard one
// (arguments pushed right to left, the callee pops them), which only i686 Windows tells apart.
#pragma once

#if defined(_WIN32) && !defined(_WIN64)
#define KALORA_VENDOR_CALL __stdcall
#else
#define KALORA_VENDOR_CALL
#endif
