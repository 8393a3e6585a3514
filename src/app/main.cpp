#include <QApplication>

#include <string>
#include <vector>

#include "app/startup.h"
#include "app/tmy_app.h"
#include "platform/os.h"

int main(int argc, char** argv) {
  // Qt takes its own options (-platform, -style ...) out of the arguments first;
  // what remains is the program's.
  QApplication qapp(argc, argv);
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(rkv::os::FromNative(argv[i]));
  rkv::TMyApp app(rkv::ChooseStartMode(arguments));
  return app.Run();
}
