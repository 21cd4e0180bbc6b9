// "BEMAFI32.DLL", bound when the program is loaded: without it the system refuses to start
// the program. On Windows the program links an import library made at build time from
// BEMAFI32.def.in; on Linux it links the stand-in shared object BEMAFI32.so, found beside the
// program (rpath $ORIGIN).
#pragma once

#include "printer/VendorCall.h"

extern "C" {

// Downloads the printer's detail memory for a range into the file arquivo. tipo "2": the
// range is of COO numbers; tipo "1": of dates, written ddmmyyyy. The program always passes
// "1" as the fifth argument. Answers 1 on success.
int KALORA_VENDOR_CALL Bematech_FI_DownloadMFD(const char* arquivo, const char* tipo,
                                               const char* inicial, const char* final_,
                                               const char* quinto);
}
