// The binding to the printer maker's MFD libraries, "BemaMFD.dll" (first model family) and
// "BemaMFD2.dll" (second family). One library is loaded at a time; the binding follows the
// model chosen in the window lazily, on the next call, and looks each entry point up on first
// use. A missing library or entry point makes a call answer -1 without calling anything.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "os/Library.h"
#include "printer/VendorCall.h"
#include "runtime/Text.h"

namespace kalora::printer {

inline constexpr char kBemaMFD[] = "BemaMFD.dll";
inline constexpr char kBemaMFD2[] = "BemaMFD2.dll";
inline constexpr char kGeraTxtPorCOO[] = "BemaGeraTxtPorCOO";
inline constexpr char kGeraRegistrosTipoE[] = "BemaGeraRegistrosTipoE";
inline constexpr size_t kArgumentosTipoE = 21;

// The vendor entry points. Every text is a NUL-terminated 8-bit string or a null pointer.
using TBemaGeraTxtPorCOO = int32_t(KALORA_VENDOR_CALL*)(const char*, const char*, int32_t,
                                                        int32_t, int32_t);
using TBemaGeraRegistrosTipoE = int32_t(KALORA_VENDOR_CALL*)(
    const char*, const char*, const char*, const char*, const char*, const char*, const char*,
    const char*, const char*, const char*, const char*, const char*, const char*, const char*,
    const char*, const char*, const char*, const char*, const char*, const char*, const char*);

// The 21 texts of GeraRegistrosTipoE; an empty one (every one not given) goes as null.
using ArgumentosTipoE = std::array<Text, kArgumentosTipoE>;

// Shows a plain message box (application title, no icon, one "OK") with this text. The
// binding exists before the window does, so the shell hands it one once it can show boxes;
// until then the text goes to stderr.
using PlainBox = std::function<void(const Text&)>;

class TDLLBemaMFD {
 public:
  // Create: loads "BemaMFD.dll"; both entry points start null, the first family is chosen.
  explicit TDLLBemaMFD(os::LibraryLoader& loader = os::SystemLibraryLoader());
  // Destroy: releases the loaded library.
  ~TDLLBemaMFD();
  TDLLBemaMFD(const TDLLBemaMFD&) = delete;
  TDLLBemaMFD& operator=(const TDLLBemaMFD&) = delete;

  // Loads nome by bare file name; FCarregada tells whether a handle came back.
  void CarregaDLL(const Text& nome);
  // Drops the cached entry points and releases the library. A failed release shows the
  // system's error number, alone, in a plain box, and leaves the binding as it was.
  void LiberaDLL();
  // Brings the loaded library in line with FUsarMFD2; answers whether one is loaded.
  bool SelecionaDLL();

  int32_t GeraTxtPorCOO(const Text& arquivo_mfd, const Text& arquivo_txt, int32_t p3,
                        int32_t p4, int32_t p5);
  int32_t GeraRegistrosTipoE(const ArgumentosTipoE& p);

  void SetPlainBox(PlainBox box) { plain_box_ = std::move(box); }

  // The fields, as the window and the generation run know them.
  bool FCarregada = false;    // the last load attempt produced a handle
  bool FUsandoMFD2 = false;   // the library loaded (or tried) last is "BemaMFD2.dll"
  os::LibraryHandle FHandle = nullptr;
  TBemaGeraRegistrosTipoE FGeraRegistrosTipoE = nullptr;
  TBemaGeraTxtPorCOO FGeraTxtPorCOO = nullptr;
  bool FUsarMFD2 = false;     // the model chosen in the window is of the second family

 private:
  // The cached entry point, looked up in FHandle when it is still null.
  template <typename Function>
  Function EntryPoint(Function& cached, const char* name);

  os::LibraryLoader& loader_;
  PlainBox plain_box_;
};

// The process-wide binding; null outside the lifetime of UnitBemaMFD.
extern TDLLBemaMFD* DLLBemaMFD;

// The unit's initialisation and finalisation: creates DLLBemaMFD and destroys it. main holds
// one for its whole run, made before the application object and the window, so the binding
// outlives the window. It hardens the library search first, so that "BemaMFD.dll" is never
// taken from the current folder.
class UnitBemaMFD {
 public:
  explicit UnitBemaMFD(os::LibraryLoader& loader = os::SystemLibraryLoader());
  ~UnitBemaMFD();
  UnitBemaMFD(const UnitBemaMFD&) = delete;
  UnitBemaMFD& operator=(const UnitBemaMFD&) = delete;

 private:
  std::unique_ptr<TDLLBemaMFD> instance_;
};

}  // namespace kalora::printer
