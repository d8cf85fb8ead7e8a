#include <cstdio>

int main()
{
    std::fputs("mirel-cli: not yet available\n", stderr);
    return 1;
}
