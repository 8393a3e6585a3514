// The title information file beside a conference file: the titles of every
// message header and how far the user has read, in 100-byte records. A load
// fills a title table from it, or scans the conference file and writes it anew.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "index/title_info.h"
#include "index/win_fix_file.h"

namespace rkv {

// The title file of a conference file: the file name's base up to its first
// "." (case kept), then ".TTL", in ttlDir (the current directory when empty).
std::string TitleFileName(std::string_view conferencePath, std::string_view ttlDir);

// One load of a conference file's titles.
class TitleFileInfo {
 public:
  TitleFileInfo(TitleInfo& table, std::string_view conferencePath, std::string_view titlePath);

  // Fills the table. 0 on success; -1 when the conference file or the title
  // file cannot be opened, or reading the conference file failed.
  int Load();

  // Set when the titles could not be stored: a number did not fit the
  // columns (the file then holds the header record alone) or writing failed
  // (the file is then as it was). The table is complete either way.
  bool titlesStored() const { return stored_; }
  const std::string& error() const { return error_; }

 private:
  bool TablePrefixMatches(int64_t records);
  bool LastTitleIsHeader();
  bool ExtendsAtLineEnd(int64_t storedSize);
  int Rebuild();
  int Extend(int64_t storedSize);
  // Puts a scan's titles into the table and stores them when the scan succeeded.
  int Finish(std::vector<TitleNode> titles, int64_t lastLine, int scanResult);
  void Write();

  TitleInfo& table_;
  std::string conferenceName_;
  std::unique_ptr<Stream> conference_;
  WinFixFile titleFile_;
  std::string titleName_;
  bool stored_ = true;
  bool protectSource_ = false;  // the title file name is the conference file
  std::string error_;
};

// Loads a conference file's titles through its title file (see TitleFileInfo).
int LoadConferenceTitles(TitleInfo& table, std::string_view conferencePath, std::string_view titlePath,
                         std::string* error = nullptr);

// Stores how far the user read when a viewer closes: a stored position that is
// negative or not below the count becomes 0, and the position then only moves
// forward to index. Rewrites columns 45-49 of the header record in place; a
// title file that does not exist (or is not one of ours) is left alone.
// 0, or -1 when the file could not be written.
int SaveReadPosition(TitleInfo& table, std::string_view titlePath, int index);

}  // namespace rkv
