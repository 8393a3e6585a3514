#include "platform/launch.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "core/paths.h"
#include "platform/os.h"

namespace rkv::os {

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word.push_back(c);
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

int LaunchDetached(std::string_view commandLine) {
  std::vector<std::string> words = SplitCommandLine(commandLine);
  if (words.empty()) return 2;
  if (SameNameNoCase(words[0], "NOTEPAD") || SameNameNoCase(words[0], "NOTEPAD.EXE")) {
    words[0] = "xdg-open";
  }
  std::vector<std::string> native;
  for (const auto& w : words) native.push_back(Native(w));
  std::vector<char*> argv;
  for (auto& w : native) argv.push_back(w.data());
  argv.push_back(nullptr);

  int status[2];
  if (::pipe2(status, O_CLOEXEC) != 0) return 2;
  pid_t child = ::fork();
  if (child < 0) {
    ::close(status[0]);
    ::close(status[1]);
    return 2;
  }
  if (child == 0) {
    // The grandchild runs the program; the child exits at once so that the
    // program is never our child to reap.
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::execvp(argv[0], argv.data());
      int err = errno;
      (void)!::write(status[1], &err, sizeof err);
      ::_exit(127);
    }
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  ::close(status[1]);
  int childStatus = 0;
  while (::waitpid(child, &childStatus, 0) < 0 && errno == EINTR) {
  }
  int err = 0;
  ssize_t got;
  while ((got = ::read(status[0], &err, sizeof err)) < 0 && errno == EINTR) {
  }
  ::close(status[0]);
  if (!WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0) return 2;
  return got == static_cast<ssize_t>(sizeof err) ? 2 : 33;
}

}  // namespace rkv::os
