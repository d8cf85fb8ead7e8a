#include "transfersettings.h"

#include "responsetimeout.h"
#include "settingshelpers.h"
#include "softwareinitialization.h"
#include "transfer.h"

#include <memory>

static_assert(TransferSettings::DefaultTimeoutMs == CResponseTimeout::DefaultMs,
              "the tab starts with the link's default time-out");
static_assert(TransferSettings::DefaultRetries == CTransfer::DefaultRetries,
              "the tab starts with the link's default repeats");

namespace {

// The number at section/key when it is one within [min, max]; otherwise fallback.
int number(QSettings *settings, const QString &key, int min, int max, int fallback)
{
    bool ok = false;
    const int value =
        readValue(settings, CSoftwareInitialization().transferSection, key).toInt(&ok);
    return ok && value >= min && value <= max ? value : fallback;
}

} // namespace

TransferSettings TransferSettings::load(const QString &folder)
{
    TransferSettings result;
    if (folder.isEmpty())
        return result;
    const CSoftwareInitialization names;
    const std::unique_ptr<QSettings> settings(openSettings(startupSettingsPath(folder)));
    result.timeoutMs =
        number(settings.get(), names.timeoutKey, MinTimeoutMs, MaxTimeoutMs, result.timeoutMs);
    result.retries = number(settings.get(), names.retriesKey, 0, MaxRetries, result.retries);
    result.verify = number(settings.get(), names.verifyKey, 0, 1, result.verify ? 1 : 0) == 1;
    result.lastPort = readValue(settings.get(), names.transferSection, names.lastPortKey).trimmed();
    return result;
}

bool TransferSettings::save(const QString &folder, QString *error) const
{
    const CSoftwareInitialization names;
    return rewriteStartupSection(
        folder, names.transferSection,
        [&](QSettings *settings) {
            writeValue(settings, names.transferSection, names.timeoutKey,
                       QString::number(timeoutMs));
            writeValue(settings, names.transferSection, names.retriesKey, QString::number(retries));
            writeValue(settings, names.transferSection, names.verifyKey,
                       QString::number(verify ? 1 : 0));
            if (!lastPort.isEmpty())
                writeValue(settings, names.transferSection, names.lastPortKey, lastPort);
        },
        error);
}
