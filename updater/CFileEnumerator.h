// A breadth-first walk of a folder tree that reports every file or every folder to a handler, and
// the handler the update uses: a sorted map of names relative to the root and their flags.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace updater {

// "アップデートファイルの列挙に失敗しました。"
inline constexpr char kEnumerationFailed[] =
    "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5b\x83\x67\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc"
    "\x97\xf1\x8b\x93\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

// Entry flags: 0 the path does not exist, 1 a file, 2 a folder, plus these.
constexpr uint8_t kEntryFile = 1;
constexpr uint8_t kEntryFolder = 2;
constexpr uint8_t kEntryReadOnly = 4;
constexpr uint8_t kEntryHidden = 8;
constexpr uint8_t kEntrySystem = 0x10;

class CFileEnumerator {
 public:
  // folders non-zero: report folders (the root first); zero: report files that pass the pattern.
  CFileEnumerator(std::string root, std::string pattern, int folders, unsigned maxDepth);
  virtual ~CFileEnumerator() = default;

  // Symbolic links to folders are neither reported nor entered.
  void Walk();

  int Accepted() const { return accepted_; }
  int Skipped() const { return skipped_; }
  // A folder that could not be listed, or an entry whose attributes could not be read.
  bool Failed() const { return failed_; }
  const std::string& Root() const { return root_; }

  // The pattern rule for files: ".*" takes every name; another pattern a name that ends in it
  // (without regard to case) and is longer; the empty pattern a name without a '.'.
  static bool PatternAccepts(const std::string& pattern, const std::string& name);
  // Entry flags from the system's attributes (0 for INVALID_FILE_ATTRIBUTES).
  static uint8_t FlagsOf(uint32_t attributes);

 protected:
  virtual bool OnFound(const std::string& path, uint8_t flags) = 0;
  virtual void OnFinish() {}
  // A symbolic link to a folder, met in either mode; it is counted as skipped.
  virtual void OnFolderLink(const std::string& /*path*/) {}

 private:
  void Report(const std::string& path, uint8_t flags);
  using FolderQueue = std::deque<std::pair<std::string, unsigned>>;
  void ListFolder(const std::string& folder, unsigned depth, FolderQueue& queue);

  std::string root_;
  std::string pattern_;
  int folders_;
  int accepted_ = 0;
  int skipped_ = 0;
  unsigned maxDepth_;
  bool failed_ = false;
};

class CUpdateFileEnumerator : public CFileEnumerator {
 public:
  using EntryMap = std::map<std::string, uint8_t>;

  CUpdateFileEnumerator(std::string root, std::string pattern, int folders);
  // Names relative to the root ("./" for the root itself, "sub/name" inside a folder), sorted as
  // bytes, so a folder comes before everything inside it.
  const EntryMap& Entries() const { return entries_; }
  // The links to folders met, named as the entries are.
  const std::set<std::string>& FolderLinks() const { return folderLinks_; }

 protected:
  // Throws kEnumerationFailed for a name met twice.
  bool OnFound(const std::string& path, uint8_t flags) override;
  void OnFolderLink(const std::string& path) override;

 private:
  std::string RelativeName(const std::string& path) const;

  EntryMap entries_;
  std::set<std::string> folderLinks_;
};

}  // namespace updater
