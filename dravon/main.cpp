#include <cstdio>

int main() {
  std::fprintf(stderr, "dravon: not built yet\n");
  return 0;
}
