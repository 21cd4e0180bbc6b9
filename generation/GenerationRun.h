// The run behind "Gerar": COO mode, date-range mode and daily mode.
//
// It reads the operator's choices from the window's controls and reports through the
// progress bar and message boxes. A foreseen failure shows its box and ends with a
// SilentAbort; anything else (a text that is not a number, a missing work file, a failed day)
// is a PlatformError that ends the run on the spot.
#pragma once

#include <functional>

#include "generation/FiscalPrinter.h"
#include "runtime/Text.h"
#include "ui/Controls.h"

namespace kalora::gen {

// The controls the run reads and drives.
struct RunControls {
  ui::Form& form;
  ui::RadioButton& rdbCOO;
  ui::RadioButton& rdbData;
  ui::CheckBox& CBDiario;
  ui::Edit& txtCOOInicial;
  ui::Edit& txtCOOFinal;
  ui::DatePicker& dtpDataInicial;
  ui::DatePicker& dtpDataFinal;
  ui::Edit& txtRazao;
  ui::Edit& txtEndereco;
  ui::ProgressBar& ProgressBar1;
};

struct RunContext {
  RunControls controls;
  FiscalPrinter& printer;
  // Writes the finished copy of one day's file ("dd/mm/yyyy").
  std::function<void(const Text& dia)> adiciona_cpf;
  // The application's title, the title of its plain boxes.
  Text title;
  // The company's name and address were read from the store at start-up.
  bool company_known = false;
};

void RunGeneration(RunContext& context);

}  // namespace kalora::gen
