// PAD: the draft of a new message, a response or a reply mail, made from the
// message being read through a template, appended to the PAD file and opened
// in the editor.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"
#include "index/title_info.h"

namespace rkv {

class Stream;
struct RKVcfg;

// The header fields of the current message, each cut to its field's size.
struct PadFields {
  std::string forum;       // %F
  std::string id;          // %I
  std::string handle;      // %H
  std::string conference;  // %M
  std::string number;      // %N
  std::string title;       // %T
};

// What the composer reads of a viewer.
struct PadSource {
  const std::vector<std::string>* message = nullptr;  // the message's lines, header first
  const TitleInfo* titles = nullptr;
  int titleIndex = 0;   // the current message's title
  int fileType = 0;     // 0 log, 1 conference file
  std::string status;   // a conference file's first line
  std::string path;     // the viewed file
};

PadFields PadHeaderFields(const PadSource& source);

// The signature with its codes expanded: %C line feed, %D date, %T time,
// %Snn that many blanks (none above 80).
std::string ExpandSignature(std::string_view sign, const Date& date, const TimeOfDay& time);

// Writes the template's text to the stream. The text always ends with a line
// feed, so the next text appended starts on a line of its own. False when a
// write failed (the rest is skipped).
bool ExpandPadTemplate(std::string_view padTemplate, const PadFields& fields, const std::vector<std::string>& message,
                       const RKVcfg& cfg, const Date& date, const TimeOfDay& time, Stream& out);

// Commands 350 (slot 1, PadSay), 351 (slot 2, PadRes) and 352 (slot 3, PadMail).
// False when the message was refused, the name cancelled or a write failed.
bool ComposePad(const PadSource& source, int slot, const RKVcfg& cfg, Host& host);

}  // namespace rkv
