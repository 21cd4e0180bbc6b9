#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/ParadoxFile.h"

namespace kalora::store {

struct RecordPosition {
  int block = 0;
  int index = 0;
  int blocks_walked = 0;  // guards a walk along a looping chain
};

struct OpenOptions {
  int default_code_page = 850;  // for tables whose header records none (3.x, code page 0)
};

// A .DB table with its primary index: walking records in key order and finding the first
// record whose leading key fields hold given bytes. Opening reads two headers only.
class ParadoxTable {
 public:
  enum class IndexKind {
    kNone,            // unkeyed table
    kIndexFile,       // descends the .PX from its root
    kBuiltFromBlocks  // .PX missing or unusable: first keys of the blocks, read once
  };

  // Finds the .PX beside the .DB (any letter case).
  static ParadoxTable OpenFile(const std::filesystem::path& db_path, const OpenOptions& options = {});
  // `index` may be null (no .PX).
  ParadoxTable(std::unique_ptr<ByteSource> data, Text data_name, std::unique_ptr<ByteSource> index, Text index_name,
               const OpenOptions& options = {});

  const TableHeader& Header() const { return data_.Header(); }
  const std::vector<FieldInfo>& Fields() const { return data_.Fields(); }
  int CodePage() const { return data_.CodePage(); }
  const Text& Name() const { return data_.Name(); }
  bool IsKeyed() const { return data_.IsKeyed(); }
  int KeyFieldCount() const { return Header().key_field_count; }
  IndexKind Index() const { return index_kind_; }
  // Why the .PX is not used, when it is not.
  const std::string& IndexNote() const { return index_note_; }

  std::optional<RecordPosition> First();
  std::optional<RecordPosition> Next(const RecordPosition& position);
  // The record's bytes; valid until the next call on this table.
  std::string_view Record(const RecordPosition& position);

  // First record, in key order, whose leading key fields equal `key` (raw field bytes of the
  // first n key fields). Keyed tables only.
  std::optional<RecordPosition> FindKeyPrefix(std::string_view key);

 private:
  struct ScanResult {
    std::optional<RecordPosition> position;
    bool consistent;  // false: the block the index gave lies past the key
  };
  struct IndexFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
  };
  struct BlockKey {
    std::string key;
    int block;
  };

  const Block& LoadBlock(int number);
  const Block& LoadIndexBlock(int number);
  std::optional<RecordPosition> FirstRecordFrom(int block_number, int blocks_walked);
  bool LoadedBlockSpans(std::string_view key) const;
  int DescendIndexFile(std::string_view key);
  int DescendIndexFileOrThrow(std::string_view key);
  int SearchBuiltIndex(std::string_view key);
  void BuildIndexFromBlocks();
  void CheckIndexFile();
  ScanResult ScanForKey(int block_number, std::string_view key);

  ParadoxFile data_;
  std::unique_ptr<ParadoxFile> index_;
  IndexKind index_kind_ = IndexKind::kNone;
  std::string index_note_;
  std::vector<BlockKey> built_index_;
  bool built_ = false;
  Block cached_;
  // The .PX blocks read last: lookups of one day's coupons follow the same path down.
  std::vector<Block> index_cache_;
  std::size_t index_cache_next_ = 0;
};

}  // namespace kalora::store
