#include "shell/Console.h"

#include <iostream>
#include <optional>
#include <sstream>

#include "generation/CustomerDocument.h"
#include "os/Clock.h"
#include "os/Console.h"
#include "os/Files.h"
#include "printer/UnitBemaMFD.h"
#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "shell/Application.h"
#include "shell/VendorPrinter.h"
#include "shell/pasPrincipal.h"
#include "store/TableDump.h"
#include "ui/headless/HeadlessScreen.h"

namespace kalora::shell {

namespace {

using os::ConsoleStream;

constexpr const char* kUsage = R"(Uso:
  kalora-nfp gerar --coo INICIAL FINAL [--modelo 1|2]
  kalora-nfp gerar --periodo DD/MM/AAAA DD/MM/AAAA [--modelo 1|2]
  kalora-nfp gerar --diario [DD/MM/AAAA DD/MM/AAAA] [--modelo 1|2]
  kalora-nfp documento TEXTO
  kalora-nfp tabela ARQUIVO.DB
  kalora-nfp --help

gerar      faz o que o botão "Gerar" da janela faz, no modo escolhido:
             --coo      um arquivo para a faixa de COOs (até 6 caracteres cada)
             --periodo  um arquivo para o período
             --diario   um arquivo por dia, com nome e CPF/CNPJ dos clientes; sem datas,
                        o período padrão da janela (o mês anterior até o dia 15, o mês
                        corrente até ontem a partir do dia 16)
           --modelo 1: MP-2000 / MP-6000 TH FI (padrão); 2: MP-2100 / MP-3000 / MP-4000 /
           MP-6100 / MP-7000 TH FI
documento  mostra o que o arquivo final grava para o CPF/CNPJ do cliente
tabela     mostra a estrutura e os registros de uma tabela Paradox (CSV em UTF-8)

Cada caixa de mensagem da janela aparece como uma linha. Saída: 0 sucesso; 1 falha
prevista (mensagem mostrada); 2 erro; 64 uso incorreto.)";

struct UsageError {
  Text message;
};

enum class Mode { kCoo, kPeriodo, kDiario };

struct GenerationRequest {
  Mode mode = Mode::kDiario;
  Text first;
  Text last;
  std::optional<std::pair<Date, Date>> dates;
  int model = 1;
};

Date UsageDate(const Text& text) {
  if (auto date = TryParseDate(text)) return *date;
  throw UsageError{"data inválida: "_cp + text + " (use DD/MM/AAAA)"};
}

GenerationRequest ParseGeneration(const std::vector<Text>& arguments) {
  GenerationRequest request;
  std::optional<Mode> mode;
  auto value = [&](size_t& i) -> const Text& {
    if (i + 1 >= arguments.size()) throw UsageError{"falta um valor depois de " + arguments[i]};
    return arguments[++i];
  };
  for (size_t i = 1; i < arguments.size(); ++i) {
    const Text& option = arguments[i];
    if (option == "--modelo") {
      const Text& model = value(i);
      if (model != "1" && model != "2") throw UsageError{"--modelo aceita 1 ou 2"};
      request.model = model == "1" ? 1 : 2;
      continue;
    }
    if (mode) throw UsageError{"escolha um só modo (encontrado também " + option + ")"};
    if (option == "--coo") {
      mode = Mode::kCoo;
      request.first = value(i);
      request.last = value(i);
      for (const Text& coo : {request.first, request.last}) {
        if (coo.size() > 6) throw UsageError{"o COO tem no máximo 6 caracteres: "_cp + coo};
      }
    } else if (option == "--periodo" || option == "--diario") {
      mode = option == "--periodo" ? Mode::kPeriodo : Mode::kDiario;
      bool dates_follow = i + 1 < arguments.size() && !arguments[i + 1].starts_with("--");
      if (dates_follow || *mode == Mode::kPeriodo) {
        Date first = UsageDate(value(i));
        Date last = UsageDate(value(i));
        request.dates = std::pair{first, last};
      }
    } else {
      throw UsageError{"opção desconhecida: "_cp + option};
    }
  }
  if (!mode) throw UsageError{"escolha o modo: --coo, --periodo ou --diario"};
  request.mode = *mode;
  return request;
}

// Progress on the terminal: a bar that redraws itself on stderr.
void ShowProgress(const ui::Control& control) {
  auto* bar = dynamic_cast<const ui::ProgressBar*>(&control);
  if (bar == nullptr || !os::IsTerminal(ConsoleStream::kError)) return;
  constexpr int kWidth = 30;
  int filled = bar->Max() > 0 ? kWidth * bar->Position() / bar->Max() : 0;
  os::WriteRaw(ConsoleStream::kError, "\r[" + Text(static_cast<size_t>(filled), '#') +
                                          Text(static_cast<size_t>(kWidth - filled), ' ') + "] " +
                                          std::to_string(bar->Position()) + "/" +
                                          std::to_string(bar->Max()) +
                                          (bar->Position() == 0 ? "\n" : ""));
}

int Generate(const GenerationRequest& request, const LineSink& write) {
  ui::HeadlessScreen screen;
  screen.on_box = [&](const ui::MessageBox& box) {
    write(box.icon == ui::BoxIcon::Stop ? ConsoleStream::kError : ConsoleStream::kOut,
                  box.text);
  };
  screen.on_repaint = ShowProgress;
  Application application(screen);
  application.SetTitle("Kalora PDV NFP");
  printer::DLLBemaMFD->SetPlainBox([&](const Text& text) { application.ShowPlainBox(text); });
  VendorPrinter printer;

  std::unique_ptr<TfrmPrincipal> form;
  try {
    form = std::make_unique<TfrmPrincipal>(application, printer,
                                           TfrmPrincipal::Options{os::Today});
  } catch (const std::exception& error) {
    write(ConsoleStream::kError, ErrorBoxText(error.what()));
    return kExitError;
  }
  frmPrincipal = form.get();
  struct Forget {
    ~Forget() { frmPrincipal = nullptr; }
  } forget;
  if (application.Handle([&] { form->FormCreate(); }) != Outcome::kCompleted) return kExitError;

  if (request.model == 2) form->cmbModeloECF.Select(1);
  if (request.mode == Mode::kCoo) {
    form->rdbCOO.Click();
    form->txtCOOInicial.Type(request.first);
    form->txtCOOFinal.Type(request.last);
  } else {
    form->rdbData.Click();
    form->CBDiario.SetChecked(request.mode == Mode::kDiario);
    if (request.dates) {
      form->dtpDataInicial.PickDate(request.dates->first);
      form->dtpDataFinal.PickDate(request.dates->second);
    }
  }
  form->Button1.Click();
  switch (application.LastOutcome()) {
    case Outcome::kCompleted: return kExitSuccess;
    case Outcome::kAborted: return kExitAborted;
    case Outcome::kFailed: break;
  }
  return kExitError;
}

int Document(const Text& text, const LineSink& write) {
  gen::CustomerDocument document = gen::ReadCustomerDocument(text);
  const char* kind = document.kind == gen::DocumentKind::kCpf    ? "CPF válido"
                     : document.kind == gen::DocumentKind::kCnpj ? "CNPJ válido"
                                                                 : nullptr;
  Text verdict = kind ? Utf8ToCp1252(kind)
                      : "nem CPF nem CNPJ válido; o arquivo final grava zeros"_cp;
  write(ConsoleStream::kOut, "Texto: " + text);
  write(ConsoleStream::kOut, "Dígitos: "_cp + document.digits + " (" +
                                         std::to_string(document.digits.size()) + ")");
  write(ConsoleStream::kOut, "Documento: " + verdict);
  write(ConsoleStream::kOut, "Posições 178-191: "_cp + document.field);
  return kExitSuccess;
}

int Table(const Text& file, const LineSink& write) {
  try {
    std::ostringstream out;
    store::DumpTable(os::NativePath(file), out);
    os::WriteUtf8(ConsoleStream::kOut, out.str());
    return kExitSuccess;
  } catch (const std::exception& error) {
    write(ConsoleStream::kError, ErrorBoxText(error.what()));
    return kExitError;
  }
}

int Dispatch(const std::vector<Text>& arguments, const LineSink& write) {
  if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
    write(arguments.empty() ? ConsoleStream::kError : ConsoleStream::kOut,
                  Utf8ToCp1252(kUsage));
    return arguments.empty() ? kExitUsage : kExitSuccess;
  }
  const Text& command = arguments[0];
  if (command == "gerar") return Generate(ParseGeneration(arguments), write);
  if (command == "documento" && arguments.size() == 2) return Document(arguments[1], write);
  if (command == "tabela" && arguments.size() == 2) return Table(arguments[1], write);
  throw UsageError{"comando desconhecido ou argumentos a mais: " + command};
}

}  // namespace

int RunConsole(const std::vector<Text>& arguments, const LineSink& write) {
  try {
    return Dispatch(arguments, write);
  } catch (const UsageError& error) {
    write(ConsoleStream::kError, "kalora-nfp: " + error.message);
    write(ConsoleStream::kError, "Veja: kalora-nfp --help");
    return kExitUsage;
  }
}

}  // namespace kalora::shell
