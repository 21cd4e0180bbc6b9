#include "generation/DailyFinishing.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "generation/CustomerDocument.h"
#include "generation/OutputFolders.h"
#include "os/Files.h"
#include "runtime/Errors.h"
#include "runtime/Numbers.h"
#include "runtime/TextLines.h"

namespace kalora::gen {

namespace {

constexpr std::string_view kDayFilePrefix = "NFP_DIA_";
constexpr std::string_view kDayFileExtension = ".txt";
// The finished file is written under this suffix and renamed when the day is complete.
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::string_view kCouponRecord = "E14";
constexpr std::string_view kDayLetters = "123456789ABCDEFGHIJKLMNOPQRSTUV";

constexpr size_t kKeptLength = 137;  // positions 1-137 of a coupon record stay as they are
constexpr size_t kNameLength = 40;

// 1-based inclusive positions.
struct Field {
  size_t first;
  size_t last;
};
constexpr Field kRecordType{1, 3};     // a prefix of the line
constexpr Field kSerial{4, 23};        // first line
constexpr Field kSerialInName{4, 11};  // first line
constexpr Field kCoo{53, 58};
constexpr Field kYear{59, 62};
constexpr Field kMonth{63, 64};
constexpr Field kDay{65, 66};
// Of the day text "dd/mm/yyyy".
constexpr Field kDiaDay{1, 2};
constexpr Field kDiaMonth{4, 5};
constexpr Field kDiaYear{9, 10};

Text Take(std::string_view text, Field field) { return Slice(text, field.first, field.last); }

Text DayCode(std::string_view dia) {
  return Nr2lt(Take(dia, kDiaDay)) + Nr2lt(Take(dia, kDiaMonth)) + Nr2lt(Take(dia, kDiaYear));
}

// Read on every line, so compared in place.
bool IsCouponRecord(std::string_view line) {
  return line.substr(0, kRecordType.last) == kCouponRecord;
}

int32_t CouponCoo(std::string_view line) { return StrToInt(Take(line, kCoo)); }

Date CouponDate(std::string_view line) {
  return ParseDate(Take(line, kDay) + "/" + Take(line, kMonth) + "/" + Take(line, kYear));
}

bool IsControl(char c) {
  auto code = static_cast<unsigned char>(c);
  return code < 32 || code == 127;
}

// The name as it goes into its 40 positions: trimmed, with no character inside that could
// split the record (a CR, an LF, ...), and never longer than its field.
Text RecordName(std::string_view nome) {
  Text name = TrimControls(nome);
  std::replace_if(name.begin(), name.end(), IsControl, ' ');
  if (name.size() > kNameLength) name.resize(kNameLength);
  return name;
}

// Positions 1-137 of the record (padded with blanks when the line is shorter, so the name
// and number land in their own positions), the name in 40 and the number in 14.
void FinishCouponLine(std::string_view line, const Customer& customer, Text& finished) {
  finished.assign(line.substr(0, std::min(line.size(), kKeptLength)));
  finished.resize(kKeptLength, ' ');
  Text name = RecordName(customer.nome);
  finished += name;
  finished.append(kNameLength - name.size(), ' ');
  finished += ReadCustomerDocument(customer.cpf).field;
}

// A character Windows refuses in a file name. The finished file is named from the day file's
// first line, where a "\" or "/" would put it outside Final, over some other file even, so
// such a name is refused on every system with Windows' own answer.
bool NotInFileName(char c) {
  constexpr std::string_view kRefused = "<>:\"/\\|?*";
  return static_cast<unsigned char>(c) < 32 || kRefused.find(c) != std::string_view::npos;
}

Text FinishedFilePath(std::string_view first_line, const Text& day_code) {
  Text serial = Take(first_line, kSerialInName);
  if (std::any_of(serial.begin(), serial.end(), NotInFileName)) throw InOutError(3);
  return kFinalFolder + serial + "." + day_code;
}

// A finished file while it is being written. It lives under a temporary name in its own
// folder and takes its real name only on Commit, so a day that fails halfway never leaves a
// file that looks finished, nor spoils an older one; without Commit it is removed.
class PendingFile {
 public:
  explicit PendingFile(Text path)
      : path_(std::move(path)),
        temporary_(path_ + Text(kTemporarySuffix)),
        stream_(os::Files().Create(temporary_)),
        writer_(*stream_) {}

  ~PendingFile() {
    if (committed_) return;
    stream_.reset();  // closed first: an open file cannot be removed on Windows
    os::Files().RemoveFile(temporary_);
  }

  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  void WriteLine(std::string_view line) { writer_.WriteLine(line); }

  void Commit() {
    writer_.Close();
    os::Files().MoveOver(temporary_, path_);
    committed_ = true;
  }

 private:
  Text path_;
  Text temporary_;
  std::unique_ptr<OutputStream> stream_;
  LineWriter writer_;
  bool committed_ = false;
};

}  // namespace

Text DayFilePath(Date day) {
  return kOutputFolder + Text(kDayFilePrefix) + FormatYyyymmdd(day) + Text(kDayFileExtension);
}

Text Nr2lt(std::string_view texto) {
  auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  if (texto.size() != 2 || !is_digit(texto[0]) || !is_digit(texto[1])) return {};
  int value = (texto[0] - '0') * 10 + (texto[1] - '0');
  if (value < 1 || value > static_cast<int>(kDayLetters.size())) return {};
  return Text(1, kDayLetters[static_cast<size_t>(value - 1)]);
}

void AdicionaCPF(const Text& dia, CouponSource& coupons) {
  const Text day_code = DayCode(dia);
  auto input = os::Files().OpenRead(DayFilePath(ParseDate(dia)));
  LineReader reader(*input);

  std::optional<PendingFile> output;
  Text serial;
  Text line;
  Text finished;
  while (reader.ReadLine(line)) {
    if (!output) {
      // The first line, whatever its type, names the printer.
      serial = Take(line, kSerial);
      output.emplace(FinishedFilePath(line, day_code));
    }
    std::optional<Customer> customer;
    if (IsCouponRecord(line)) {
      int32_t coo = CouponCoo(line);  // read first: a bad COO is reported before a bad date
      customer = coupons.Find(serial, CouponDate(line), coo);
    }
    if (customer) {
      FinishCouponLine(line, *customer, finished);
      output->WriteLine(finished);
    } else {
      output->WriteLine(line);
    }
  }
  input.reset();
  if (output) output->Commit();
}

}  // namespace kalora::gen
