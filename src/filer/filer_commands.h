// Command ids of a filer window and the ids of its button bar. Keys, buttons,
// the right-button menu and the frame's menu all end in these numbers.
#pragma once

namespace rkv::filer_cmd {

inline constexpr int kFirstPage = 155;  // as Home
inline constexpr int kLastPage = 156;   // as End

// Archive commands: the archive bridge runs them.
inline constexpr int kLhaCompress = 182;
inline constexpr int kLhaUnpack = 183;
inline constexpr int kIshConvert = 184;
inline constexpr int kIshRestore = 185;
inline constexpr int kZipUnpack = 187;
inline constexpr int kNoEffect1 = 188;
inline constexpr int kNoEffect2 = 189;

inline constexpr int kRunCommand = 190;
inline constexpr int kAppendFile = 191;
inline constexpr int kAppendClipboard = 192;
inline constexpr int kFileToClipboard = 193;

inline constexpr int kView = 300;
inline constexpr int kDivide = 301;
inline constexpr int kCopy = 302;
inline constexpr int kDelete = 303;
inline constexpr int kMove = 304;
inline constexpr int kRename = 305;
inline constexpr int kReread = 306;
inline constexpr int kMakeDir = 307;
inline constexpr int kRemoveDir = 308;
inline constexpr int kDeleteBak = 313;
inline constexpr int kEditor = 320;
inline constexpr int kProgram1 = 321;  // to 328 for Prg1 to Prg8
inline constexpr int kProgram8 = 328;
inline constexpr int kClose = 354;

inline constexpr int kSortNameUp = 511;
inline constexpr int kSortNameDown = 512;
inline constexpr int kSortExtUp = 513;
inline constexpr int kSortExtDown = 514;
inline constexpr int kSortLargest = 515;
inline constexpr int kSortSmallest = 516;
inline constexpr int kSortNewest = 517;
inline constexpr int kSortOldest = 518;

// The button bar (these ids belong to the filer's own buttons, not to the menu).
inline constexpr int kButtonPath = 101;
inline constexpr int kButtonName = 102;
inline constexpr int kButtonExt = 103;
inline constexpr int kButtonDate = 104;
inline constexpr int kButtonMask = 105;
inline constexpr int kButtonMarkAll = 106;
inline constexpr int kButtonReread = 107;

}  // namespace rkv::filer_cmd
