#include "store/TableDump.h"

#include <sstream>

#include "store/CodePages.h"
#include "store/FieldValue.h"

namespace kalora::store {
namespace {

constexpr char kLineEnd[] = "\r\n";

std::string CsvQuoted(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string Hex(std::string_view bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
  }
  return out;
}

std::string KindLine(const ParadoxTable& table) {
  if (!table.IsKeyed()) return "unkeyed";
  std::string line = "keyed on " + std::to_string(table.KeyFieldCount()) + " field" +
                     (table.KeyFieldCount() == 1 ? "" : "s");
  if (table.Index() == ParadoxTable::IndexKind::kIndexFile) return line + ", primary index file in use";
  return line + ", primary index built from the blocks (" + table.IndexNote() + ")";
}

std::string FieldLine(int number, const FieldInfo& field, bool key) {
  std::string line = "  " + std::to_string(number) + ". " + ToUtf8(field.name, 1252) + " " +
                     std::string(FieldLetter(field.type));
  const bool sized = field.type == FieldType::kAlpha || field.type == FieldType::kBytes || IsBlob(field.type) ||
                     field.type == FieldType::kBcd;
  if (sized) line += std::to_string(field.descriptor_size);
  line += " (" + std::string(EngineTypeName(field.type)) + ")";
  if (key) line += " key";
  if (IsBlob(field.type)) line += ", not shown";
  return line;
}

}  // namespace

std::string DumpText(const Value& value, int code_page) {
  struct Visitor {
    int code_page;
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(const TableText& v) const { return ToUtf8(v.bytes, code_page); }
    std::string operator()(std::int32_t v) const { return std::to_string(v); }
    std::string operator()(double v) const { return FormatNumber(v); }
    std::string operator()(Date v) const { return FormatIsoDate(v); }
    std::string operator()(TimeOfDay v) const { return FormatTime(v.milliseconds); }
    std::string operator()(const Timestamp& v) const {
      auto split = SplitTimestamp(v);
      if (!split) return FormatNumber(v.milliseconds);
      return FormatIsoDate(split->first) + " " + FormatTime(split->second);
    }
    std::string operator()(bool v) const { return v ? "true" : "false"; }
    std::string operator()(const Decimal& v) const { return FormatDecimal(v); }
    std::string operator()(const RawBytes& v) const { return Hex(v.bytes); }
  };
  return std::visit(Visitor{code_page}, value);
}

void DumpTable(const std::filesystem::path& file, std::ostream& out, const DumpOptions& options) {
  ParadoxTable table = ParadoxTable::OpenFile(file, OpenOptions{options.default_code_page});
  DumpTable(table, out);
}

void DumpTable(ParadoxTable& table, std::ostream& out) {
  // Built in memory first so that a table failing half-way prints nothing.
  std::ostringstream csv;
  const auto& fields = table.Fields();
  const int code_page = table.CodePage();
  bool first_column = true;
  for (const auto& field : fields) {
    if (IsBlob(field.type)) continue;
    csv << (first_column ? "" : ",") << CsvQuoted(ToUtf8(field.name, 1252));
    first_column = false;
  }
  csv << kLineEnd;
  std::uint64_t records = 0;
  for (auto position = table.First(); position; position = table.Next(*position)) {
    const std::string_view record = table.Record(*position);
    first_column = true;
    for (const auto& field : fields) {
      if (IsBlob(field.type)) continue;
      csv << (first_column ? "" : ",") << CsvQuoted(DumpText(DecodeValue(field, record), code_page));
      first_column = false;
    }
    csv << kLineEnd;
    ++records;
  }

  const TableHeader& h = table.Header();
  out << "Table: " << ToUtf8(table.Name(), 1252) << kLineEnd;
  out << "Version: " << VersionName(h.file_version) << " (version byte " << h.file_version << ")" << kLineEnd;
  out << "Kind: " << KindLine(table) << kLineEnd;
  out << "Code page: " << code_page << (h.code_page == 0 ? " (none in the header; default used)" : "")
      << (IsKnownCodePage(code_page) ? "" : " (not known here: other than ASCII shows as U+FFFD)") << kLineEnd;
  if (!h.sort_order.empty()) out << "Sort order: " << h.sort_order << kLineEnd;
  out << "Block size: " << h.block_size / 1024 << " KB" << kLineEnd;
  out << "Records: " << records;
  if (records != h.record_count) out << " (the header says " << h.record_count << ")";
  out << kLineEnd;
  out << "Fields: " << fields.size() << kLineEnd;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    out << FieldLine(static_cast<int>(i + 1), fields[i], static_cast<int>(i) < table.KeyFieldCount())
        << kLineEnd;
  }
  out << kLineEnd << csv.str();
}

}  // namespace kalora::store
