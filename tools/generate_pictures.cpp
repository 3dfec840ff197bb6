// Writes the eight formula pictures transforms1.wmf … transforms8.wmf into a folder.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/transforms_pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    for (int k = 1; k <= quintrel::formula_pictures::kTransformsPictureCount; ++k) {
        const std::vector<std::uint8_t> bytes =
            quintrel::formula_pictures::buildTransformsPicture(k);
        const std::string path = folder + "/transforms" + std::to_string(k) + ".wmf";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
