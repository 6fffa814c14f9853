// Prints a catalog text through the installed library.
#include <jx6ut.h>

#include <cstdio>

int main() {
    char text[64];
    if (get_error_string(123, text, sizeof text) == 0) return 1;
    std::printf("%s\n", text);
    return 0;
}
