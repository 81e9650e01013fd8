#include <cstdio>

int main() {
    std::fprintf(stderr, "usage: probex --eval \"EXPR\" [NAME=VALUE ...]\n");
    return 2;
}
