#include <cstdio>
int main() { std::puts("vrk-tool"); return 0; }
