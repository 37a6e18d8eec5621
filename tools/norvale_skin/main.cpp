// norvale-skin: checks a skin folder or package, draws frames of a skin with the clock's own
// code and packs a skin folder into a package.
//   norvale-skin check FOLDER|PACKAGE.nvskin   prints "ok" with the face size, the label and
//                               button boxes, the high-resolution variants its images have and
//                               its author and description, or every fault with its file (a
//                               variant of the wrong size is one); exit code 0 or 1.
//   norvale-skin render FOLDER ...  writes one frame as a PNG (see render_command.h).
//   norvale-skin pack FOLDER [-o FILE]  writes the skin's package (see pack_command.h).

#include "tools/norvale_skin/check_command.h"
#include "tools/norvale_skin/pack_command.h"
#include "tools/norvale_skin/render_command.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace norvale::tools;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "check") {
        return Check(args[1]);
    }
    if (!args.empty() && args[0] == "render") {
        return Render({args.begin() + 1, args.end()});
    }
    if (!args.empty() && args[0] == "pack") {
        return Pack({args.begin() + 1, args.end()});
    }
    std::fprintf(stderr, "%s%s%s", kCheckUsage, kRenderUsage, kPackUsage);
    return 2;
}
