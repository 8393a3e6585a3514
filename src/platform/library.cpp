#include "platform/library.h"

#include <dlfcn.h>

#include "platform/locations.h"
#include "platform/os.h"

namespace rkv {
namespace {
std::string& TestFolder() {
  static std::string folder;
  return folder;
}
}  // namespace

void SetLibraryFolderForTest(std::string folder) { TestFolder() = std::move(folder); }

std::unique_ptr<Library> Library::Load(std::string_view fileName) {
  const std::string& test = TestFolder();
  std::string beside = (test.empty() ? locations::ProgramDir() : test) + "/" + std::string(fileName);
  // Beside the program in a build folder; in lib/rkv next to its bin/ once installed.
  std::string installed = locations::ProgramDir() + "/../" RKV_PRIVATE_LIBDIR "/" + std::string(fileName);
  void* h = nullptr;
  if (os::Stat(beside).regular) h = dlopen(os::Native(beside).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h && test.empty() && os::Stat(installed).regular) {
    h = dlopen(os::Native(installed).c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  if (!h && test.empty()) h = dlopen(std::string(fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) return nullptr;
  return std::unique_ptr<Library>(new Library(h));
}

Library::~Library() { dlclose(handle_); }

void* Library::Symbol(const char* name) const { return dlsym(handle_, name); }

}  // namespace rkv
