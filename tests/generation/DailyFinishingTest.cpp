#include "generation/DailyFinishing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>

#include "generation/OutputFolders.h"
#include "os/Files.h"
#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "tests/support/TempDrive.h"

namespace kalora::gen {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // file name -> bytes

constexpr const char* kOlderFile = "older finished file";

std::string Fixture(const std::string& name) {
  std::ifstream file(std::string(KALORA_FIXTURES) + "/generation/" + name, std::ios::binary);
  EXPECT_TRUE(file) << "fixture " << name;
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Date Day(const char* dia) { return ParseDate(dia); }

// The coupon table of the tests: (serial, date, COO) -> customer; one COO may be set to fail
// the way the table does.
class FakeCoupons : public CouponSource {
 public:
  FakeCoupons& Add(const Text& serial, const char* dia, int32_t coo, Customer customer) {
    rows_[{serial, Day(dia), coo}] = std::move(customer);
    return *this;
  }
  void FailAt(int32_t coo) { failing_coo_ = coo; }

  std::optional<Customer> Find(const Text& serial, Date date, int32_t coo) override {
    if (coo == failing_coo_) throw PlatformError("EDBEngineError", "TECFCupom: Registro danificado");
    auto row = rows_.find({serial, date, coo});
    if (row == rows_.end()) return std::nullopt;
    return row->second;
  }

 private:
  std::map<std::tuple<Text, Date, int32_t>, Customer> rows_;
  int32_t failing_coo_ = -1;
};

const Text kSerial1 = "KL0510AB000000012345";
const Text kSerial2 = "KL3112VC000000054321";
const Text kSerial3 = "ZX990001000000000777";
const Text kOtherSerial = "QW000000000000000999";

// The customers the fixtures were written against.
FakeCoupons ShopCoupons() {
  FakeCoupons coupons;
  const char* d1 = "05/11/2010";
  coupons.Add(kSerial1, d1, 101, {"52998224725", "Maria da Silva"})
      .Add(kSerial1, d1, 102, {"111.444.777-35", "  José Pereira  "_cp})
      .Add(kSerial1, d1, 103, {"11222333000181", "Mercado Bom Preço Ltda"_cp})
      .Add(kSerial1, d1, 104, {"11.444.777/0001-61", "Padaria Pão Quente"_cp})
      .Add(kSerial1, d1, 105, {"123.456.789-00", "Cliente Dígito Errado"_cp})
      .Add(kSerial1, d1, 106, {"1234567890", "Cliente Dez Dígitos"_cp})
      .Add(kSerial1, d1, 107, {"", ""})
      .Add(kSerial1, d1, 108, {"11.222.333/0001-82", "Ângela Ávila Conceição"_cp})
      .Add(kSerial1, d1, 110, {"529.982.247-25", "Ana Lima"})
      // coupon 109 is missing from the table
      .Add(kSerial1, "06/11/2010", 109, {"52998224725", "Outro Dia"});
  const char* d2 = "31/12/2009";
  coupons
      .Add(kSerial2, d2, 201,
           {"11444777000161",
            "Supermercado Irmãos Conceição e Filhos Comércio de Alimentos Ltda"_cp})
      .Add(kSerial2, d2, 202, {"52998224725", "Ana\rMaria\nSouza\tLima\x7f"})
      .Add(kSerial2, d2, 203, {"111.444.777-35", "Cliente Linha Curta"})
      .Add(kSerial2, d2, 205, {"11222333000181", "Ana Beatriz Fonseca de Albuquerque Lima"});
  const char* d3 = "05/10/2009";
  coupons.Add(kSerial3, d3, 301, {"52998224725", "Primeira Linha"})
      .Add(kSerial3, d3, 302, {"11222333000181", "Outra Serie Na Linha"})
      .Add(kOtherSerial, d3, 303, {"52998224725", "Serie Da Propria Linha"});
  return coupons;
}

// A drive C: of the test's own with an empty C:\Varnex\PDV\NFP\Final\.
class FinishingTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(os::ForceDirectories(kFinalFolder)); }

  static fs::path Native(const Text& path) { return fs::path(os::NativePath(path)); }

  static void Write(const Text& path, const std::string& bytes) {
    auto output = os::Files().Create(path);
    output->Write(bytes);
    output->Close();
  }

  static void PutDayFile(const char* dia, const std::string& fixture) {
    Write(DayFilePath(Day(dia)), Fixture(fixture));
  }

  static void PutOlderFinishedFile(const Text& name) {
    Write(Text(kFinalFolder) + name, kOlderFile);
  }

  // Every file of the Final folder, with its bytes.
  static Files FinishedFiles() {
    Files files;
    if (!os::Files().FolderExists(Text(kFinalFolder))) return files;
    for (const auto& entry : fs::directory_iterator(Native(Text(kFinalFolder)))) {
      Text name = entry.path().filename().string();
      files[name] = ReadAll(*os::Files().OpenRead(Text(kFinalFolder) + name));
    }
    return files;
  }

 private:
  test::TempDrive drive_;
};

struct GoldenCase {
  const char* dia;
  const char* input;
  const char* finished_name;
  const char* expected;
};

// Each finished file equals its expected file byte for byte; an older file of that name is
// replaced and nothing else is left in the folder.
TEST_F(FinishingTest, FinishedFilesMatchTheirExpectedFiles) {
  const GoldenCase cases[] = {
      // found and missing coupons; plain and grouped CPF and CNPJ; wrong check digits and
      // lengths; empty and accented names; old text after position 137
      {"05/11/2010", "coupons.txt", "KL0510AB.5BA", "coupons.expected"},
      // long names cut, control characters inside names, short coupon records
      {"31/12/2009", "mended.txt", "KL3112VC.VC9", "mended.expected"},
      // the serial comes from the first line even when it is a coupon record; line ends
      {"05/10/2009", "first-line.txt", "ZX990001.5A9", "first-line.expected"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    PutDayFile(c.dia, c.input);
    PutOlderFinishedFile(c.finished_name);
    FakeCoupons coupons = ShopCoupons();
    AdicionaCPF(c.dia, coupons);
    Files files = FinishedFiles();
    EXPECT_EQ(files, (Files{{c.finished_name, Fixture(c.expected)}}));
    for (const auto& [name, bytes] : files) std::filesystem::remove(Native(Text(kFinalFolder) + name));
  }
}

TEST_F(FinishingTest, DayCodeNamesTheFinishedFile) {
  const struct {
    const char* dia;
    const char* code;
  } cases[] = {
      {"05/11/2010", "5BA"}, {"31/12/2009", "VC9"}, {"05/10/2009", "5A9"},
      {"29/02/2020", "T2K"}, {"10/12/2010", "ACA"}, {"31/01/2015", "V1F"},
      // years ending in 00 or 32 to 99 have no letter
      {"15/03/2000", "F3"},  {"01/07/2032", "17"},  {"09/09/2099", "99"},
  };
  FakeCoupons coupons;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dia);
    PutDayFile(c.dia, "serial-only.txt");
    AdicionaCPF(c.dia, coupons);
    Text name = "KL0510AB." + Text(c.code);
    EXPECT_EQ(FinishedFiles(), (Files{{name, Fixture("serial-only.txt")}}));
    std::filesystem::remove(Native(Text(kFinalFolder) + name));
  }
}

TEST_F(FinishingTest, InputWithoutLinesMakesNoFile) {
  FakeCoupons coupons;
  for (const char* input : {"empty.txt", "end-mark-only.txt"}) {
    SCOPED_TRACE(input);
    PutDayFile("05/11/2010", input);
    AdicionaCPF("05/11/2010", coupons);
    EXPECT_EQ(FinishedFiles(), Files{});
  }
}

struct FailureCase {
  const char* what;
  const char* input;  // nullptr: no day file
  int32_t failing_coo;
  const char* dia;
  Text message;
};

// Every failure names what failed, and the day leaves no finished file: an older one stays.
TEST_F(FinishingTest, FailuresLeaveNoFinishedFile) {
  const FailureCase cases[] = {
      {"missing day file", nullptr, -1, "05/11/2010", "Arquivo não encontrado"_cp},
      {"COO not a number", "bad-coo.txt", -1, "05/11/2010",
       "'0A0102' não é um valor inteiro válido"_cp},
      {"coupon date not valid", "bad-date.txt", -1, "05/11/2010",
       "'31/02/2010' não é uma data válida"_cp},
      {"day not valid", "coupons.txt", -1, "31/11/2010", "'31/11/2010' não é uma data válida"_cp},
      {"table error", "coupons.txt", 105, "05/11/2010", "TECFCupom: Registro danificado"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.input) PutDayFile("05/11/2010", c.input);
    PutOlderFinishedFile("KL0510AB.5BA");
    FakeCoupons coupons = ShopCoupons();
    coupons.FailAt(c.failing_coo);
    try {
      AdicionaCPF(c.dia, coupons);
      ADD_FAILURE() << "no error";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
    EXPECT_EQ(FinishedFiles(), (Files{{"KL0510AB.5BA", kOlderFile}}));
    std::filesystem::remove(Native(DayFilePath(Day("05/11/2010"))));
  }
}

// The first line names the finished file: one that is no file name is refused, so nothing is
// written outside Final (a "\" climbing out of it, say).
TEST_F(FinishingTest, FirstLineThatIsNoFileNameIsRefused) {
  const Text climbed_to = Text(kVarnexPdvFolder) + "\\AB.5BA";
  for (const char* first_line : {"E01..\\..\\AB000000012345", "E01KL/510AB0000",
                                 "E01KL:510AB0000", "E01KL*510AB0000", "E01KL\t510AB0000"}) {
    SCOPED_TRACE(first_line);
    Write(DayFilePath(Day("05/11/2010")), Text(first_line) + "\r\n");
    FakeCoupons coupons;
    try {
      AdicionaCPF("05/11/2010", coupons);
      ADD_FAILURE() << "no error";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Message(), "Nome de arquivo inválido"_cp);
    }
    EXPECT_EQ(FinishedFiles(), Files{});
    EXPECT_FALSE(os::Files().FileExists(climbed_to));
  }
}

TEST_F(FinishingTest, MissingFinalFolderIsAnInvalidFileName) {
  std::filesystem::remove(Native(Text(kFinalFolder)));
  PutDayFile("05/11/2010", "coupons.txt");
  FakeCoupons coupons = ShopCoupons();
  try {
    AdicionaCPF("05/11/2010", coupons);
    ADD_FAILURE() << "no error";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.Message(), "Nome de arquivo inválido"_cp);
  }
  EXPECT_FALSE(os::Files().FolderExists(Text(kFinalFolder)));  // never created here
  ASSERT_TRUE(os::Files().CreateFolder(Text(kFinalFolder)));
}

// The machine's files with one fault put in the finishing's way.
enum class Fault { kDiskFullMidway, kCloseFails, kMoveFails, kReadFails };

class FaultyOutput : public OutputStream {
 public:
  FaultyOutput(std::unique_ptr<OutputStream> real, Fault fault)
      : real_(std::move(real)), fault_(fault) {}
  void Write(std::string_view bytes) override {
    if (fault_ == Fault::kDiskFullMidway && written_ + bytes.size() > kRoom) {
      real_->Write(bytes.substr(0, kRoom - written_));  // what fitted stays on the disk
      throw InOutError(101);
    }
    written_ += bytes.size();
    real_->Write(bytes);
  }
  void Close() override {
    real_->Close();
    if (fault_ == Fault::kCloseFails) throw InOutError(101);
  }

 private:
  static constexpr size_t kRoom = 600;
  std::unique_ptr<OutputStream> real_;
  Fault fault_;
  size_t written_ = 0;
};

class FaultyInput : public InputStream {
 public:
  explicit FaultyInput(std::unique_ptr<InputStream> real) : real_(std::move(real)) {}
  size_t Read(char* buffer, size_t size) override {
    if (reads_++ > 0) throw InOutError(23);
    return real_->Read(buffer, std::min<size_t>(size, 500));
  }

 private:
  std::unique_ptr<InputStream> real_;
  int reads_ = 0;
};

class FaultyFiles : public os::FileSystem {
 public:
  explicit FaultyFiles(Fault fault) : fault_(fault), real_(os::MachineFiles()) {}
  bool FileExists(const Text& path) override { return real_.FileExists(path); }
  bool FolderExists(const Text& path) override { return real_.FolderExists(path); }
  bool CreateFolder(const Text& path) override { return real_.CreateFolder(path); }
  bool RemoveFile(const Text& path) override { return real_.RemoveFile(path); }
  bool CopyOver(const Text& from, const Text& to) override { return real_.CopyOver(from, to); }
  void MoveOver(const Text& from, const Text& to) override {
    if (fault_ == Fault::kMoveFails) throw InOutError(5);
    real_.MoveOver(from, to);
  }
  std::unique_ptr<InputStream> OpenRead(const Text& path) override {
    auto input = real_.OpenRead(path);
    if (fault_ != Fault::kReadFails) return input;
    return std::make_unique<FaultyInput>(std::move(input));
  }
  std::unique_ptr<OutputStream> Create(const Text& path) override {
    return std::make_unique<FaultyOutput>(real_.Create(path), fault_);
  }

 private:
  Fault fault_;
  os::FileSystem& real_;
};

TEST_F(FinishingTest, DiskFaultsLeaveNoFinishedFile) {
  const struct {
    const char* what;
    Fault fault;
    Text message;
  } cases[] = {
      {"disk full midway", Fault::kDiskFullMidway, "Disco cheio"},
      {"disk full on close", Fault::kCloseFails, "Disco cheio"},
      {"rename denied", Fault::kMoveFails, "Acesso ao arquivo negado"},
      {"read error midway", Fault::kReadFails, "Erro de I/O 23"},
  };
  PutDayFile("05/11/2010", "coupons.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PutOlderFinishedFile("KL0510AB.5BA");
    FakeCoupons coupons = ShopCoupons();
    FaultyFiles faulty(c.fault);
    try {
      os::ScopedFileSystem scoped(faulty);
      AdicionaCPF("05/11/2010", coupons);
      ADD_FAILURE() << "no error";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
    EXPECT_EQ(FinishedFiles(), (Files{{"KL0510AB.5BA", kOlderFile}}));
  }
}

TEST(DayLetters, Nr2lt) {
  const struct {
    const char* texto;
    const char* letter;
  } cases[] = {
      {"01", "1"}, {"09", "9"}, {"10", "A"}, {"11", "B"}, {"20", "K"}, {"29", "T"},
      {"31", "V"}, {"00", ""},  {"32", ""},  {"99", ""},  {"7", ""},   {"007", ""},
      {" 7", ""},  {"7 ", ""},  {"", ""},    {"1/", ""},  {"-1", ""},  {"+9", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.texto);
    EXPECT_EQ(Nr2lt(c.texto), c.letter);
  }
}

TEST(DayFiles, DayFilePath) {
  EXPECT_EQ(DayFilePath(ParseDate("05/11/2010")), "C:\\Varnex\\PDV\\NFP\\NFP_DIA_20101105.txt");
}

}  // namespace
}  // namespace kalora::gen
