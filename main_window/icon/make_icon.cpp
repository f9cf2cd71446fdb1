// Writes Quenlo's icon, at every size Windows asks for, into one .ico file. Runs on the
// build machine. Usage: make_icon OUTPUT.ico
#include <cstdio>
#include <fstream>
#include <vector>

#include "main_window/icon/ico_file.h"
#include "main_window/icon/icon_picture.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
        return 2;
    }
    // The sizes of Windows' icon views, small icons to "extra large".
    std::vector<quenlo::IconImage> images;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        images.push_back({size, quenlo::QuenloIconPixels(size)});
    }
    const std::vector<std::uint8_t> ico = quenlo::EncodeIco(images);
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
