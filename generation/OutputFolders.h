// Where the program's files go. Fixed: a shop's support staff knows these places.
#pragma once

namespace kalora::gen {

inline constexpr const char* kVarnexPdvFolder = "C:\\Varnex\\PDV";
inline constexpr const char* kOutputFolder = "C:\\Varnex\\PDV\\NFP\\";
inline constexpr const char* kFinalFolder = "C:\\Varnex\\PDV\\NFP\\Final\\";

// Work files, in the current folder, alive only during a run (in their clean-up order).
inline constexpr const char* kDownloadFile = "Download.MFD";
inline constexpr const char* kMirrorFile = "Espelho.TXT";
inline constexpr const char* kMirrorWithoutBlankLinesFile = "EspelhoTMP.TXT";
inline constexpr const char* kRecordsFile = "CTP1704.txt";

}  // namespace kalora::gen
