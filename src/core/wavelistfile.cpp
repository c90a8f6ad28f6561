#include "core/wavelistfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <utility>

namespace {
constexpr char WavesHeader[] = "[Waves]";
constexpr char SectionPrefix[] = "ExpType/";
// The largest list is a few kilobytes; refusing huge files keeps a wrong
// choice of file from filling memory.
constexpr qint64 MaxFileSize = 1 << 20;

struct NumberKey
{
    const char *key;
    int fallback;
    int min;
    int max;
    int ExpansionSlot::*field;
};

constexpr NumberKey NumberKeys[] = {
    {"Group", 0, 0, WaveListFile::MaxGroup, &ExpansionSlot::group},
    {"GroupID", 0, 0, WaveListFile::MaxGroupId, &ExpansionSlot::groupId},
    {"Maxwaves", 1, 1, WaveListFile::MaxWaves, &ExpansionSlot::maxWaves},
};
} // namespace

WaveListFile::WaveListFile(QString path) : m_path(std::move(path)) {}

ExpansionSlot WaveListFile::defaultSlot()
{
    ExpansionSlot slot;
    slot.cbName = QStringLiteral("None");
    for (const NumberKey &k : NumberKeys)
        slot.*k.field = k.fallback;
    return slot;
}

bool WaveListFile::fail(const QString &why)
{
    m_error = QFileInfo(m_path).fileName() + QStringLiteral(": ") + why;
    return false;
}

bool WaveListFile::readNames(NameTable &table)
{
    QFile file(m_path);
    if (!QFileInfo(m_path).isFile())
        return fail(QStringLiteral("file not found"));
    if (file.size() > MaxFileSize)
        return fail(QStringLiteral("file too large for a wave list"));
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());

    QList<QByteArray> lines = file.readAll().split('\n');
    // A final line break leaves one empty piece that is not a wave.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    NameTable names{};
    int count = 0;
    bool inWaves = false;
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = QString::fromLatin1(line.left(MaxNameLength));
        if (!inWaves) {
            inWaves = text.trimmed() == QLatin1String(WavesHeader);
            continue;
        }
        if (count == MaxWaves)
            break;
        names[++count] = text;
    }
    if (!inWaves)
        return fail(QStringLiteral("no \"[Waves]\" line"));
    table = std::move(names);
    m_count = count;
    m_error.clear();
    return true;
}

bool WaveListFile::readSlot(ExpansionSlot &slot)
{
    if (!QFileInfo(m_path).isFile())
        return fail(QStringLiteral("file not found"));
    const QSettings ini(m_path, QSettings::IniFormat);
    // The free-text wave lines below "[Waves]" may upset the INI parser
    // (a name starting with '['); the [ExpType] keys above them are still read.
    if (ini.status() == QSettings::AccessError)
        return fail(QStringLiteral("cannot be read"));

    ExpansionSlot read = slot;
    const QVariant name = ini.value(QLatin1String(SectionPrefix) + QLatin1String("CbName"));
    // An unquoted comma splits an INI value into a list; the name meant it.
    read.cbName =
        name.isValid() ? name.toStringList().join(QLatin1Char(',')) : QStringLiteral("None");
    read.cbName.truncate(MaxListNameLength);

    for (const NumberKey &k : NumberKeys) {
        const QVariant value = ini.value(QLatin1String(SectionPrefix) + QLatin1String(k.key));
        if (!value.isValid()) {
            read.*k.field = k.fallback;
            continue;
        }
        bool ok = false;
        const int n = value.toString().trimmed().toInt(&ok);
        if (!ok || n < k.min || n > k.max)
            return fail(QStringLiteral("%1 must be a number from %2 to %3, not \"%4\"")
                            .arg(QLatin1String(k.key))
                            .arg(k.min)
                            .arg(k.max)
                            .arg(value.toString()));
        read.*k.field = n;
    }
    slot = std::move(read);
    m_error.clear();
    return true;
}
