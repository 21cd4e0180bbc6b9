#include "printer/UnitBemaMFD.h"

#include <cstdio>
#include <string>
#include <utility>

namespace kalora::printer {
namespace {

// The maker's functions take a null pointer, never an empty string, for a text left out.
const char* PChar(const Text& text) { return text.empty() ? nullptr : text.c_str(); }

void WriteToStderr(const Text& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

template <size_t... I>
int32_t CallTipoE(TBemaGeraRegistrosTipoE function, const ArgumentosTipoE& p,
                  std::index_sequence<I...>) {
  return function(PChar(p[I])...);
}

}  // namespace

TDLLBemaMFD* DLLBemaMFD = nullptr;

TDLLBemaMFD::TDLLBemaMFD(os::LibraryLoader& loader) : loader_(loader), plain_box_(WriteToStderr) {
  CarregaDLL(kBemaMFD);
  FUsandoMFD2 = false;
  FUsarMFD2 = false;
}

TDLLBemaMFD::~TDLLBemaMFD() { LiberaDLL(); }

void TDLLBemaMFD::CarregaDLL(const Text& nome) {
  try {
    FHandle = loader_.Load(nome);
    FCarregada = FHandle != nullptr;
  } catch (...) {
    // A loader that throws counts as a failed load; the previous handle is kept as it was.
    FCarregada = false;
  }
}

void TDLLBemaMFD::LiberaDLL() {
  if (!FCarregada) return;
  FGeraRegistrosTipoE = nullptr;
  FGeraTxtPorCOO = nullptr;
  if (loader_.Free(FHandle)) {
    // Nothing is loaded any more: a second release must not free the handle again.
    FCarregada = false;
    FHandle = nullptr;
    return;
  }
  plain_box_(std::to_string(loader_.LastError()));
}

bool TDLLBemaMFD::SelecionaDLL() {
  if (FUsarMFD2 != FUsandoMFD2) {
    LiberaDLL();
    CarregaDLL(FUsarMFD2 ? kBemaMFD2 : kBemaMFD);
    FUsandoMFD2 = FUsarMFD2;
  }
  return FCarregada;
}

template <typename Function>
Function TDLLBemaMFD::EntryPoint(Function& cached, const char* name) {
  if (cached == nullptr) {
    // Each entry point is cast to its real signature, the one the maker's libraries export.
    cached = reinterpret_cast<Function>(loader_.Symbol(FHandle, name));
  }
  return cached;
}

int32_t TDLLBemaMFD::GeraTxtPorCOO(const Text& arquivo_mfd, const Text& arquivo_txt,
                                   int32_t p3, int32_t p4, int32_t p5) {
  if (!SelecionaDLL()) return -1;
  TBemaGeraTxtPorCOO function = EntryPoint(FGeraTxtPorCOO, kGeraTxtPorCOO);
  if (function == nullptr) return -1;
  return function(PChar(arquivo_mfd), PChar(arquivo_txt), p3, p4, p5);
}

int32_t TDLLBemaMFD::GeraRegistrosTipoE(const ArgumentosTipoE& p) {
  if (!SelecionaDLL()) return -1;
  TBemaGeraRegistrosTipoE function = EntryPoint(FGeraRegistrosTipoE, kGeraRegistrosTipoE);
  if (function == nullptr) return -1;
  return CallTipoE(function, p, std::make_index_sequence<kArgumentosTipoE>{});
}

UnitBemaMFD::UnitBemaMFD(os::LibraryLoader& loader) {
  // Only systems older than Windows XP SP1 lack both ways of hardening; there the program
  // still runs as it always did.
  os::HardenLibrarySearch();
  instance_ = std::make_unique<TDLLBemaMFD>(loader);
  DLLBemaMFD = instance_.get();
}

UnitBemaMFD::~UnitBemaMFD() {
  DLLBemaMFD = nullptr;
  instance_.reset();
}

}  // namespace kalora::printer
