// Conference files made for viewer tests.
#pragma once

#include <functional>
#include <string>

namespace rkv::test {

struct MessageSpec {
  std::string id = "ABC00001";   // 8 bytes
  std::string handle = "handle";
  int commentTo = 0;
  int bodyLines = 2;
};

// A conference file of n messages in the 3-digit header form: a room prompt,
// then per message its header, the line after it (with the comment reference)
// and body lines.
std::string MakeConference(int n, const std::function<MessageSpec(int number)>& spec = {});

}  // namespace rkv::test
