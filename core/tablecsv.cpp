#include "tablecsv.h"

#include "appfolders.h"
#include "csvfile.h"
#include "pinrules.h"
#include "projectsync.h"
#include "projecttexts.h"
#include "settingsrules.h"
#include "tabledraft.h"
#include "tableinput.h"
#include "tablelayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>

using D = CPinDescriptions;

namespace TableCsv {

namespace {

bool isSerial(D::DlgType type)
{
    return type >= D::DlgUSART1 && type <= D::DlgUSART6;
}

bool isPort(D::DlgType type)
{
    return type >= D::DlgUSART1 && type <= D::DlgSPI3;
}

QString nameOf(const ProjectTexts::Table &table)
{
    const QString section = TableLayout::sectionName(table.type);
    if (table.partOf.isEmpty())
        return section;
    return section +
           (isSerial(table.type) ? QStringLiteral("_WIRELESSMODBULE") : QStringLiteral("_NETWORK"));
}

// Where `given` stands in any language's version of a list; -1 when nowhere.
int indexIn(const QString &given, const QVector<QStringList> &lists)
{
    for (const QStringList &list : lists) {
        const int at = int(list.indexOf(given));
        if (at >= 0)
            return at;
    }
    return -1;
}

// One table being read: its draft and where refusals go.
class Reader
{
    Q_DECLARE_TR_FUNCTIONS(TableCsv::Reader)
public:
    Reader(TableDraft &tableDraft, const QVector<const CDlgDescription *> &texts, Import *import)
        : draft(tableDraft), languages(texts), result(import)
    {
    }

    void readFile(const QString &name, const ProjectTexts::Table &table, const QByteArray &bytes)
    {
        file = name + QStringLiteral(".csv");
        CsvFile::Table csv;
        QString error;
        if (!CsvFile::parse(bytes, &csv, &error)) {
            refuse(0, 0, tr("不是CSV文件：%1").arg(error));
            return;
        }
        if (csv.rows.isEmpty()) {
            refuse(0, 0, tr("文件是空的：第一行应是列标题"));
            return;
        }
        result->tablesRead << name;
        QVector<int> columns; // the table's column of each of the file's columns
        for (int c = 0; c < csv.rows.first().size(); ++c) {
            const QString title = csv.rows.first().at(c).trimmed();
            const int at = indexIn(title, headersOf(table));
            if (at < 0 && !title.isEmpty())
                refuse(csv.lines.first(), c + 1, tr("未知的列标题“%1”").arg(title));
            columns << at;
        }
        if (!columns.contains(0)) {
            refuse(csv.lines.first(), 0, tr("缺少第一列“%1”").arg(table.headers.value(0)));
            return;
        }
        for (int r = 1; r < csv.rows.size(); ++r)
            readRow(table, csv.rows.at(r), csv.lines.at(r), columns);
    }

private:
    QVector<QStringList> headersOf(const ProjectTexts::Table &table) const
    {
        QVector<QStringList> lists{table.headers};
        for (const CDlgDescription *text : languages)
            for (const ProjectTexts::Table &other : ProjectTexts::tablesOf(draft.project(), *text))
                if (other.type == table.type && other.partOf.isEmpty() == table.partOf.isEmpty())
                    lists << other.headers;
        return lists;
    }

    void readRow(const ProjectTexts::Table &table, const QStringList &cells, int line,
                 const QVector<int> &columns)
    {
        const QString name = cells.value(int(columns.indexOf(0))).trimmed();
        if (!table.partOf.isEmpty()) {
            readUnit(table, cells, line, columns, name);
            return;
        }
        if (isPort(table.type)) {
            QVector<QStringList> titles;
            for (const CDlgDescription *text : languages)
                titles << (isSerial(table.type) ? text->headersUSART : text->headersSPI);
            const int row = indexIn(name, titles);
            if (row < 0 || row >= draft.table().rows.size()) {
                refuse(line, 1, tr("%1没有参数“%2”").arg(table.name, name));
                return;
            }
            setCell(row, 0, cells.value(int(columns.indexOf(1))), line,
                    int(columns.indexOf(1)) + 1);
            return;
        }
        const int pinColumn = int(rowKeys(table.type).indexOf(QStringLiteral("Pin")));
        const QString pin = cells.value(int(columns.indexOf(pinColumn))).trimmed();
        const int row = int(draft.table().rowPins.indexOf(pin));
        if (row < 0) {
            refuse(line, int(columns.indexOf(pinColumn)) + 1,
                   tr("引脚%1没有%2的功能：引脚的功能在芯片图上分配").arg(pin, table.name));
            return;
        }
        for (int c = 0; c < cells.size() && c < columns.size(); ++c)
            if (columns.at(c) >= 0 && columns.at(c) != pinColumn)
                setCell(row, columns.at(c), cells.at(c), line, c + 1);
    }

    void setCell(int row, int column, const QString &typed, int line, int fileColumn)
    {
        const QString refused = TableInput::take(draft, row, column, typed, languages);
        if (!refused.isEmpty())
            refuse(line, fileColumn, refused);
    }

    // A film's network or a socket: its fields by column.
    void readUnit(const ProjectTexts::Table &table, const QStringList &cells, int line,
                  const QVector<int> &columns, const QString &name)
    {
        const bool network = !isSerial(table.type);
        const int units = network ? SettingsRules::filmCount : SettingsRules::socketCount;
        int unit = 0;
        for (int u = 1; u <= units && unit == 0; ++u)
            for (const CDlgDescription *text : languages)
                if (name == (network ? text->filmName : text->socketName).arg(u))
                    unit = u;
        if (unit == 0) {
            refuse(line, int(columns.indexOf(0)) + 1, tr("未知的名称“%1”").arg(name));
            return;
        }
        for (int c = 0; c < cells.size() && c < columns.size(); ++c) {
            if (columns.at(c) <= 0)
                continue;
            const int field = columns.at(c) - 1;
            const QString key =
                network ? SettingsRules::networkKey(unit, SettingsRules::NetworkField(field))
                        : SettingsRules::socketKey(unit, SettingsRules::SocketField(field));
            setSetting(table.type, key, unit, field, cells.at(c).trimmed(), line, c + 1);
        }
    }

    void setSetting(D::DlgType type, const QString &key, int unit, int field, const QString &given,
                    int line, int fileColumn)
    {
        const bool network = !isSerial(type);
        const QStringList &list =
            network ? draft.table().networkInformation : draft.table().wirelessInformation;
        const QString before = valueOf(list, key);
        const CDlgDescription &text = *languages.first();
        if (given == ProjectTexts::valueText(text, type, key, before))
            return;
        QString stored = given;
        QVector<QStringList> options;
        for (const CDlgDescription *language : languages)
            options << (key.endsWith(QLatin1String("UseAutoGetIP"))
                            ? language->addressingOptions
                            : ProjectTexts::optionsOf(*language, type, key));
        if (!options.first().isEmpty()) {
            const int at = indexIn(given, options);
            if (at < 0) {
                refuse(line, fileColumn, tr("“%1”不是这一格的选项").arg(given));
                return;
            }
            stored = QString::number(key.endsWith(QLatin1String("UseAutoGetIP")) ? at + 1 : at);
        }
        draft.setSettings({key, stored});
        const QStringList &now =
            network ? draft.table().networkInformation : draft.table().wirelessInformation;
        const SettingsRules::FieldProblem problem =
            network ? SettingsRules::networkProblem(now, unit, SettingsRules::NetworkField(field))
                    : SettingsRules::socketProblem(now, unit, SettingsRules::SocketField(field));
        if (!problem.message.isEmpty()) {
            refuse(line, fileColumn, problem.message);
            draft.setSettings({key, before});
        }
    }

    void refuse(int line, int column, const QString &message)
    {
        result->refused << Refusal{file, line, column, message};
    }

    TableDraft &draft;
    const QVector<const CDlgDescription *> &languages;
    Import *result;
    QString file;
};

} // namespace

QString Refusal::text() const
{
    QString where = file;
    if (line > 0)
        where += QStringLiteral(":%1").arg(line);
    if (column > 0)
        where += QStringLiteral(":%1").arg(column);
    return where + QStringLiteral(": ") + message;
}

QVector<File> exportTables(const ProjectData &project, const CDlgDescription &text)
{
    QVector<File> files;
    for (const ProjectTexts::Table &table : ProjectTexts::tablesOf(project, text)) {
        if (!table.used)
            continue;
        File file{nameOf(table), {table.headers}};
        file.rows += table.rows;
        files << file;
    }
    return files;
}

QStringList tableNames(const ProjectData &project)
{
    QStringList names;
    const CDlgDescription text;
    for (const ProjectTexts::Table &table : ProjectTexts::tablesOf(project, text))
        names << nameOf(table);
    return names;
}

QStringList presentIn(const QVector<File> &files, const QString &folder)
{
    QStringList present;
    for (const File &file : files)
        if (QFileInfo::exists(QDir(folder).filePath(file.name + QStringLiteral(".csv"))))
            present << file.name + QStringLiteral(".csv");
    return present;
}

bool readFolder(const ProjectData &project, const QString &folder, QMap<QString, QByteArray> *files,
                QString *error)
{
    for (const QString &name : tableNames(project)) {
        QFile file(QDir(folder).filePath(name + QStringLiteral(".csv")));
        if (!file.exists())
            continue;
        if (!file.open(QIODevice::ReadOnly)) {
            *error = file.fileName() + QStringLiteral(": ") + file.errorString();
            return false;
        }
        files->insert(name, file.readAll());
    }
    return true;
}

Import importTables(const ProjectData &project, const QMap<QString, QByteArray> &files,
                    const QVector<const CDlgDescription *> &languages)
{
    Import result;
    PinBoard board(project.currentChip, project.useExternalRam());
    ProjectSync::load(project, &result.project, &board);
    const CDlgDescription shownText;
    QVector<const CDlgDescription *> all{&shownText};
    all += languages;
    const QVector<ProjectTexts::Table> tables = ProjectTexts::tablesOf(result.project, shownText);
    for (int i = 0; i < tables.size(); ++i) {
        const ProjectTexts::Table &table = tables.at(i);
        if (!table.partOf.isEmpty())
            continue; // read with its port's table, in one confirm
        const QString name = nameOf(table);
        const bool hasSettings = i + 1 < tables.size() && !tables.at(i + 1).partOf.isEmpty();
        const QString settingsName = hasSettings ? nameOf(tables.at(i + 1)) : QString();
        if (!files.contains(name) && !files.contains(settingsName))
            continue;
        TableDraft draft;
        draft.follow(result.project);
        draft.open(table.type);
        Reader reader(draft, all, &result);
        if (files.contains(name))
            reader.readFile(name, table, files.value(name));
        if (files.contains(settingsName))
            reader.readFile(settingsName, tables.at(i + 1), files.value(settingsName));
        if (!draft.hasEdits())
            continue;
        const DraftTable &confirmed = draft.table();
        ProjectSync::confirmTable(result.project, board, &draft, table.type, confirmed.information,
                                  confirmed.networkInformation, confirmed.wirelessInformation);
        ProjectSync::refresh(result.project, board);
    }
    return result;
}

QVector<const CDlgDescription *> bothLanguages()
{
    static const QVector<const CDlgDescription *> languages = [] {
        static CDlgDescription chinese;
        static CDlgDescription english;
        QTranslator none;
        chinese.retranslate(&none);
        QVector<const CDlgDescription *> both{&chinese};
        QTranslator translator;
        if (translator.load(AppFolders::translationsDirectory() + "/lang_English.qm")) {
            english.retranslate(&translator);
            both << &english;
        }
        return both;
    }();
    return languages;
}

} // namespace TableCsv
