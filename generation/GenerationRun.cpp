#include "generation/GenerationRun.h"

#include "generation/DailyFinishing.h"
#include "generation/OutputFolders.h"
#include "os/Files.h"
#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "runtime/Numbers.h"
#include "runtime/TextLines.h"
#include "ui/Screen.h"

namespace kalora::gen {

namespace {

using ui::BoxIcon;

const Text kInformationTitle = "Atenção"_cp;

// The two download failure texts differ in their first word; both are what operators know.
const Text kDownloadFailedCooAndDaily = "Flaha de Comunicação com  a impressora!"_cp;
const Text kDownloadFailedRange = "Falha de Comunicação com  a impressora!"_cp;
const Text kDatesReversed = "A data Final não pode ser inferior da data Inicial"_cp;

constexpr const char* kWorkFiles[] = {kDownloadFile, kMirrorFile, kMirrorWithoutBlankLinesFile,
                                      kRecordsFile};

class GenerationRun {
 public:
  explicit GenerationRun(RunContext& context)
      : context_(context), controls_(context.controls), files_(os::Files()) {}

  void Run() {
    if (!context_.company_known) {
      // Never hand the window's placeholder company to a fiscal file.
      ShowPlainBox(
          "Os dados da empresa não foram lidos das tabelas ao abrir o programa; nenhum arquivo "
          "foi gerado. Verifique as tabelas da loja e abra o programa novamente."_cp);
      throw SilentAbort();
    }
    CleanUpWorkFiles();
    CreateOutputFolders();
    Bar().SetMax(4);

    if (controls_.rdbCOO.Checked()) {
      RunCooMode();
    } else if (controls_.rdbData.Checked()) {
      RunDateModes();
    }
    controls_.form.ResetCursor();
    controls_.form.Repaint();
  }

 private:
  ui::ProgressBar& Bar() { return controls_.ProgressBar1; }

  void SetPosition(int position) {
    Bar().SetPosition(position);
    Bar().Repaint();
  }
  void Advance() { SetPosition(Bar().Position() + 1); }

  void ShowPlainBox(const Text& text) {
    controls_.form.GetScreen().ShowMessageBox({BoxIcon::None, context_.title, text});
  }
  void ShowInformation(const Text& text) {
    controls_.form.GetScreen().ShowMessageBox(
        {BoxIcon::Information, kInformationTitle, text});
  }

  [[noreturn]] void Fail(const Text& message) {
    ShowPlainBox(message);
    Bar().SetPosition(0);
    CleanUpWorkFiles();
    throw SilentAbort();
  }

  void CleanUpWorkFiles() {
    for (const char* file : kWorkFiles) {
      if (files_.FileExists(file)) files_.RemoveFile(file);
    }
  }

  // The whole chain, Final included: a fresh machine has none of it.
  void CreateOutputFolders() {
    for (Text folder : {Text(kOutputFolder), Text(kFinalFolder)}) {
      if (!os::ForceDirectories(folder)) {
        folder.pop_back();
        ShowPlainBox("Não foi possível criar a pasta \""_cp + folder +
                     "\". Nenhum arquivo foi gerado."_cp);
        throw SilentAbort();
      }
    }
  }

  void RecordsCall(const Text& first, const Text& last) {
    FiscalPrinter::RecordsArguments arguments;
    arguments[0] = kDownloadFile;
    arguments[1] = kRecordsFile;
    arguments[2] = first;
    arguments[3] = last;
    arguments[4] = controls_.txtRazao.GetText();
    arguments[5] = controls_.txtEndereco.GetText();
    arguments[7] = "2";
    context_.printer.GeraRegistrosTipoE(arguments);
  }

  // Copies the records the library wrote to the output file; a missing records file or a
  // failed copy is a failure, and an older file of that name stays as it was.
  void CopyRecordsTo(const Text& output, const Text& missing_records_message) {
    if (!files_.FileExists(kRecordsFile)) Fail(missing_records_message);
    Text temporary = output + ".tmp";
    bool copied = files_.CopyOver(kRecordsFile, temporary);
    if (copied) {
      try {
        files_.MoveOver(temporary, output);
      } catch (const PlatformError&) {
        copied = false;
      }
    }
    if (!copied) {
      files_.RemoveFile(temporary);
      Fail("Não foi possível gravar o arquivo \""_cp + output + "\"."_cp);
    }
  }

  static Text RecordsMissing(const Text& output) {
    return "A impressora não gerou os registros; o arquivo \""_cp + output +
           "\" não foi gerado."_cp;
  }

  void RunCooMode() {
    const Text first_coo_text = controls_.txtCOOInicial.GetText();
    const Text last_coo_text = controls_.txtCOOFinal.GetText();
    // Both numbers are checked before anything reaches the printer.
    const int32_t first_coo = StrToInt(first_coo_text);
    const int32_t last_coo = StrToInt(last_coo_text);

    SetPosition(1);
    if (context_.printer.DownloadMFD(kDownloadFile, "2", first_coo_text, last_coo_text, "1") != 1) {
      Fail(kDownloadFailedCooAndDaily);
    }
    Advance();
    context_.printer.GeraTxtPorCOO(kDownloadFile, kMirrorFile, 1, first_coo, last_coo);
    WriteMirrorWithoutBlankLines();
    Advance();
    auto [first_date, last_date] = MirrorDates();
    Advance();
    RecordsCall(first_date, last_date);
    const Text output = Text(kOutputFolder) + "NFP_COO_" + first_coo_text + ".txt";
    CopyRecordsTo(output, RecordsMissing(output));
    CleanUpWorkFiles();
    ShowInformation("Arquivo \"" + output + "\" gerado com sucesso!");
    SetPosition(0);
  }

  void WriteMirrorWithoutBlankLines() {
    auto input = files_.OpenRead(kMirrorFile);
    LineReader reader(*input);
    auto output = files_.Create(kMirrorWithoutBlankLinesFile);
    LineWriter writer(*output);
    Text line;
    while (reader.ReadLine(line)) {
      if (!line.empty()) writer.WriteLine(line);
    }
    writer.Close();
  }

  // The range's dates as the mirror shows them: the first on line 7, the last near the end,
  // where each model family puts it.
  std::pair<Text, Text> MirrorDates() {
    auto input = files_.OpenRead(kMirrorWithoutBlankLinesFile);
    std::vector<Text> lines = SplitList(ReadAll(*input));
    const int count = static_cast<int>(lines.size());
    Text first = Slice(ListLine(lines, 7), 1, 10);
    Text last = context_.printer.UsarMFD2() ? Slice(ListLine(lines, count - 2), 20, 29)
                                            : Slice(ListLine(lines, count - 3), 29, 38);
    return {first, last};
  }

  void RunDateModes() {
    const Date first = controls_.dtpDataInicial.GetDate();
    const Date last = controls_.dtpDataFinal.GetDate();
    if (first > last) {
      ShowPlainBox(kDatesReversed);
      throw SilentAbort();
    }
    const bool daily = controls_.CBDiario.Checked();
    if (daily) Bar().SetMax(2 * static_cast<int>((last - first).count()) + 3);
    SetPosition(1);
    Advance();
    int32_t downloaded =
        context_.printer.DownloadMFD(kDownloadFile, "1", FormatDdmmyyyy(first),
                                     FormatDdmmyyyy(last), "1");
    if (daily) {
      RunDailySteps(downloaded, first, last);
    } else {
      RunDateRangeSteps(downloaded, first, last);
    }
    SetPosition(0);
  }

  void RunDateRangeSteps(int32_t downloaded, Date first, Date last) {
    if (downloaded != 1) Fail(kDownloadFailedRange);
    Advance();
    RecordsCall(FormatDdmmyyyy(first), FormatDdmmyyyy(last));
    const Text output = Text(kOutputFolder) + "NFP_DATA_" + FormatYyyymmdd(first) + ".txt";
    CopyRecordsTo(output, RecordsMissing(output));
    CleanUpWorkFiles();
    Advance();
    ShowInformation("Arquivo \"" + output + "\" gerado com sucesso!");
  }

  void RunDailySteps(int32_t downloaded, Date first, Date last) {
    Advance();
    if (downloaded != 1) Fail(kDownloadFailedCooAndDaily);
    for (Date day = first; day <= last; day += std::chrono::days{1}) {
      const Text dia = FormatDate(day);
      RecordsCall(dia, dia);
      const Text output = DayFilePath(day);
      // An older day file must never be finished in place of the day's own records.
      CopyRecordsTo(output, "A impressora não gerou os registros do dia "_cp + dia +
                                "; o arquivo \""_cp + output + "\" não foi gerado."_cp);
      context_.adiciona_cpf(dia);
      if (files_.FileExists(kRecordsFile)) files_.RemoveFile(kRecordsFile);
      Advance();
    }
    ShowInformation("Arquivos \"" + Text(kOutputFolder) + "NFP_DIA_YYYYMMDD.txt\" gerados com sucesso!");
    CleanUpWorkFiles();
  }

  RunContext& context_;
  RunControls& controls_;
  os::FileSystem& files_;
};

}  // namespace

void RunGeneration(RunContext& context) { GenerationRun(context).Run(); }

}  // namespace kalora::gen
