#include "store/ParadoxTable.h"

#include <algorithm>
#include <cstring>

#include "runtime/Errors.h"
#include "store/StorePaths.h"

namespace kalora::store {
namespace {


int IndexBlockNumber(std::string_view entry, int key_width) {
  const auto high = static_cast<unsigned char>(entry[static_cast<std::size_t>(key_width)]);
  const auto low = static_cast<unsigned char>(entry[static_cast<std::size_t>(key_width) + 1]);
  return ((high << 8) | low) ^ 0x8000;
}

int Compare(std::string_view a, std::string_view b) {
  const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  return c;
}

// Records are in key order: the first one whose key prefix is at or after `key`, by halving.
int FirstAtOrAfter(const Block& block, std::string_view key, int record_size) {
  int low = 0;
  int high = block.record_count;
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (Compare(block.Record(middle, record_size).substr(0, key.size()), key) < 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

// The record at `index` when its key prefix is `key`.
std::optional<RecordPosition> MatchAt(const Block& block, int index, std::string_view key, int record_size) {
  if (index >= block.record_count || Compare(block.Record(index, record_size).substr(0, key.size()), key) != 0) {
    return std::nullopt;
  }
  return RecordPosition{block.number, index, 0};
}

}  // namespace

ParadoxTable ParadoxTable::OpenFile(const std::filesystem::path& db_path, const OpenOptions& options) {
  auto data = OpenFileSource(db_path);
  if (!data) throw PlatformError("EDBEngineError", PathText(db_path) + ": cannot open the table file");
  std::filesystem::path px_path = FindSibling(db_path, ".PX");
  std::unique_ptr<ByteSource> index = px_path.empty() ? nullptr : OpenFileSource(px_path);
  return ParadoxTable(std::move(data), PathText(db_path), std::move(index), px_path.empty() ? Text() : PathText(px_path),
                      options);
}

ParadoxTable::ParadoxTable(std::unique_ptr<ByteSource> data, Text data_name, std::unique_ptr<ByteSource> index,
                           Text index_name, const OpenOptions& options)
    : data_(std::move(data), std::move(data_name), FileRole::kData, options.default_code_page) {
  if (!data_.IsKeyed()) return;
  index_kind_ = IndexKind::kBuiltFromBlocks;
  if (!index) {
    index_note_ = "no primary index file";
    return;
  }
  try {
    index_ = std::make_unique<ParadoxFile>(std::move(index), std::move(index_name), FileRole::kPrimaryIndex,
                                           data_.CodePage());
    CheckIndexFile();
    index_kind_ = IndexKind::kIndexFile;
  } catch (const PlatformError& error) {
    index_.reset();
    index_note_ = error.what();
  }
}

void ParadoxTable::CheckIndexFile() {
  const TableHeader& h = index_->Header();
  const auto& keys = index_->Fields();
  if (static_cast<int>(keys.size()) != KeyFieldCount()) index_->Fail("its fields are not the table's key fields");
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].type != Fields()[i].type || keys[i].width != Fields()[i].width) {
      index_->Fail("its fields are not the table's key fields");
    }
  }
  if (Header().first_block != 0 && (h.index_root < 1 || h.index_root > h.blocks_in_file || h.index_levels < 1)) {
    index_->Fail("no root block");
  }
}

const Block& ParadoxTable::LoadBlock(int number) {
  if (cached_.number != number) {
    cached_ = Block{};  // a failed read must not leave a half-replaced block behind
    cached_ = data_.ReadBlock(number);
  }
  return cached_;
}

const Block& ParadoxTable::LoadIndexBlock(int number) {
  constexpr std::size_t kCachedIndexBlocks = 8;  // deeper than any index path
  for (const Block& block : index_cache_) {
    if (block.number == number) return block;
  }
  Block block = index_->ReadBlock(number);
  if (index_cache_.size() < kCachedIndexBlocks) {
    index_cache_.push_back(std::move(block));
    return index_cache_.back();
  }
  Block& slot = index_cache_[index_cache_next_];
  index_cache_next_ = (index_cache_next_ + 1) % kCachedIndexBlocks;
  slot = std::move(block);
  return slot;
}

std::optional<RecordPosition> ParadoxTable::FirstRecordFrom(int block_number, int blocks_walked) {
  while (block_number != 0) {
    if (++blocks_walked > Header().blocks_in_file) data_.Fail("the chain of blocks loops");
    const Block& block = LoadBlock(block_number);
    if (block.record_count > 0) return RecordPosition{block_number, 0, blocks_walked};
    block_number = block.next;
  }
  return std::nullopt;
}

std::optional<RecordPosition> ParadoxTable::First() { return FirstRecordFrom(Header().first_block, 0); }

std::optional<RecordPosition> ParadoxTable::Next(const RecordPosition& position) {
  const Block& block = LoadBlock(position.block);
  if (position.index + 1 < block.record_count) {
    return RecordPosition{position.block, position.index + 1, position.blocks_walked};
  }
  return FirstRecordFrom(block.next, position.blocks_walked);
}

std::string_view ParadoxTable::Record(const RecordPosition& position) {
  const Block& block = LoadBlock(position.block);
  if (position.index < 0 || position.index >= block.record_count) data_.Fail("record position outside its block");
  return block.Record(position.index, Header().record_size);
}

std::optional<RecordPosition> ParadoxTable::FindKeyPrefix(std::string_view key) {
  if (!IsKeyed() || Header().first_block == 0) return std::nullopt;
  if (key.size() > static_cast<std::size_t>(data_.PrefixWidth(KeyFieldCount()))) return std::nullopt;
  if (LoadedBlockSpans(key)) {
    const int record_size = Header().record_size;
    return MatchAt(cached_, FirstAtOrAfter(cached_, key, record_size), key, record_size);
  }
  if (index_kind_ == IndexKind::kIndexFile) {
    std::string problem;
    try {
      const ScanResult result = ScanForKey(DescendIndexFile(key), key);
      if (result.consistent) return result.position;
      problem = index_->Name() + ": leads past the searched key";
    } catch (const IndexFileError& error) {
      problem = error.what();
    }
    // A damaged .PX must not change the answers: fall back to the blocks themselves.
    index_note_ = problem;
    index_kind_ = IndexKind::kBuiltFromBlocks;
    index_.reset();
    index_cache_.clear();
  }
  return ScanForKey(SearchBuiltIndex(key), key).position;
}

// Lookups tend to follow one another through a block (one day's coupons, in COO order). When
// the block in memory starts before the key and ends at or after it, the first match can only
// be there, found or not, and the index is not needed.
bool ParadoxTable::LoadedBlockSpans(std::string_view key) const {
  const Block& block = cached_;
  if (block.number == 0 || block.record_count == 0) return false;
  const int record_size = Header().record_size;
  const auto prefix = [&](int index) { return block.Record(index, record_size).substr(0, key.size()); };
  return Compare(prefix(0), key) < 0 && Compare(prefix(block.record_count - 1), key) >= 0;
}

// At each level take the last entry whose key is below the searched one (or the first entry):
// the first matching record then lies in that block or at the start of the next.
int ParadoxTable::DescendIndexFile(std::string_view key) {
  try {
    return DescendIndexFileOrThrow(key);
  } catch (const PlatformError& error) {
    throw IndexFileError(error.what());
  }
}

int ParadoxTable::DescendIndexFileOrThrow(std::string_view key) {
  const TableHeader& h = index_->Header();
  const int key_width = index_->PrefixWidth(KeyFieldCount());
  int block_number = h.index_root;
  for (int level = h.index_levels; level >= 1; --level) {
    const Block& block = LoadIndexBlock(block_number);
    if (block.record_count == 0) index_->Fail("empty block " + std::to_string(block_number) + " on the search path");
    // Entries are in key order: the last one below the key, by halving.
    int below = 0;
    int above = block.record_count;
    while (above - below > 1) {
      const int middle = below + (above - below) / 2;
      if (Compare(block.Record(middle, h.record_size).substr(0, key.size()), key) < 0) {
        below = middle;
      } else {
        above = middle;
      }
    }
    const int chosen = below;
    block_number = IndexBlockNumber(block.Record(chosen, h.record_size), key_width);
    const int limit = level == 1 ? Header().blocks_in_file : h.blocks_in_file;
    if (block_number < 1 || block_number > limit) {
      index_->Fail("entry points to block " + std::to_string(block_number) + " outside the file");
    }
  }
  return block_number;
}

void ParadoxTable::BuildIndexFromBlocks() {
  const int key_width = data_.PrefixWidth(KeyFieldCount());
  int walked = 0;
  for (int number = Header().first_block; number != 0;) {
    if (++walked > Header().blocks_in_file) data_.Fail("the chain of blocks loops");
    const Block block = data_.ReadBlockStart(number);
    if (block.record_count > 0) built_index_.push_back({block.records.substr(0, key_width), number});
    number = block.next;
  }
  built_ = true;
}

int ParadoxTable::SearchBuiltIndex(std::string_view key) {
  if (!built_) BuildIndexFromBlocks();
  if (built_index_.empty()) return Header().first_block;
  auto below = std::lower_bound(built_index_.begin(), built_index_.end(), key, [](const BlockKey& entry, std::string_view k) {
    return Compare(std::string_view(entry.key).substr(0, k.size()), k) < 0;
  });
  return below == built_index_.begin() ? built_index_.front().block : std::prev(below)->block;
}

ParadoxTable::ScanResult ParadoxTable::ScanForKey(int block_number, std::string_view key) {
  const int record_size = Header().record_size;
  const auto starts_at_or_after = [&](const Block& block) {
    return block.record_count == 0 || Compare(block.Record(0, record_size).substr(0, key.size()), key) >= 0;
  };
  // An index entry may lag behind its block's first key: when the block starts at or after
  // the key, the first match may sit at the end of the previous block. That block must start
  // before the key, or the index is not the table's.
  if (const Block& start = LoadBlock(block_number); start.prev != 0 && starts_at_or_after(start)) {
    block_number = start.prev;
    const Block& previous = LoadBlock(block_number);
    if (previous.record_count > 0 && Compare(previous.Record(0, record_size).substr(0, key.size()), key) > 0) {
      return ScanResult{std::nullopt, false};
    }
  }
  int walked = 0;
  while (block_number != 0) {
    if (++walked > Header().blocks_in_file) data_.Fail("the chain of blocks loops");
    const Block& block = LoadBlock(block_number);
    const int low = FirstAtOrAfter(block, key, record_size);
    if (low < block.record_count) return ScanResult{MatchAt(block, low, key, record_size), true};
    block_number = block.next;
  }
  return ScanResult{std::nullopt, true};
}

}  // namespace kalora::store
