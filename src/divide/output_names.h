// Where each block of a division goes: the output kinds, the file name of
// every kind under both conference naming rules, the directories, and the
// 0-9 A-Z series used for one mail per file and for renaming the log.
#pragma once

#include <string>
#include <string_view>

#include "core/host.h"
#include "settings/settings.h"

namespace rkv {

enum class OutputKind { None = 0, Conference = 1, Mail, SentMail, Hp, Patio, MailList, Etc };

// The kind of block a line of the block classifier opens; None opens nothing.
OutputKind OutputKindOf(int lineKind);

// Of a conference prompt line: the room name (column 2 up to the first blank)
// and the conference number as its two columns after "(".
std::string RoomName(std::string_view prompt);
std::string ConferenceNumber(std::string_view prompt);

// Name rule 0: one flat file per room and conference, such as ABCDE_05.CNF.
std::string FlatConferenceName(std::string_view room, std::string_view number,
                               std::string_view cnfExt);
// Name rule 1: a folder per room (its first 8 bytes) holding a file per
// conference, such as ABCDEF/ABCDEF_5.
std::string RoomFolderName(std::string_view room);
std::string RoomFileName(std::string_view room, std::string_view number);

// Names made from the day of the division.
std::string MailFileName(const Date& today, int mailName);
std::string SentMailFileName(const Date& today);
std::string HpFileName(const Date& today, int hpNameRule);
std::string MailListFileName(const Date& today);
std::string EtcFileName(const Date& today);
// The text after the patio prompt's colon, cut to 8 (or 7) bytes and made a
// safe, portable name; "PTyymmdd" when there is none.
std::string PatioFileName(std::string_view prompt, const Date& today);

// The folder of each kind; for conferences that of the name rule.
std::string ConferenceFolder(const RKVcfg& cfg);
std::string OutputFolder(const RKVcfg& cfg, OutputKind kind);
// The division record, beside the conference files.
std::string RecordPath(const RKVcfg& cfg);

// "0" to "9", then "A" to "Z"; "Z" stays.
char NextSeriesByte(char c);
// The path itself (its last byte set to "0" when resetLast) stepped through
// the series while a file of that name exists.
std::string FreeSeriesName(std::string path, bool resetLast);

}  // namespace rkv
