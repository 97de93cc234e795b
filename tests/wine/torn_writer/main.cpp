// The child of the torn-write test: writes Counter = first, first + 1, ...
// into the settings file through the product's writer until it is killed.
#include <cstdlib>
#include <string>

#include "settings/ini_store.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string path = argv[1];
    for (long n = std::strtol(argv[2], nullptr, 10);; ++n)
        tillwick::ini::WriteString(path, "General", "Counter", std::to_string(n));
}
