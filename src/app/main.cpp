// The desktop program's entry point. The window itself is not part of this build yet, so the
// program says so and ends successfully.
#include <cstdio>

int main() {
    std::puts("Lodestar 1.4: the desktop window is not built yet; use lodestar-cli meanwhile.");
    return 0;
}
