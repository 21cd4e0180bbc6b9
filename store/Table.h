#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "runtime/Dates.h"
#include "runtime/Text.h"
#include "store/FieldValue.h"
#include "store/ParadoxTable.h"

namespace kalora::store {

// The field types a component declares, named as the data engine names them. Each belongs to
// a family; opening accepts a table field of any type of the declared field's family.
enum class FieldKind {
  kString,    // text
  kSmallInt,  // whole numbers of any width
  kInteger,
  kAutoInc,
  kFloat,  // floating or money
  kCurrency,
  kDate,  // date, time or both
  kTime,
  kDateTime,
  kBcd,
  kBoolean,
  kBytes,
};

struct FieldDeclaration {
  std::string name;
  FieldKind kind;
};

std::string_view FieldKindName(FieldKind kind);

// A key value for FindKey, matched against the index field at the same position. A text is
// only viewed: FindKey({...}) keeps it alive for the call.
using KeyValue = std::variant<std::string_view, std::int32_t, Date>;

// A read-only table component: a table of an alias with the fields it declares. Errors about
// fields and indexes are EDatabaseError, errors of the files EDBEngineError; every message
// starts with the component's name and ": ".
class Table {
 public:
  Table(std::string component_name, Text table_file, std::string alias, std::vector<FieldDeclaration> fields);
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;
  virtual ~Table();

  // Opens the table in its alias's folder (does nothing when it is open).
  void Open();
  // Opens the table in `folder`, bypassing the alias.
  void OpenIn(const std::filesystem::path& folder);
  void Close();
  bool Active() const { return table_ != nullptr; }
  // For tables whose header records no code page (3.x); 850 unless set.
  void SetDefaultCodePage(int code_page) { default_code_page_ = code_page; }

  // Moves to the first record whose field equals `value` exactly (as text, case-sensitive,
  // whole value). False, with the current record unchanged, when there is none.
  bool Locate(std::string_view field, const Text& value);
  // Moves to the first record, in primary index order, whose first key fields equal `values`.
  bool FindKey(std::initializer_list<KeyValue> values);
  // The current record's field as text (Windows-1252, never cut); empty on an empty table.
  Text AsText(std::string_view field) const;
  bool IsNull(std::string_view field) const;
  Value FieldValue(std::string_view field) const;

  const std::string& ComponentName() const { return component_name_; }
  const Text& TableFile() const { return table_file_; }
  const std::string& Alias() const { return alias_; }
  // The underlying table, while open (for tools and tests).
  ParadoxTable* Underlying() { return table_.get(); }

 private:
  [[noreturn]] void Fail(const char* kind, const std::string& message) const;
  void CheckDeclaredFields(ParadoxTable& table);
  void SetCurrent(const std::optional<RecordPosition>& position);
  const FieldInfo& DeclaredField(std::string_view name) const;
  void RequireOpen() const;
  bool EncodeKey(std::initializer_list<KeyValue> values);

  std::string component_name_;
  Text table_file_;
  std::string alias_;
  std::vector<FieldDeclaration> declared_;
  std::vector<FieldInfo> declared_fields_;  // the table's field for each declaration
  int default_code_page_ = 850;
  std::unique_ptr<ParadoxTable> table_;
  std::string current_;  // bytes of the current record; empty when there is none
  std::string key_;      // the last key FindKey encoded, kept for its storage
};

}  // namespace kalora::store
