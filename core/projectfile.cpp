#include "projectfile.h"

#include "chipfacts.h"
#include "inifile.h"
#include "settingshelpers.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <memory>

namespace ProjectFile {

namespace {

using D = CPinDescriptions;

// Row tables in the order the writer puts them before the serial ports.
const D::DlgType kLeadingRowTables[] = {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgEXIT};

// The largest row count a file may declare: one row per pin at most.
constexpr int kMaxRows = ChipFacts::pinCountF407;

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

void writePairs(QSettings *settings, const QString &section, const QStringList &list)
{
    clearSection(settings, section);
    for (int i = 0; i + 1 < list.size(); i += 2)
        writeValue(settings, section, list.at(i), list.at(i + 1));
}

void writeRowTable(QSettings *settings, const QString &section, const QStringList &list,
                   D::DlgType type)
{
    clearSection(settings, section);
    writeValue(settings, section, QStringLiteral("Count"),
               QString::number(list.size() / stringsPerRow(type)));
    for (int i = 0; i + 1 < list.size(); i += 2)
        writeValue(settings, section, list.at(i), list.at(i + 1));
}

bool readRowTable(QSettings *settings, const QString &section, D::DlgType type, QStringList *list,
                  QString *error)
{
    list->clear();
    const QString countText = readValue(settings, section, QStringLiteral("Count"));
    bool ok = false;
    int count = countText.trimmed().toInt(&ok);
    if (!ok || count < 0)
        count = 0;
    if (count > kMaxRows) {
        setError(error, QCoreApplication::translate("ProjectFile", "%1节声明了%2行（最多%3行）")
                            .arg(section, countText)
                            .arg(kMaxRows));
        return false;
    }
    const QStringList keys = rowKeys(type);
    for (int row = 1; row <= count; ++row) {
        for (const QString &key : keys) {
            const QString rowKey = QString::number(row) + key;
            *list << rowKey << readValue(settings, section, rowKey);
        }
    }
    return true;
}

QStringList readKeys(QSettings *settings, const QString &section, const QStringList &keys)
{
    QStringList list;
    for (const QString &key : keys)
        list << key << readValue(settings, section, key);
    return list;
}

} // namespace

void store(const ProjectData &project, QSettings *settings)
{
    const CPinDescriptions names(false);
    writePairs(settings, names.sectionChip, project.chipInformation);
    writePairs(settings, names.sectionFsmc, project.fsmcInformation);
    clearSection(settings, names.sectionDesc);
    for (int i = 0; i < project.pinNames.size(); ++i)
        writeValue(settings, names.sectionDesc, project.pinNames.at(i),
                   project.pinFunctions.value(i, QStringLiteral(" ")));
    for (D::DlgType type : kLeadingRowTables)
        writeRowTable(settings, sectionOf(type), *project.tableList(type), type);
    for (int n = 0; n < 6; ++n)
        writePairs(settings, names.sectionUsart.at(n), project.usartInformation[n]);
    for (int n = 0; n < 6; ++n)
        writePairs(settings, names.sectionWireless.at(n), project.wirelessInformation[n]);
    for (int n = 0; n < 3; ++n)
        writePairs(settings, names.sectionSpi.at(n), project.spiInformation[n]);
    writeRowTable(settings, names.sectionSys, project.sysInformation, D::DlgSYS);
    for (int n = 0; n < 3; ++n)
        writePairs(settings, names.sectionNetwork.at(n), project.networkInformation[n]);
}

bool write(const ProjectData &project, const QString &filePath, QString *error)
{
    // Starting from the old content keeps the sections this program does not
    // produce.
    return IniFile::update(
        filePath, [&project](QSettings *settings) { store(project, settings); }, error);
}

bool read(const QString &filePath, ProjectData *project, QString *error)
{
    const QFileInfo info(filePath);
    if (filePath.isEmpty() || !info.exists()) {
        setError(error, QCoreApplication::translate("ProjectFile", "%1 不存在").arg(filePath));
        return false;
    }
    if (!info.isFile()) {
        setError(error,
                 QCoreApplication::translate("ProjectFile", "%1 不是工程文件").arg(filePath));
        return false;
    }
    QFile probe(filePath);
    if (!probe.open(QIODevice::ReadOnly)) {
        setError(error, QCoreApplication::translate("ProjectFile", "%1 无法读取：%2")
                            .arg(filePath, probe.errorString()));
        return false;
    }
    probe.close();

    std::unique_ptr<QSettings> settings(openSettings(filePath));
    if (settings->status() != QSettings::NoError) {
        setError(error,
                 QCoreApplication::translate("ProjectFile", "%1 不是工程文件").arg(filePath));
        return false;
    }
    const CPinDescriptions names(false);
    const QString chip = readValue(settings.get(), names.sectionChip, QStringLiteral("Type"));
    if (!names.isKnownChip(chip)) {
        setError(error,
                 chip.isEmpty()
                     ? QCoreApplication::translate("ProjectFile", "%1 不是工程文件（没有指明芯片）")
                           .arg(filePath)
                     : QCoreApplication::translate("ProjectFile", "%1 指明了未知的芯片“%2”")
                           .arg(filePath, chip));
        return false;
    }
    bool ok = false;
    const int ram =
        readValue(settings.get(), names.sectionFsmc, QStringLiteral("iSSelectRAM")).toInt(&ok);
    ProjectData result = ProjectData::fresh(chip, ok && ram != 0);

    for (int i = 0; i < result.pinNames.size(); ++i) {
        const QString function =
            readValue(settings.get(), names.sectionDesc, result.pinNames.at(i));
        result.pinFunctions[i] = function.isEmpty() ? QStringLiteral(" ") : function;
    }
    for (D::DlgType type : kLeadingRowTables)
        if (!readRowTable(settings.get(), sectionOf(type), type, result.tableList(type), error))
            return false;
    const CDlgDescription keys;
    for (int n = 0; n < 6; ++n)
        result.usartInformation[n] =
            readKeys(settings.get(), names.sectionUsart.at(n), keys.usartKeys);
    for (int n = 0; n < 3; ++n)
        result.spiInformation[n] = readKeys(settings.get(), names.sectionSpi.at(n), keys.spiKeys);
    if (!readRowTable(settings.get(), names.sectionSys, D::DlgSYS, &result.sysInformation, error))
        return false;
    for (int n = 0; n < 6; ++n)
        result.wirelessInformation[n] =
            readKeys(settings.get(), names.sectionWireless.at(n), keys.socketKeys);
    for (int n = 0; n < 3; ++n)
        result.networkInformation[n] =
            readKeys(settings.get(), names.sectionNetwork.at(n), keys.networkKeys);
    *project = result;
    return true;
}

QString sectionOf(CPinDescriptions::DlgType type)
{
    switch (type) {
    case D::DlgDI:
        return QStringLiteral("DI");
    case D::DlgDO:
        return QStringLiteral("DO");
    case D::DlgAI:
        return QStringLiteral("AI");
    case D::DlgAO:
        return QStringLiteral("AO");
    case D::DlgEXIT:
        return QStringLiteral("EXIT");
    case D::DlgSYS:
        return QStringLiteral("SYS");
    default:
        break;
    }
    const CPinDescriptions names(false);
    if (type >= D::DlgUSART1 && type <= D::DlgUSART6)
        return names.sectionUsart.value(type - D::DlgUSART1);
    if (type >= D::DlgSPI1 && type <= D::DlgSPI3)
        return names.sectionSpi.value(type - D::DlgSPI1);
    return {};
}

} // namespace ProjectFile
