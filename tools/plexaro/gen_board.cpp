// Writes a generated board file: `gen_board demo|full OUT.brd`.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/plexaro/board_generator.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "demo") != 0 && std::strcmp(argv[1], "full") != 0)) {
    std::fprintf(stderr, "usage: gen_board demo|full OUT.brd\n");
    return 2;
  }
  const plexaro::BoardShape shape = std::strcmp(argv[1], "demo") == 0
                                        ? plexaro::BoardShape::demo()
                                        : plexaro::BoardShape::fullCapacity();
  const std::string text = plexaro::generateBoard(shape);
  std::FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr || std::fwrite(text.data(), 1, text.size(), out) != text.size() ||
      std::fclose(out) != 0) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
