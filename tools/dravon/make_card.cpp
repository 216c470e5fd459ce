// Writes a generated card: NAME.lst and NAME.DCA in a folder.
//   dravon_make_card demo|large FOLDER NAME
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "tools/dravon/card_generator.h"

int main(int argc, char** argv) {
  if (argc != 4 || (std::string_view(argv[1]) != "demo" && std::string_view(argv[1]) != "large")) {
    std::fprintf(stderr, "usage: dravon_make_card demo|large FOLDER NAME\n");
    return 2;
  }
  const dravon::tools::CardShape shape =
      std::string_view(argv[1]) == "demo" ? dravon::tools::demoCard() : dravon::tools::largeCard();
  const std::string base = std::string(argv[2]) + "/" + argv[3];
  std::ofstream lst(base + ".lst", std::ios::binary);
  lst << dravon::tools::makePartsList(shape);
  std::ofstream dca(base + ".DCA", std::ios::binary);
  dca << dravon::tools::makeCadExport(shape);
  if (!lst.flush() || !dca.flush()) {
    std::fprintf(stderr, "dravon_make_card: cannot write %s\n", base.c_str());
    return 1;
  }
  return 0;
}
