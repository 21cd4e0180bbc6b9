// Opening the coupon table and looking coupons up, for 1k, 100k and 1M coupons.
// Usage: store_bench [RECORDS...]   (default 1000 100000 1000000)
// Opening should not grow with the table; a lookup should grow with the index depth only.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <random>
#include <vector>

#include "runtime/Cp1252.h"
#include "shell/StoreTables.h"
#include "store/StorePaths.h"
#include "store/TableDescription.h"

namespace {

using namespace kalora;
using Clock = std::chrono::steady_clock;

constexpr char kSerial[] = "BE091010100011223344";
constexpr int kCouponsPerDay = 3000;
constexpr int kOpens = 25;
constexpr int kLookups = 20000;

double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

Date DayOf(int i) { return Date{std::chrono::days{20'000 + i / kCouponsPerDay}}; }

void Build(const std::filesystem::path& db, int count) {
  store::TableDescription description = store::ReadTableDescription(store::PathFromUtf8(KALORA_DEMO_FOLDER "/EcfCupom.txt"));
  description.layout.block_size_kb = 16;  // block numbers must fit in a short
  int i = 0;
  store::WriteTable(db, description.layout, [&](std::vector<store::Value>& record) {
    if (i == count) return false;
    record.assign(description.layout.fields.size(), store::Value{});
    record[0] = store::TableText{kSerial};
    record[1] = DayOf(i);
    record[2] = std::int32_t{1 + i};
    record[13] = store::TableText{"123.456.789-09"};
    record[14] = store::TableText{"Cliente " + std::to_string(i)};
    ++i;
    return true;
  });
}

void Measure(int count) {
  const auto folder = std::filesystem::temp_directory_path() / ("kalora-bench-" + std::to_string(count));
  std::filesystem::create_directories(folder);
  const auto build_start = Clock::now();
  Build(folder / "EcfCupom.DB", count);
  const double build_ms = Microseconds(Clock::now() - build_start) / 1000;

  std::vector<double> opens;
  for (int k = 0; k < kOpens; ++k) {
    shell::TECFCupom cupom;
    const auto start = Clock::now();
    cupom.OpenIn(folder);
    opens.push_back(Microseconds(Clock::now() - start));
  }
  std::sort(opens.begin(), opens.end());

  shell::TECFCupom cupom;
  cupom.OpenIn(folder);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pick(0, count - 1);
  int found = 0;
  auto start = Clock::now();
  for (int k = 0; k < kLookups; ++k) {
    const int i = pick(random);
    found += shell::CouponLookup(cupom, kSerial, DayOf(i), 1 + i) ? 1 : 0;
  }
  const double hit_us = Microseconds(Clock::now() - start) / kLookups;
  start = Clock::now();
  for (int k = 0; k < kLookups; ++k) {
    const int i = pick(random);
    found += shell::CouponLookup(cupom, kSerial, DayOf(i), -1 - i) ? 1 : 0;  // right day, no such COO
  }
  const double miss_us = Microseconds(Clock::now() - start) / kLookups;

  std::printf("%9d  %9.1f  %10.1f  %11.2f  %11.2f  %s\n", count, build_ms, opens[opens.size() / 2], hit_us, miss_us,
              found == kLookups ? "ok" : "WRONG ANSWERS");
  std::filesystem::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1000, 100000, 1000000};
  std::printf("%9s  %9s  %10s  %11s  %11s\n", "coupons", "build ms", "open us", "hit us", "miss us");
  try {
    for (int count : sizes) Measure(count);
  } catch (const std::exception& error) {
    std::cerr << "store_bench: " << Cp1252ToUtf8(error.what()) << "\n";
    return 1;
  }
  return 0;
}
