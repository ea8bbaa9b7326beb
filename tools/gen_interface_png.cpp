// Writes the interface bitmap "INTERFACE.PNG": the interface fonts, the widget
// art and the interface colour swatches, 512 x 512 RGBA.
//
// usage: gen_interface_png <output.png>
#include <cstdio>
#include <string>

#include "tools/interface_art.h"
#include "tools/tool_args.h"

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_interface_png <output.png>")) return 2;
    interface_art::image im;
    std::string problem;
    if (!interface_art::build(im, &problem)) {
        std::fprintf(stderr, "gen_interface_png: %s\n", problem.c_str());
        return 1;
    }
    if (!interface_art::write_png(im, argv[1])) {
        std::fprintf(stderr, "gen_interface_png: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
