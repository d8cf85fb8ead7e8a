#include "commands.h"

#include <cstdio>

int runDownload(const QStringList &)
{
    std::fputs("mirel-cli download: not yet available\n", stderr);
    return 1;
}

int runUpload(const QStringList &)
{
    std::fputs("mirel-cli upload: not yet available\n", stderr);
    return 1;
}

int runPorts(const QStringList &)
{
    std::fputs("mirel-cli ports: not yet available\n", stderr);
    return 1;
}
