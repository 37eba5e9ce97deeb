// Writes the tests' data files into the folder given on the command line.
#include "generator.h"
#include "test_data.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: make_test_data DATA_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    if (!MakeDirs(dir)) {
        fprintf(stderr, "make_test_data: cannot create %s\n", dir.c_str());
        return 1;
    }
    if (WriteEngineSamples(dir) && WriteTestImages(dir) && WriteTestAudio(dir)) return 0;
    fprintf(stderr, "make_test_data: cannot write into %s\n", dir.c_str());
    return 1;
}
