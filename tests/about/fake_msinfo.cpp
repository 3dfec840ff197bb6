// Stands in for the system information program in the Windows System Info test: writes the path it
// was started as into the file named by QUINTREL_SYSINFO_MARK, then ends.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* mark = std::getenv("QUINTREL_SYSINFO_MARK");
    if (argc < 1 || mark == nullptr) {
        return 2;
    }
    std::FILE* file = std::fopen(mark, "wb");
    if (file == nullptr) {
        return 1;
    }
    std::fputs(argv[0], file);
    return std::fclose(file) == 0 ? 0 : 1;
}
