// Carrying messages out of a viewer: the selected messages appended to a file,
// the messages that hold a keyword written to a file, the current message as
// clipboard text and collected in the editor's temporary file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"
#include "index/title_info.h"

namespace rkv {

struct RKVcfg;

// The file a viewer shows, as these tools read it.
struct ViewedFile {
  std::string path;
  const TitleInfo* titles = nullptr;
  int promptRule = 1;
};

// The keyword search's fields, kept for the life of the process so the dialog
// opens with the previous search.
SearchKeys& LastSearchKeys();

// Half-width blanks removed at both ends; full-width blanks stay.
std::string TrimKeyword(std::string_view key);

// Whether key occurs in text where a character starts: a match that begins on
// the second byte of a two-byte character is no match.
bool ContainsKeyword(std::string_view text, std::string_view key);

// A name typed without a folder is taken in the given folder.
std::string PathInFolder(std::string_view folder, std::string_view name);

enum class ToolOutcome { Cancelled, Done, Failed };

// Appends the messages of the title indices, in that order, to a file the user
// chooses (each line with a line feed).
ToolOutcome OutputMessages(const ViewedFile& file, const std::vector<int>& titleIndices, const RKVcfg& cfg, Host& host);

// The keyword search: the dialog, then every message header's message that
// holds either keyword in one of its lines written to the output file, which
// is emptied first.
ToolOutcome SearchMessages(const ViewedFile& file, const RKVcfg& cfg, Host& host);

// The search proper on trimmed keywords (an empty one takes no part): the
// number of messages written, or -1 when either file did not open.
int WriteMatchingMessages(const ViewedFile& file, std::string_view key1, std::string_view key2,
                          std::string_view outPath);

// The message as clipboard text: every line ended by CR LF.
std::string ClipboardText(const std::vector<std::string>& lines);

// Appends the message to the temporary file "RKVTEMP.$$$" in EtcDir and starts
// the editor on it.
void EditMessageCopy(const std::vector<std::string>& lines, const RKVcfg& cfg, Host& host);

}  // namespace rkv
