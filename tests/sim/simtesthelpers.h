#pragma once
// Small helpers shared by the simulator tests.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// "F0 41 10" -> bytes.
inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// The F0..F7 messages of a file in the shared data folder.
inline QList<QByteArray> syxMessages(const QString &name)
{
    QFile f(QStringLiteral(TESSIVA_SHARED_DIR "/data/syx/") + name);
    QList<QByteArray> out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QByteArray all = f.readAll();
    qsizetype start = -1;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (quint8(all[i]) == 0xF0)
            start = i;
        else if (quint8(all[i]) == 0xF7 && start >= 0) {
            out.append(all.mid(start, i - start + 1));
            start = -1;
        }
    }
    return out;
}
