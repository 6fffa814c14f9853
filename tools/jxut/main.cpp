// jxut: the command-line face of the library for support engineers and
// translators.
#include "jx6ut.h"

#include <cstdio>

int main() { return 0; }
