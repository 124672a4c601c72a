#include "platform/core/StringCompare.h"

namespace plat {

namespace {
int Lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }
}  // namespace

int lstrcmpiA(const char* a, const char* b) {
  const auto* x = reinterpret_cast<const unsigned char*>(a);
  const auto* y = reinterpret_cast<const unsigned char*>(b);
  for (;; ++x, ++y) {
    const int d = Lower(*x) - Lower(*y);
    if (d != 0 || *x == 0) return d;
  }
}

}  // namespace plat
