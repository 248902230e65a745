#include <cstdio>

int main() {
    std::puts("Quexo Pro: the editor window is not built yet; the storage core is.");
    return 0;
}
