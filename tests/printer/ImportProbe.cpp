// Built, never run: a program bound to BEMAFI32.DLL, whose import table a test reads.
#include "printer/Bemafi32.h"

int main() { return Bematech_FI_DownloadMFD("Download.MFD", "2", "1", "1", "1") == 1 ? 0 : 1; }
