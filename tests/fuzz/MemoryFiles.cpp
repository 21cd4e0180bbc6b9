#include "tests/fuzz/MemoryFiles.h"

#include <vector>

#include "runtime/Errors.h"
#include "tests/support/ChunkedInput.h"

namespace kalora::fuzz {

namespace {

class MemoryFileOutput : public OutputStream {
 public:
  explicit MemoryFileOutput(std::shared_ptr<std::string> bytes) : bytes_(std::move(bytes)) {}
  void Write(std::string_view bytes) override { bytes_->append(bytes); }
  void Close() override {}

 private:
  std::shared_ptr<std::string> bytes_;
};

Text ParentOf(const Text& resolved) {
  size_t cut = resolved.find_last_of('\\');
  return cut == Text::npos ? Text() : resolved.substr(0, cut);
}

}  // namespace

Text MemoryFiles::Resolved(const Text& path) {
  std::vector<Text> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t cut = path.find_first_of("\\/", pos);
    if (cut == Text::npos) cut = path.size();
    Text part = path.substr(pos, cut - pos);
    if (part == "..") {
      if (parts.size() > 1) parts.pop_back();  // never above the drive
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = cut + 1;
  }
  Text resolved;
  for (const Text& part : parts) resolved += (resolved.empty() ? "" : "\\") + part;
  return resolved;
}

std::map<Text, std::string> MemoryFiles::Snapshot() const {
  std::map<Text, std::string> snapshot;
  for (const auto& [path, bytes] : files_) snapshot[path] = *bytes;
  return snapshot;
}

void MemoryFiles::Put(const Text& path, std::string bytes) {
  Text resolved = Resolved(path);
  for (Text folder = ParentOf(resolved); !folder.empty(); folder = ParentOf(folder)) {
    folders_.insert(folder);
  }
  files_[resolved] = std::make_shared<std::string>(std::move(bytes));
}

Text MemoryFiles::InExistingFolder(const Text& path) const {
  Text resolved = Resolved(path);
  if (!folders_.contains(ParentOf(resolved))) throw InOutError(3);
  return resolved;
}

bool MemoryFiles::FileExists(const Text& path) { return files_.contains(Resolved(path)); }

bool MemoryFiles::FolderExists(const Text& path) { return folders_.contains(Resolved(path)); }

bool MemoryFiles::CreateFolder(const Text& path) {
  Text resolved = Resolved(path);
  if (!folders_.contains(ParentOf(resolved)) || files_.contains(resolved)) return false;
  return folders_.insert(resolved).second;
}

bool MemoryFiles::RemoveFile(const Text& path) { return files_.erase(Resolved(path)) > 0; }

bool MemoryFiles::CopyOver(const Text& from, const Text& to) {
  auto source = files_.find(Resolved(from));
  Text target = Resolved(to);
  if (source == files_.end() || !folders_.contains(ParentOf(target))) return false;
  files_[target] = std::make_shared<std::string>(*source->second);
  return true;
}

void MemoryFiles::MoveOver(const Text& from, const Text& to) {
  Text target = InExistingFolder(to);
  auto source = files_.find(Resolved(from));
  if (source == files_.end()) throw InOutError(2);
  Bytes bytes = source->second;
  files_.erase(source);
  files_[target] = std::move(bytes);
}

std::unique_ptr<InputStream> MemoryFiles::OpenRead(const Text& path) {
  auto file = files_.find(InExistingFolder(path));
  if (file == files_.end()) throw InOutError(2);
  return std::make_unique<testing::ChunkedInput>(*file->second, read_chunk_);
}

std::unique_ptr<OutputStream> MemoryFiles::Create(const Text& path) {
  Text resolved = InExistingFolder(path);
  if (folders_.contains(resolved)) throw InOutError(5);
  auto bytes = std::make_shared<std::string>();
  files_[resolved] = bytes;
  return std::make_unique<MemoryFileOutput>(bytes);
}

}  // namespace kalora::fuzz
