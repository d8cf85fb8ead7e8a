#include <cstdio>

int main()
{
    std::fputs("mirel-sim: not yet available\n", stderr);
    return 1;
}
