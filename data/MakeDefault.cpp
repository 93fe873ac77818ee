// Writes the starter configuration: make_default_vntx OUTPUT.VNTX
// Run it and copy the result over data/Default.VNTX whenever DefaultCodeplug.cpp changes; a test
// fails while the two differ.
#include <cstdio>
#include <exception>

#include "codeplug/CodeplugFile.h"
#include "data/DefaultCodeplug.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_default_vntx OUTPUT.VNTX\n");
        return 2;
    }
    try {
        Codeplug codeplug;
        BuildDefaultCodeplug(codeplug);
        const FileResult result = SaveCodeplugFile(codeplug, argv[1]);
        if (!result.ok()) {
            std::fprintf(stderr, "make_default_vntx: cannot write %s: %s\n", argv[1], result.detail.c_str());
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_default_vntx: %s\n", error.what());
        return 1;
    }
    return 0;
}
