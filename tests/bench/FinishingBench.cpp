// A month of busy days finished against a table of a million coupons, beside a plain copy of
// the same bytes. Prints both times and their ratio; the finishing should stay within 3x.
//
// The coupon table here lives in memory, so the figures measure the finishing itself. Another
// table (the shop's own, say) is measured by handing it to ReportMonth.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "generation/DailyFinishing.h"
#include "generation/OutputFolders.h"
#include "os/Files.h"
#include "runtime/Errors.h"
#include "runtime/TextLines.h"
#include "shell/StoreTables.h"
#include "store/ParadoxWriter.h"
#include "store/StorePaths.h"
#include "store/TableDescription.h"

namespace kalora::bench {

namespace {

constexpr int kDays = 30;
constexpr int kCouponsPerDay = 400;
constexpr int kItemsPerCoupon = 4;
constexpr int kTableCoupons = 1'000'000;
constexpr int kRepetitions = 20;
constexpr double kTargetRatio = 3.0;
const Text kSerial = "BENCH001000000000001";
const Text kOtherSerials[] = {"BENCH002000000000002", "BENCH003000000000003"};
constexpr int kFirstYear = 2010;
constexpr unsigned kMonth = 11;

Text Pad(Text text, size_t size, char fill = ' ') {
  text.resize(size, fill);
  return text;
}

Text Number(long long value, size_t size) {
  Text digits = std::to_string(value);
  return Text(size - std::min(size, digits.size()), '0') + digits;
}

Text Beginning(const char* type) { return type + kSerial + " " + Pad("MODELO TESTE", 20); }

Text CouponRecord(int coo, const Text& date) {
  return Beginning("E14") + "01" + Number(coo, 6) + Number(coo, 6) + date + Number(1500, 14) +
         Number(0, 13) + " " + Number(0, 13) + " " + Number(1500, 14) + "N" + Number(0, 13) +
         " " + Text(40, ' ') + Number(0, 14);
}

Text ItemRecord(int coo, int item) {
  return Beginning("E15") + "01" + Number(coo, 6) + Number(coo, 6) + Number(item, 3) +
         Pad("7891000" + Number(item, 7), 14) + Pad("PRODUTO " + std::to_string(item), 100) +
         Number(1000, 7) + "UN " + Number(375, 8) + Number(0, 16) + Number(375, 14) + "T1800  N" +
         Number(0, 33) + "A32";
}

Text PaymentRecord(int coo) {
  return Beginning("E21") + "01" + Number(coo, 6) + Number(coo, 6) + Number(0, 6) +
         Pad("Dinheiro", 15) + Number(1500, 13) + "N" + Number(0, 13);
}

int FirstCoo(int day) { return 100000 + day * kCouponsPerDay; }

// The day files of the month; returns the days as "dd/mm/yyyy" and the bytes written.
std::vector<Text> WriteMonth(size_t& bytes) {
  std::vector<Text> days;
  bytes = 0;
  for (int day = 1; day <= kDays; ++day) {
    Date date = *MakeDate(kFirstYear, kMonth, static_cast<unsigned>(day));
    auto output = os::Files().Create(gen::DayFilePath(date));
    MemoryOutput memory;
    LineWriter writer(memory);
    writer.WriteLine(Pad("E01" + kSerial + " ECF-IF MARCA TESTE", 166));
    writer.WriteLine(Pad(Beginning("E02") + "11222333000181", 272));
    Text yyyymmdd = FormatYyyymmdd(date);
    for (int i = 0; i < kCouponsPerDay; ++i) writer.WriteLine(CouponRecord(FirstCoo(day) + i, yyyymmdd));
    for (int i = 0; i < kCouponsPerDay; ++i) {
      for (int item = 1; item <= kItemsPerCoupon; ++item) writer.WriteLine(ItemRecord(FirstCoo(day) + i, item));
    }
    for (int i = 0; i < kCouponsPerDay; ++i) writer.WriteLine(PaymentRecord(FirstCoo(day) + i));
    writer.Close();
    output->Write(memory.Bytes());
    output->Close();
    bytes += memory.Bytes().size();
    days.push_back(FormatDate(date));
  }
  return days;
}

// The coupon table in memory: keys sorted for a binary search, customers shared by index.
class MemoryCoupons : public gen::CouponSource {
 public:
  MemoryCoupons() {
    std::mt19937 random(1704);
    auto draw = [&random](uint32_t below) { return static_cast<uint32_t>(random() % below); };
    const Text documents[] = {"529.982.247-25", "11144477735", "11.222.333/0001-81",
                              "11444777000161", "123.456.789-00", ""};
    for (int i = 0; i < 1000; ++i) {
      customers_.push_back({documents[i % std::size(documents)],
                            "CLIENTE NUMERO " + std::to_string(i) + " DA SILVA"});
    }
    // This printer's month, one coupon in ten missing; the rest of the table is spread over
    // other printers and other years.
    for (int day = 1; day <= kDays; ++day) {
      int days = DaysOf(*MakeDate(kFirstYear, kMonth, static_cast<unsigned>(day)));
      for (int i = 0; i < kCouponsPerDay; ++i) {
        if (i % 10 != 9) rows_.push_back({0, days, FirstCoo(day) + i, draw(1000)});
      }
    }
    while (rows_.size() < kTableCoupons) {
      uint32_t printer = 1 + draw(static_cast<uint32_t>(std::size(kOtherSerials)));
      int days = DaysOf(*MakeDate(2005, 1, 1)) + static_cast<int>(draw(3650));
      rows_.push_back({printer, days, static_cast<int32_t>(draw(999999)), draw(1000)});
    }
    std::sort(rows_.begin(), rows_.end());
  }

  std::optional<gen::Customer> Find(const Text& serial, Date date, int32_t coo) override {
    uint32_t printer = 0;
    if (serial != kSerial) {
      auto other = std::find(std::begin(kOtherSerials), std::end(kOtherSerials), serial);
      if (other == std::end(kOtherSerials)) return std::nullopt;
      printer = static_cast<uint32_t>(1 + (other - std::begin(kOtherSerials)));
    }
    Row key{printer, DaysOf(date), coo, 0};
    auto row = std::lower_bound(rows_.begin(), rows_.end(), key);
    if (row == rows_.end() || row->printer != printer || row->days != key.days || row->coo != coo) {
      return std::nullopt;
    }
    return customers_[row->customer];
  }

  // Every coupon in key order, a key drawn twice once: serial, date, COO and customer.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
      const Row& row = rows_[i];
      if (i > 0 && !(rows_[i - 1] < row)) continue;
      const Text& serial = row.printer == 0 ? kSerial : kOtherSerials[row.printer - 1];
      visit(serial, Date{std::chrono::days{row.days}}, row.coo, customers_[row.customer]);
    }
  }

 private:
  struct Row {
    uint32_t printer;
    int days;
    int32_t coo;
    uint32_t customer;
    bool operator<(const Row& other) const {
      return std::tie(printer, days, coo) < std::tie(other.printer, other.days, other.coo);
    }
  };
  static int DaysOf(Date date) { return static_cast<int>(date.time_since_epoch().count()); }

  std::vector<Row> rows_;
  std::vector<gen::Customer> customers_;
};

// The same coupons in a Paradox table with its primary index, as a shop's disk holds them,
// looked up the way the window does.
class TableCoupons : public gen::CouponSource {
 public:
  TableCoupons(const MemoryCoupons& coupons, const std::filesystem::path& folder) {
    store::TableDescription description = store::ReadTableDescription(
        store::PathFromUtf8(KALORA_DEMO_FOLDER "/EcfCupom.txt"));
    description.layout.block_size_kb = 16;  // block numbers of a million records fit a short
    std::vector<std::vector<store::Value>> records;
    coupons.ForEach([&](const Text& serial, Date date, int32_t coo, const gen::Customer& customer) {
      std::vector<store::Value> record(description.layout.fields.size(), store::Value{});
      record[0] = store::TableText{serial};
      record[1] = date;
      record[2] = coo;
      record[13] = store::TableText{customer.cpf};
      record[14] = store::TableText{customer.nome};
      records.push_back(std::move(record));
    });
    size_t next = 0;
    store::WriteTable(folder / "EcfCupom.DB", description.layout,
                      [&](std::vector<store::Value>& record) {
                        if (next == records.size()) return false;
                        record = std::move(records[next++]);
                        return true;
                      });
    table_.OpenIn(folder);
  }

  std::optional<gen::Customer> Find(const Text& serial, Date date, int32_t coo) override {
    return shell::CouponLookup(table_, serial, date, coo);
  }

 private:
  shell::TECFCupom table_;
};

double Seconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// Every file of the Final folder is removed before each run, so that neither the copy nor
// the finishing pays for replacing the files of the run before.
void ClearFinalFolder() {
  for (const auto& file : std::filesystem::directory_iterator(os::NativePath(gen::kFinalFolder))) {
    std::filesystem::remove(file.path());
  }
}

// The best of several runs of each step; the two steps take turns, so that both meet the
// same load of a shared machine.
template <typename First, typename Second>
std::pair<double, double> BestOfEach(First first, Second second) {
  auto time = [](auto step) {
    ClearFinalFolder();
    auto start = std::chrono::steady_clock::now();
    step();
    return Seconds(std::chrono::steady_clock::now() - start);
  };
  double best_first = 1e9;
  double best_second = 1e9;
  for (int i = 0; i < kRepetitions; ++i) {
    best_first = std::min(best_first, time(first));
    best_second = std::min(best_second, time(second));
  }
  return {best_first, best_second};
}

}  // namespace

// Times a plain copy of every day file and the finishing of every day against coupons, and
// prints both with their ratio. True when the ratio meets the target.
bool ReportMonth(const char* table, gen::CouponSource& coupons, const std::vector<Text>& days,
                 size_t bytes) {
  auto copy_month = [&] {
    for (const Text& dia : days) {
      Text day_file = gen::DayFilePath(ParseDate(dia));
      Text target = Text(gen::kFinalFolder) + day_file.substr(day_file.find_last_of('\\') + 1);
      if (!os::Files().CopyOver(day_file, target)) {
        throw PlatformError("Benchmark", "copy of the day " + dia + " failed");
      }
    }
  };
  auto finish_month = [&] {
    for (const Text& dia : days) gen::AdicionaCPF(dia, coupons);
  };
  auto [copy, finishing] = BestOfEach(copy_month, finish_month);
  double ratio = finishing / copy;
  std::printf("%s: %zu day files, %.1f MB, %d coupons a day\n", table, days.size(),
              static_cast<double>(bytes) / 1e6, kCouponsPerDay);
  std::printf("  plain copy   %8.1f ms  (best of %d)\n", copy * 1e3, kRepetitions);
  std::printf("  finishing    %8.1f ms  (%.0f MB/s)\n", finishing * 1e3,
              static_cast<double>(bytes) / 1e6 / finishing);
  std::printf("  ratio        %8.2f x  (target within %.0f x: %s)\n", ratio, kTargetRatio,
              ratio <= kTargetRatio ? "met" : "MISSED");
  return ratio <= kTargetRatio;
}

// Drive C: is a temporary folder off Windows; on Windows only the files written are removed.
class BenchmarkFolders {
 public:
  BenchmarkFolders() {
    drive_ = std::filesystem::temp_directory_path() /
             ("kalora-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(drive_);
    static std::string entry;
    entry = "KALORA_DRIVE_C=" + drive_.string();
    putenv(entry.data());
    for (Text folder = Text(gen::kFinalFolder); folder.size() > 3;
         folder = folder.substr(0, folder.find_last_of('\\', folder.size() - 2) + 1)) {
      if (!os::Files().FolderExists(folder)) created_.push_back(os::NativePath(folder));
    }
    if (!os::ForceDirectories(Text(gen::kFinalFolder))) {
      throw PlatformError("Benchmark", "cannot create " + Text(gen::kFinalFolder));
    }
    for (const auto& folder : Folders()) {
      for (const auto& file : std::filesystem::directory_iterator(folder)) existing_.insert(file);
    }
  }
  ~BenchmarkFolders() {
    std::error_code ignored;
    for (const auto& folder : Folders()) {
      for (const auto& file : std::filesystem::directory_iterator(folder, ignored)) {
        if (!existing_.contains(file.path())) std::filesystem::remove(file.path(), ignored);
      }
    }
    for (const auto& folder : created_) std::filesystem::remove(folder, ignored);  // deepest first
    std::filesystem::remove_all(drive_, ignored);
  }
  BenchmarkFolders(const BenchmarkFolders&) = delete;
  BenchmarkFolders& operator=(const BenchmarkFolders&) = delete;

 private:
  static std::vector<std::filesystem::path> Folders() {
    return {os::NativePath(Text(gen::kOutputFolder)), os::NativePath(Text(gen::kFinalFolder))};
  }

  std::filesystem::path drive_;
  std::set<std::filesystem::path> existing_;
  std::vector<std::filesystem::path> created_;
};

}  // namespace kalora::bench

int main() {
  using namespace kalora;
  try {
    bench::BenchmarkFolders folders;
    size_t bytes = 0;
    std::vector<Text> days = bench::WriteMonth(bytes);

    auto start = std::chrono::steady_clock::now();
    bench::MemoryCoupons coupons;
    std::printf("table of %d coupons built in memory in %.0f ms\n", bench::kTableCoupons,
                bench::Seconds(std::chrono::steady_clock::now() - start) * 1e3);
    bench::ReportMonth("in-memory coupon table", coupons, days, bytes);

    start = std::chrono::steady_clock::now();
    std::filesystem::path store = std::filesystem::temp_directory_path() / "kalora-bench-store";
    std::filesystem::create_directories(store);
    bench::TableCoupons table(coupons, store);
    std::printf("the same coupons in EcfCupom.DB + .PX, written and opened in %.0f ms\n",
                bench::Seconds(std::chrono::steady_clock::now() - start) * 1e3);
    bench::ReportMonth("Paradox coupon table", table, days, bytes);
    std::filesystem::remove_all(store);
    return 0;
  } catch (const PlatformError& error) {
    std::fprintf(stderr, "%s\n", error.Message().c_str());
    return 1;
  }
}
