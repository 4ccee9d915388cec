// Placeholder until the command-line tool lands.
#include <cstdio>

int main()
{
    std::puts("leafmill-cli 1.60");
    return 0;
}
