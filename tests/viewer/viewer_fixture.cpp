#include "viewer/viewer_fixture.h"

#include <cstdio>

namespace rkv::test {

std::string MakeConference(int n, const std::function<MessageSpec(int)>& spec) {
  std::string out = "- ROOM  MES( 5):Test room\r\n";
  for (int i = 1; i <= n; ++i) {
    MessageSpec m = spec ? spec(i) : MessageSpec{};
    char header[128];
    std::snprintf(header, sizeof header, "%03d/%03d   %-8.8s  %-16.16s Subject %d   97/05/12 12:34\r\n", i, n,
                  m.id.c_str(), m.handle.c_str(), i);
    out += header;
    char after[128];
    std::snprintf(after, sizeof after, "                       %5d  comment line\r\n", m.commentTo);
    out += after;
    for (int b = 0; b < m.bodyLines; ++b) out += "body line " + std::to_string(b) + " of message " + std::to_string(i) + "\r\n";
  }
  return out;
}

}  // namespace rkv::test
