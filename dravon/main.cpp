// Dravon picks its host: `--script FILE` runs a scripted session without a display. The card
// window itself does not exist yet.
#include <cstdio>
#include <string_view>

#include "dravon/platform/script/script_host.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--script") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "usage: dravon --script FILE\n");
        return 2;
      }
      return dravon::runScriptFile(argv[i + 1]);
    }
  }
  std::fprintf(stderr, "dravon: the card window is not available yet; use --script FILE\n");
  return 0;
}
