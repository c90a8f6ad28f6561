#include "core/wavenamelookup.h"

#include <QDir>
#include <utility>

namespace {
constexpr char IntAFile[] = "IntA.txt";
constexpr char IntBFile[] = "IntB.txt";
constexpr int IntAId = 1;
constexpr int IntBId = 2;
} // namespace

WaveNameLookup::WaveNameLookup(QString folder, std::vector<ExpansionSlot> fitted)
    : folder_(std::move(folder)), fitted_(std::move(fitted))
{
}

QString WaveNameLookup::listFile(int type, int id)
{
    if (type == GroupInternal)
        return id == IntAId ? QLatin1String(IntAFile)
                            : (id == IntBId ? QLatin1String(IntBFile) : QString());
    for (const ExpansionSlot &s : fitted_)
        if (s.group == type && s.groupId == id && !s.fileName.isEmpty())
            return s.fileName;
    // A group no slot holds: any definition file of the folder that says it
    // carries that group.
    if (!scannedFolder_) {
        scannedFolder_ = true;
        const QStringList files =
            QDir(folder_).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
        for (const QString &f : files) {
            ExpansionSlot slot = WaveListFile::defaultSlot();
            if (WaveListFile(QDir(folder_).filePath(f)).readSlot(slot) && slot.group != 0)
                scanned_.emplace(f, slot);
        }
    }
    for (const auto &[file, slot] : scanned_)
        if (slot.group == type && slot.groupId == id)
            return file;
    return QString();
}

QString WaveNameLookup::groupName(int type, int id)
{
    if (type == GroupInternal && (id == IntAId || id == IntBId))
        return id == IntAId ? QStringLiteral("Int-A") : QStringLiteral("Int-B");
    for (const ExpansionSlot &s : fitted_)
        if (s.group == type && s.groupId == id)
            return s.cbName;
    const QString file = listFile(type, id);
    if (const auto it = scanned_.find(file); it != scanned_.end())
        return it->second.cbName;
    if (type == GroupCard)
        return QStringLiteral("Card %1").arg(id);
    if (type == GroupBoard)
        return QStringLiteral("Board %1").arg(id);
    return QStringLiteral("Group %1/%2").arg(type).arg(id);
}

const WaveListFile::NameTable *WaveNameLookup::names(const QString &file)
{
    if (file.isEmpty())
        return nullptr;
    if (const auto it = tables_.find(file); it != tables_.end())
        return &it->second;
    WaveListFile::NameTable table{};
    // A list that cannot be read names nothing; the number still shows.
    WaveListFile(QDir(folder_).filePath(file)).readNames(table);
    return &tables_.emplace(file, table).first->second;
}

QString WaveNameLookup::waveName(int type, int id, int wave)
{
    const WaveListFile::NameTable *table = names(listFile(type, id));
    if (!table || wave < 0 || wave + 1 >= int(table->size()))
        return QString();
    return table->at(std::size_t(wave + 1));
}
