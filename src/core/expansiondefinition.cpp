#include "core/expansiondefinition.h"

#include <QFile>
#include <QHash>

namespace {
constexpr char Section[] = "exptype";
constexpr int MaxSevenBit = 127;
constexpr int MaxWaveCount = 255;
// A definition file is a few kilobytes; anything far larger is not one.
constexpr qint64 MaxFileSize = 1 << 20;

// Keys of the [ExpType] section, lower-cased: initialisation files compare
// section and key names without regard to case.
QHash<QString, QString> readSection(const QString &path)
{
    QHash<QString, QString> keys;
    QFile f(path);
    if (f.size() > MaxFileSize || !f.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inSection = false;
    while (!f.atEnd()) {
        const QString line = QString::fromLatin1(f.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = line.mid(1, line.size() - 2).trimmed().toLower() == QLatin1String(Section);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toLower();
        if (!keys.contains(key))
            keys.insert(key, line.mid(eq + 1).trimmed());
    }
    return keys;
}

int number(const QHash<QString, QString> &keys, const char *key, int fallback, int lo, int hi)
{
    bool ok = false;
    const int v = keys.value(QLatin1String(key)).toInt(&ok);
    return ok && v >= lo && v <= hi ? v : fallback;
}
} // namespace

void ExpansionDefinition::load(const QString &path, ExpansionSlot &slot)
{
    const QHash<QString, QString> keys = readSection(path);
    const QString name = keys.value(QStringLiteral("cbname"));
    slot.cbName = (name.isEmpty() ? QLatin1String(DefaultName) : name).left(NameLength);
    slot.group = number(keys, "group", DefaultGroup, 0, MaxSevenBit);
    slot.groupId = number(keys, "groupid", DefaultGroupId, 0, MaxSevenBit);
    slot.maxWaves = number(keys, "maxwaves", DefaultMaxWaves, 1, MaxWaveCount);
}
