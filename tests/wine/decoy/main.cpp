// Stands in for a system program in a folder that is searched before the
// system's: started, it leaves the file "decoy-ran" in its current folder.
#include <cstdio>

int main() {
    if (std::FILE* f = std::fopen("decoy-ran", "w")) std::fclose(f);
    return 0;
}
