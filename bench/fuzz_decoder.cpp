// libFuzzer target for the configuration-table reader. Built and run by
// bench/fuzz.sh; not part of the test suites.
//
// Every input is read as a table for both chips and as a table file. Any
// input the reader accepts must give a project the generator can write again
// and that reads back the same; anything else aborts so the fuzzer keeps it.

#include "chipfacts.h"
#include "configanalyzer.h"
#include "configtable.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(const QByteArray &table, const QString &chip)
{
    ProjectData project;
    QString error;
    if (!CAnalyzeBinFileToConfigure::decode(table, chip, &project, &error)) {
        if (error.isEmpty()) {
            std::fprintf(stderr, "refused without a message\n");
            std::abort();
        }
        return;
    }
    QByteArray again;
    if (!ConfigTable::buildConfigurationTable(project, &again, &error)) {
        std::fprintf(stderr, "accepted table cannot be written again: %s\n", qPrintable(error));
        std::abort();
    }
    ProjectData twice;
    if (!CAnalyzeBinFileToConfigure::decode(again, chip, &twice, &error) || twice != project) {
        std::fprintf(stderr, "rewritten table reads back differently: %s\n", qPrintable(error));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 1 << 20)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    for (const QString &chip : ChipFacts::models())
        check(bytes, chip);
    QByteArray transfer;
    QString error;
    if (ConfigTable::toTransferForm(bytes, &transfer, &error)) {
        for (const QString &chip : ChipFacts::models())
            check(transfer, chip);
    }
    return 0;
}
