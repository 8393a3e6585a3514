// Libraries loaded at run time and entry points taken by name.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace rkv {

class Library {
 public:
  // The library file name (e.g. "libish32.so") beside the program, else where
  // the system installs libraries; nothing when neither has it.
  static std::unique_ptr<Library> Load(std::string_view fileName);
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  void* Symbol(const char* name) const;
  template <typename F>
  F* Entry(const char* name) const {
    return reinterpret_cast<F*>(Symbol(name));
  }

 private:
  explicit Library(void* handle) : handle_(handle) {}
  void* handle_;
};

// Tests point the search at another folder instead of the program's (and keep
// the system folders out); empty restores the normal search.
void SetLibraryFolderForTest(std::string folder);

}  // namespace rkv
