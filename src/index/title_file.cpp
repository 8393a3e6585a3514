#include "index/title_file.h"

#include "core/paths.h"
#include "divide/line_recogniser.h"
#include "index/header_parse.h"
#include "index/title_records.h"
#include "index/title_scan.h"
#include "platform/os.h"

namespace rkv {

std::string TitleFileName(std::string_view conferencePath, std::string_view ttlDir) {
  std::string name = FileNamePart(conferencePath);
  size_t dot = name.find('.');
  if (dot == std::string::npos) {
    name += '.';
  } else {
    name.resize(dot + 1);
  }
  name += "TTL";
  return ttlDir.empty() ? name : PathJoin(ttlDir, name);
}

TitleFileInfo::TitleFileInfo(TitleInfo& table, std::string_view conferencePath, std::string_view titlePath)
    : table_(table), conferenceName_(conferencePath), titleFile_(kTitleRecordBytes), titleName_(titlePath) {}

int TitleFileInfo::Load() {
  conference_ = OpenTextRead(conferenceName_);
  if (!conference_) {
    error_ = "cannot open " + conferenceName_ + ": " + os::LastErrorText();
    return -1;
  }
  // A title file name that reaches the conference file itself (a room file
  // named like its index in the title folder) must never be written: the
  // titles are shown from a scan and nothing is stored.
  std::optional<FileId> source = FileIdOf(conferenceName_);
  if (source && source == FileIdOf(titleName_)) {
    protectSource_ = true;
    int rc = Rebuild();
    stored_ = false;
    error_ = "the title file would replace " + conferenceName_;
    conference_.reset();
    return rc;
  }
  if (!titleFile_.Open(titleName_)) {
    error_ = "cannot open " + titleName_ + ": " + os::LastErrorText();
    return -1;
  }
  std::optional<TitleFileHeader> header;
  if (auto record = titleFile_.Read()) header = ParseHeaderRecord(*record);
  if (header) {
    table_.readPosition = header->readPosition;
    table_.value4 = header->value4;
    table_.value6 = header->value6;
  }
  int64_t size = os::Stat(conferenceName_).size;
  // The titles already in the table are kept only while the title file still
  // holds exactly them; whatever else was changed is read again in full.
  bool keep = header && table_.count() > 0 && header->fileSize == table_.fileSize &&
              header->lineCount == table_.lineCount && TablePrefixMatches(titleFile_.RecordCount()) &&
              LastTitleIsHeader();
  int rc;
  if (keep && size == header->fileSize) {
    table_.Assign(table_.titles());
    rc = 0;
  } else if (keep && size > header->fileSize && ExtendsAtLineEnd(header->fileSize)) {
    rc = Extend(header->fileSize);
  } else {
    rc = Rebuild();
  }
  titleFile_.Close();
  conference_.reset();
  return rc;
}

bool TitleFileInfo::TablePrefixMatches(int64_t records) {
  if (records != table_.count() + 1 || !titleFile_.Seek(1)) return false;
  for (const TitleNode& title : table_.titles()) {
    auto record = titleFile_.Read();
    if (!record || !(ParseTitleRecord(*record) == title)) return false;
  }
  return true;
}

bool TitleFileInfo::LastTitleIsHeader() {
  const TitleNode& last = table_.title(table_.count() - 1);
  std::string line;
  if (last.offset < 1 || !conference_->Seek(last.offset - 1, SEEK_SET) ||
      !conference_->Gets(line, kConferenceReadBytes + 1) || !IsMessageHeader(line)) {
    return false;
  }
  TitleNode again;
  SetTitleText(again, line);
  return again.text == last.text;
}

// Scanning on from the old end gives what a full scan gives only when the old
// end was the end of a line and the last header had its line after it.
bool TitleFileInfo::ExtendsAtLineEnd(int64_t storedSize) {
  if (table_.count() >= kMaxTitles) return true;
  if (storedSize < 1 || table_.title(table_.count() - 1).line >= table_.lineCount) return false;
  auto raw = Stream::Open(conferenceName_, "rb");
  return raw && raw->Seek(storedSize - 1, SEEK_SET) && raw->Getc() == '\n';
}

int TitleFileInfo::Rebuild() {
  std::vector<TitleNode> titles;
  int64_t lastLine = 0;
  int rc = conference_->Seek(0, SEEK_SET) ? ScanConferenceTitles(*conference_, 1, titles, lastLine) : -1;
  return Finish(std::move(titles), lastLine, rc);
}

int TitleFileInfo::Extend(int64_t storedSize) {
  std::vector<TitleNode> titles = table_.titles();
  int64_t lastLine = table_.lineCount;
  int rc = 0;
  if (titles.size() < static_cast<size_t>(kMaxTitles)) {
    rc = conference_->Seek(storedSize, SEEK_SET)
             ? ScanConferenceTitles(*conference_, table_.lineCount + 1, titles, lastLine)
             : -1;
  }
  return Finish(std::move(titles), lastLine, rc);
}

int TitleFileInfo::Finish(std::vector<TitleNode> titles, int64_t lastLine, int scanResult) {
  table_.fileSize = conference_->Size();
  table_.lineCount = lastLine;
  table_.Assign(std::move(titles));
  if (scanResult != 0) {
    // A table cut short by a read failure is shown but not stored.
    stored_ = false;
    error_ = "cannot read " + conferenceName_;
    return scanResult;
  }
  if (!protectSource_) Write();
  return 0;
}

// The whole file goes to a temporary name first and then replaces the old one,
// so a failure leaves the old file and never a half-written one.
void TitleFileInfo::Write() {
  TitleFileHeader header{table_.fileSize, table_.lineCount, table_.readPosition, table_.value4, table_.value6};
  std::string bytes;
  if (auto head = FormatHeaderRecord(header)) {
    bytes.reserve(kTitleRecordBytes * (table_.titles().size() + 1));
    bytes = *head;
    for (const TitleNode& title : table_.titles()) {
      auto record = FormatTitleRecord(title);
      if (!record) {
        bytes.clear();
        break;
      }
      bytes += *record;
    }
  }
  if (bytes.empty()) {
    // The columns cannot hold this file's numbers: the titles stay in memory
    // and the file keeps a valid header so that the read position survives.
    stored_ = false;
    error_ = "too large for a title file: " + conferenceName_;
    bytes = *FormatHeaderRecord(HeaderThatFits(header));
  }
  titleFile_.Close();
  std::string failure;
  if (!WriteFileAtomically(titleName_, bytes, &failure)) {
    stored_ = false;
    error_ = failure;
  }
}

int LoadConferenceTitles(TitleInfo& table, std::string_view conferencePath, std::string_view titlePath,
                         std::string* error) {
  TitleFileInfo info(table, conferencePath, titlePath);
  int rc = info.Load();
  if (error) *error = info.error();
  return rc;
}

int SaveReadPosition(TitleInfo& table, std::string_view titlePath, int index) {
  if (!FileExists(titlePath)) return 0;
  int32_t position = table.readPosition;
  bool change = false;
  if (position < 0 || position >= table.count()) {
    position = 0;
    change = true;
  }
  if (index > position && FormatReadPosition(index)) {
    position = index;
    change = true;
  }
  if (!change) return 0;
  WinFixFile file(kTitleRecordBytes);
  if (!file.OpenExisting(titlePath)) return -1;
  auto record = file.Read();
  if (!record || !ParseHeaderRecord(*record)) return 0;  // not ours: left alone
  record->replace(45, 5, *FormatReadPosition(position));
  if (!file.Seek(0) || !file.Write(*record)) return -1;
  table.readPosition = position;
  return 0;
}

}  // namespace rkv
