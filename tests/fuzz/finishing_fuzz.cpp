// The finishing of a day: the input is the day file, the disk is held in memory and the
// coupon table is a fake that decides from the COO alone. The run must either finish the day
// exactly as predicted here or fail for a reason predicted here, leaving the disk as it was.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generation/DailyFinishing.h"
#include "runtime/Cp1252.h"
#include "runtime/Dates.h"
#include "runtime/Errors.h"
#include "runtime/Numbers.h"
#include "runtime/Streams.h"
#include "runtime/TextLines.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/MemoryFiles.h"

namespace kalora::fuzz {
namespace {

using gen::Customer;
using Disk = std::map<Text, std::string>;

const Text kDia = "05/11/2010";
const Text kDayFile = "C:\\Varnex\\PDV\\NFP\\NFP_DIA_20101105.txt";
const Text kFinalFolder = "C:\\Varnex\\PDV\\NFP\\Final\\";
const Text kDayCode = "5BA";
const Text kOlderFile = "older finished file";
constexpr size_t kFinishedLength = 191;
const Text kTableError = "TECFCupom: Registro danificado";

// A customer the table holds and the 40 + 14 characters the record must get for it.
struct Row {
  Text stored;
  Text field;
};
const std::array<Row, 5> kNames{{
    {"Maria da Silva", "Maria da Silva"},
    {"", ""},
    {"  José Pereira  "_cp, "José Pereira"_cp},
    {"\t\x01" "Ana\rMaria\nSouza\x1a\x7f ", "Ana Maria Souza  "},
    {"Supermercado Irmãos Conceição e Filhos Comércio de Alimentos Ltda"_cp,
     "Supermercado Irmãos Conceição e Filhos C"_cp},
}};
const std::array<Row, 6> kDocuments{{
    {"52998224725", "00052998224725"},
    {"111.444.777-35", "00011144477735"},
    {"11.222.333/0001-81", "11222333000181"},
    {"123.456.789-00", "00000000000000"},  // wrong check digit
    {"", "00000000000000"},
    {"1234567890", "00000000000000"},  // neither CPF nor CNPJ
}};

// Found unless the COO is a multiple of 4; a table failure at 96 modulo 97.
struct Lookup {
  Text serial;
  Date date;
  int32_t coo;
};
class FakeCoupons : public gen::CouponSource {
 public:
  std::optional<Customer> Find(const Text& serial, Date date, int32_t coo) override {
    calls_.push_back({serial, date, coo});
    auto key = static_cast<uint32_t>(coo);
    if (key % 97 == 96) throw PlatformError("EDBEngineError", kTableError);
    if (key % 4 == 0) return std::nullopt;
    return Customer{kDocuments[key / 5 % kDocuments.size()].stored,
                    kNames[key % kNames.size()].stored};
  }
  const std::vector<Lookup>& Calls() const { return calls_; }

 private:
  std::vector<Lookup> calls_;
};

Text Padded(Text text, size_t width) {
  text.resize(width, ' ');
  return text;
}

// A character a Windows file name cannot hold.
bool NotInFileName(char c) {
  return static_cast<unsigned char>(c) < 32 || Text("<>:\"/\\|?*").find(c) != Text::npos;
}

// What the run must do with the day file: its output, or the message of its failure.
struct OutputLine {
  Text text;
  bool finished;  // a coupon record that got its customer
};
struct Prediction {
  std::vector<Lookup> calls;
  Text finished_path;
  std::vector<OutputLine> output;
  std::optional<Text> failure;
};

Prediction Predict(const std::string& day_file) {
  Prediction p;
  MemoryInput input(day_file);
  LineReader reader(input);  // text_lines_fuzz checks the reader itself
  std::vector<Text> lines;
  for (Text line; reader.ReadLine(line);) lines.push_back(line);
  if (lines.empty()) return p;

  Text serial_in_name = Slice(lines[0], 4, 11);
  if (std::any_of(serial_in_name.begin(), serial_in_name.end(), NotInFileName)) {
    p.failure = "Nome de arquivo inválido"_cp;
    return p;
  }
  p.finished_path = kFinalFolder + serial_in_name + "." + kDayCode;
  Text serial = Slice(lines[0], 4, 23);
  for (const Text& line : lines) {
    if (!line.starts_with("E14")) {
      p.output.push_back({line, false});
      continue;
    }
    Text coo_text = Slice(line, 53, 58);
    auto coo = TryStrToInt(coo_text);
    if (!coo) {
      p.failure = "'" + coo_text + "' não é um valor inteiro válido"_cp;
      return p;
    }
    Text dia = Slice(line, 65, 66) + "/" + Slice(line, 63, 64) + "/" + Slice(line, 59, 62);
    auto date = TryParseDate(dia);
    if (!date) {
      p.failure = "'" + dia + "' não é uma data válida"_cp;
      return p;
    }
    p.calls.push_back({serial, *date, *coo});
    auto key = static_cast<uint32_t>(*coo);
    if (key % 97 == 96) {
      p.failure = kTableError;
      return p;
    }
    if (key % 4 == 0) {
      p.output.push_back({line, false});
      continue;
    }
    p.output.push_back({Padded(line.substr(0, 137), 137) +
                            Padded(kNames[key % kNames.size()].field, 40) +
                            kDocuments[key / 5 % kDocuments.size()].field,
                        true});
  }
  return p;
}

// The finished file, split at its CR LF pairs: no other CR, and nothing after the last pair.
std::vector<Text> FinishedLines(const std::string& bytes) {
  std::vector<Text> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\r', pos);
    Require(end != std::string::npos && end + 1 < bytes.size() && bytes[end + 1] == '\n',
            "the finished file has CR LF line ends only");
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

void CheckFinished(const Prediction& p, const std::vector<Text>& lines) {
  Require(lines.size() == p.output.size(), "one finished line for each line of the day");
  for (size_t i = 0; i < lines.size(); ++i) {
    if (p.output[i].finished) {
      Require(lines[i].size() == kFinishedLength, "a found coupon record is 191 characters");
      Require(lines[i] == p.output[i].text, "a found coupon record gets its customer");
    } else {
      Require(lines[i] == p.output[i].text, "every other line is copied as it is");
    }
  }
}

bool SameCalls(const std::vector<Lookup>& a, const std::vector<Lookup>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].serial != b[i].serial || a[i].date != b[i].date || a[i].coo != b[i].coo) {
      return false;
    }
  }
  return true;
}

}  // namespace
}  // namespace kalora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kalora;
  using namespace kalora::fuzz;
  std::string day_file(reinterpret_cast<const char*>(data), size);
  Prediction p = Predict(day_file);

  // Short reads of every size, so that line ends fall across the reader's refills.
  MemoryFiles disk(size % 67 + 1);
  disk.Put(kDayFile, day_file);
  disk.Put(kFinalFolder + "KL0510AB.5BA", kOlderFile);
  if (!p.finished_path.empty()) disk.Put(p.finished_path, kOlderFile);
  const Disk before = disk.Snapshot();

  FakeCoupons coupons;
  std::optional<Text> failure;
  {
    os::ScopedFileSystem scoped(disk);
    try {
      gen::AdicionaCPF(kDia, coupons);
    } catch (const PlatformError& error) {
      failure = error.Message();
    }
  }
  Require(SameCalls(coupons.Calls(), p.calls), "the table is asked for each coupon, in order");
  Require(failure == p.failure, "the run fails exactly when and how it must");

  Disk after = disk.Snapshot();
  if (failure || p.finished_path.empty()) {
    Require(after == before, "a failed or empty day leaves the disk as it was");
    return 0;
  }
  auto finished = after.find(MemoryFiles::Resolved(p.finished_path));
  Require(finished != after.end(), "the finished file is there");
  CheckFinished(p, FinishedLines(finished->second));
  after.erase(finished);
  Disk others = before;
  others.erase(MemoryFiles::Resolved(p.finished_path));
  Require(after == others, "the finishing writes its one file and nothing else");
  return 0;
}
