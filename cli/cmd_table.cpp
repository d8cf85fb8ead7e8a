#include "commands.h"

#include <cstdio>

int runTable(const QStringList &)
{
    std::fputs("mirel-cli table: not yet available\n", stderr);
    return 1;
}

int runDecode(const QStringList &)
{
    std::fputs("mirel-cli decode: not yet available\n", stderr);
    return 1;
}
