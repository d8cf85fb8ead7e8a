#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Project files cut short and edited by hand, made from the bytes a program
// wrote, for the suites that check how a cut file is read.
namespace CutFiles {

// A section header of a file: its name, where its line starts and where the
// header's text ends (after the ']').
struct Header
{
    QString name;
    int start = 0;
    int end = 0;
};

// The section headers in the order of the file.
QVector<Header> headers(const QByteArray &file);

// The bytes up to the start of the middle key line of [section] (of its
// only line when it has one); empty when the file has no such section or it
// holds no keys.
QByteArray cutInside(const QByteArray &file, const QString &section);

// The bytes without the line of key in [section]: a key taken out by hand,
// or the mark of the file removed.
QByteArray withoutKey(const QByteArray &file, const QString &section, const QString &key);

// The bytes without [section] and its keys.
QByteArray withoutSection(const QByteArray &file, const QString &section);

// The bytes with the value of key in [section] replaced.
QByteArray withValue(const QByteArray &file, const QString &section, const QString &key,
                     const QByteArray &value);

// The sections in the opposite order, each with its key lines reversed.
QByteArray reversed(const QByteArray &file);

} // namespace CutFiles
