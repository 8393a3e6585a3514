#include "core/handoff.h"

namespace rkv {

FileHandOff& HandOffArea() {
  static FileHandOff area;
  return area;
}

}  // namespace rkv
