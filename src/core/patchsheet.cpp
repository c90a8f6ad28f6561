#include "core/patchsheet.h"

#include "core/displaytables.h"
#include "core/effecttables.h"
#include "core/wavenamelookup.h"

#include <QStringList>
#include <algorithm>

namespace {
using Group = PatchParameters::Group;
using Format = PatchParameters::Format;

constexpr int NibbleBits = 4;
constexpr int FirstShown = 0x20; // name bytes outside show as blanks
constexpr int LastShown = 0x7E;
constexpr int BoosterStepDb = 6;
constexpr int SensitivityOffset = 100;
constexpr char Indent[] = "  ";
constexpr char Separator[] = " | ";

const Group ToneGroups[] = {Group::Wave, Group::Tvf,         Group::Tva,  Group::Tvp,
                            Group::Lfo,  Group::Controllers, Group::Range};

// A stored byte the table has no text for still shows, as its number.
QString listText(const QStringList &items, int v)
{
    return v >= 0 && v < items.size() ? items.at(v).trimmed() : QStringLiteral("? (%1)").arg(v);
}

QString tableText(const auto &table, int v)
{
    return v >= 0 && v < int(table.size()) ? table[std::size_t(v)].trimmed()
                                           : QStringLiteral("? (%1)").arg(v);
}

int widest(const QList<PatchSheet::Line> &lines, auto field)
{
    int w = 0;
    for (const PatchSheet::Line &l : lines)
        w = std::max(w, int(field(l).size()));
    return w;
}
} // namespace

QString PatchSheet::valueText(const PatchParameters::Parameter &p, const PatchImage &image,
                              int tone) const
{
    const int slot = p.block == PatchParameters::Block::Common ? 0 : tone;
    const auto at = [&](int i) { return int(image.at(slot, p.offset + i)); };
    const int v = at(0);
    const DisplayTables &d = DisplayTables::instance();
    switch (p.format) {
    case Format::Number:
        return QString::number(v);
    case Format::Offset:
        return QString::number(v - p.centre);
    case Format::Sensitivity:
        return QString::number(2 * v - SensitivityOffset);
    case Format::Negated:
        return QString::number(-v);
    case Format::List:
    case Format::Switch:
        return listText(p.items, v);
    case Format::Note:
        return tableText(d.NoteNames, v);
    case Format::Pan:
        return tableText(d.PanTexts, v);
    case Format::PitchDepth:
        return tableText(d.PitchDepthTexts, v);
    case Format::HfDamp:
        return tableText(d.HfDampTexts, v);
    case Format::Booster:
        return QLatin1Char('+') + QString::number(v * BoosterStepDb);
    case Format::Name: {
        QString name;
        for (int i = 0; i < p.width; ++i)
            name += QChar(at(i) < FirstShown || at(i) > LastShown ? ' ' : at(i));
        return name.trimmed();
    }
    case Format::Tempo:
        return QString::number((at(0) << NibbleBits) + at(1));
    case Format::WaveGroup:
        return waves_ ? waves_->groupName(at(0), at(1))
                      : QStringLiteral("%1/%2").arg(at(0)).arg(at(1));
    case Format::Wave: {
        const int wave = (at(0) << NibbleBits) + at(1);
        const int type = image.at(slot, addr::tone::WaveGroupType);
        const int id = image.at(slot, addr::tone::WaveGroupId);
        const QString name = waves_ ? waves_->waveName(type, id, wave).trimmed() : QString();
        return name.isEmpty() ? QString::number(wave + 1)
                              : QString::number(wave + 1) + QLatin1Char(' ') + name;
    }
    case Format::EffectType:
        return EffectTables::instance().typeName(v);
    case Format::EffectParameter: {
        const EffectTables &fx = EffectTables::instance();
        const int type = image.common(addr::common::EffectType);
        const int number = p.offset - addr::common::EffectType;
        for (int s = 0; s < EffectTables::SlotCount; ++s) {
            const EffectTables::Slot &sl = fx.slot(type, s);
            if (sl.visible() && sl.offset == number)
                return sl.label.trimmed() + QStringLiteral(": ") +
                       fx.valueText(type, s, v).trimmed();
        }
        return QStringLiteral("(unused) %1").arg(v);
    }
    }
    return QString::number(v);
}

QList<PatchSheet::Line> PatchSheet::lines(const PatchImage &image) const
{
    QList<Line> out;
    const auto add = [&](Group group, PatchParameters::Block block, int tone) {
        for (const PatchParameters::Parameter &p : PatchParameters::all())
            if (p.group == group && p.block == block)
                out.append({PatchParameters::groupName(group, tone), p.label,
                            valueText(p, image, tone),
                            QByteArray(reinterpret_cast<const char *>(image.slotData(
                                           block == PatchParameters::Block::Common ? 0 : tone)) +
                                           p.offset,
                                       p.width)});
    };
    add(Group::Common, PatchParameters::Block::Common, 0);
    for (int t = 1; t <= addr::ToneCount; ++t)
        for (Group g : ToneGroups)
            add(g, PatchParameters::Block::Tone, t);
    add(Group::Effects, PatchParameters::Block::Common, 0);
    add(Group::Mixer, PatchParameters::Block::Common, 0);
    for (int t = 1; t <= addr::ToneCount; ++t)
        add(Group::Mixer, PatchParameters::Block::Tone, t);
    return out;
}

QString PatchSheet::text(const PatchImage &image, const QString &title) const
{
    const QList<Line> all = lines(image);
    const int labelWidth = widest(all, [](const Line &l) { return l.label; });
    QString out = title + QLatin1Char('\n');
    QString group;
    for (const Line &l : all) {
        if (l.group != group) {
            group = l.group;
            out += QStringLiteral("\n[%1]\n").arg(group);
        }
        out += QLatin1String(Indent) + l.label.leftJustified(labelWidth) + QLatin1Char(' ') +
               l.value + QLatin1Char('\n');
    }
    return out;
}

QString PatchSheet::diff(const PatchImage &a, const PatchImage &b) const
{
    const QList<Line> left = lines(a);
    const QList<Line> right = lines(b);
    QList<Line> changed;
    QStringList newValues;
    for (qsizetype i = 0; i < left.size() && i < right.size(); ++i) {
        if (left[i].value == right[i].value && left[i].stored == right[i].stored)
            continue;
        changed.append({left[i].group, left[i].label, left[i].value});
        newValues.append(right[i].value);
    }
    if (changed.isEmpty())
        return QString();
    const auto where = [](const Line &l) { return l.group + QStringLiteral(": ") + l.label; };
    const int whereWidth = widest(changed, where);
    const int valueWidth = widest(changed, [](const Line &l) { return l.value; });
    QString out;
    for (qsizetype i = 0; i < changed.size(); ++i)
        out += where(changed[i]).leftJustified(whereWidth) + QLatin1String(Indent) +
               changed[i].value.leftJustified(valueWidth) + QLatin1String(Separator) +
               newValues[i] + QLatin1Char('\n');
    return out;
}
