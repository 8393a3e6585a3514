// Kinds shared by the client, the viewers and the filers.
#pragma once

namespace rkv {

// What a viewer shows: 0 a log (or any split file), 1 a conference file, 2 mail.
enum FileKind : int { kLogFile = 0, kConferenceFile = 1, kMailFile = 2 };

// Which directory list, mask and sort key a filer starts from.
enum FilerKind : int { kLogFiler = 0, kCnfFiler = 1, kMailFiler = 2 };

}  // namespace rkv
