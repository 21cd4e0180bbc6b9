#include <windows.h>
#include <shellapi.h>

#include "os/Console.h"
#include "runtime/Cp1252.h"

namespace kalora::os {

namespace {

HANDLE Handle(ConsoleStream stream) {
  return GetStdHandle(stream == ConsoleStream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

// A console gets UTF-16; a file or pipe (a scheduled job's log) gets the Windows-1252 bytes.
void WriteRaw(ConsoleStream stream, const Text& text) {
  HANDLE handle = Handle(stream);
  DWORD written = 0;
  if (IsConsole(handle)) {
    std::u16string wide = Cp1252ToUtf16(text);
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

void WriteUtf8(ConsoleStream stream, std::string_view utf8) {
  HANDLE handle = Handle(stream);
  DWORD written = 0;
  if (!IsConsole(handle)) {
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    return;
  }
  std::u16string wide;
  for (size_t pos = 0; pos < utf8.size();) {
    char32_t cp = DecodeUtf8(utf8, pos);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      wide += static_cast<char16_t>(0xD800 + (cp >> 10));
      wide += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      wide += static_cast<char16_t>(cp);
    }
  }
  WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

void WriteLine(ConsoleStream stream, const Text& line) { WriteRaw(stream, line + "\r\n"); }

bool IsTerminal(ConsoleStream stream) { return IsConsole(Handle(stream)); }

std::vector<Text> CommandLineArguments(int, char**) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<Text> arguments;
  for (int i = 1; i < count; ++i) {
    arguments.push_back(Utf16ToCp1252(reinterpret_cast<const char16_t*>(wide[i])));
  }
  LocalFree(wide);
  return arguments;
}

}  // namespace kalora::os
