// skingen: draws our skins and writes their folders, the stored form, the test fixtures and their pictures.
#include "tools/skingen/SkinGen.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return korvex::skingen::RunSkinGen(args, std::cout, std::cerr);
}
