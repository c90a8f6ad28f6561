#include "core/effecttables.h"

#include "core/effecttablelayout.h"

#include <initializer_list>

using namespace efxlayout;

static_assert(EffectTables::TypeCount == efxlayout::TypeCount);
static_assert(EffectTables::SlotCount == efxlayout::SlotCount);
static_assert(EffectTables::ListCount == efxlayout::ListCount);

namespace {

constexpr int DecimalWidth = 8;
constexpr int PanCentre = 64;
constexpr QChar Degree(u'\u00B0');

// first..last inclusive in steps of step, in the list's own unit.
struct Run
{
    int first;
    int last;
    int step;
};

// Whole numbers throughout: the decimal lists count in hundredths, so no
// entry drifts the way a sum of binary fractions would.
template <typename Format>
void appendRuns(QStringList &list, std::initializer_list<Run> runs, Format format)
{
    for (const Run &run : runs)
        for (int v = run.first; v <= run.last; v += run.step)
            list << format(v);
}

// 510 -> "    5.10"
QString hundredths(int value)
{
    return (QString::number(value / 100) + QLatin1Char('.') +
            QString::number(value % 100).rightJustified(2, QLatin1Char('0')))
        .rightJustified(DecimalWidth);
}

QStringList decimals(std::initializer_list<Run> runs)
{
    QStringList list;
    appendRuns(list, runs, hundredths);
    return list;
}

QStringList numbers(int first, int last, int step = 1, const char *prefix = "",
                    const char *suffix = "")
{
    QStringList list;
    appendRuns(list, {{first, last, step}}, [&](int v) {
        return QLatin1String(prefix) + QString::number(v) + QLatin1String(suffix);
    });
    return list;
}

QStringList fixed(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QLatin1String(text);
    return list;
}

// Tempo-synced delay and rate values, shortest first.
QStringList noteValues()
{
    return fixed(
        {"1/16", "1/8-3", "1/16-.", "1/8", "1/4-3", "1/8-.", "1/4", "1/2-3", "1/4-.", "1/2"});
}

// "D100:0E" .. "D0:100E" (dry:effect), "A100:0B" .. "A0:100B".
QStringList ratios(char left, char right)
{
    QStringList list;
    for (int n = 0; n <= 100; ++n)
        list << QLatin1Char(left) + QString::number(100 - n) + QLatin1Char(':') +
                    QString::number(n) + QLatin1Char(right);
    return list;
}

QStringList panPositions()
{
    QStringList list;
    for (int n = 0; n < 128; ++n) {
        if (n < PanCentre)
            list << QStringLiteral("L ") + QString::number(PanCentre - n);
        else if (n == PanCentre)
            list << QStringLiteral("Centr");
        else
            list << QString::number(n - PanCentre) + QStringLiteral(" R");
    }
    return list;
}

QStringList delayTimes()
{
    QStringList list;
    appendRuns(list, {{200, 545, 5}, {550, 1000, 10}},
               [](int ms) { return QString::number(ms) + QStringLiteral("ms"); });
    return list;
}

QStringList peakFrequencies()
{
    return fixed({"200 Hz", "250 Hz", "315 Hz", "400 Hz", "500 Hz", "630 Hz", "800 Hz", "1000 Hz",
                  "1250 Hz", "1600 Hz", "2000 Hz", "2500 Hz", "3150 Hz", "4000 Hz", "5000 Hz",
                  "6300 Hz", "8000 Hz"});
}

} // namespace

const EffectTables &EffectTables::instance()
{
    static const EffectTables tables;
    return tables;
}

EffectTables::EffectTables()
{
    auto &l = m_lists;
    l[V0] = fixed({"-None-", "-None-"});
    l[V1] = fixed({"4000 Hz", "8000 Hz"});
    l[V2] = numbers(-15, 15, 1, "", " dB");
    l[V3] = peakFrequencies();
    l[V4] = fixed({" 0.5", " 1.0", " 2.0", " 4.0", " 9.0"});
    l[V5] = numbers(0, 127, 1, " ");
    l[V6] = fixed({"Small", "BuiltIn", "2-Stack", "3-Stack"});
    l[V7] = panPositions();
    appendRuns(l[V8], {{100, 290, 10}, {300, 980, 20}, {1000, 8000, 100}},
               [](int hz) { return QString::number(hz) + QStringLiteral(" Hz."); });
    l[V9] = decimals({{5, 500, 5}, {510, 700, 10}, {750, 1000, 50}});
    l[V10] = numbers(1, 5, 1, " ");
    l[V11] = fixed({"LwPass", "BndPss"});
    l[V12] = numbers(0, 15);
    l[V13] = fixed({"Slow", "Fast"});
    l[V14] = fixed({"Pg x1", "Pg x2", "Pg x4", "Pg x8"});
    l[V15] = fixed({"1.5:1", "2.0:1", "4.0:1", "100:1"});
    l[V16] = decimals({{0, 500, 10}, {550, 1000, 50}, {1100, 5000, 100}, {5200, 10000, 200}});
    l[V17] = numbers(0, 20);
    l[V18] = numbers(-20, 20);
    l[V19] = ratios('D', 'E');
    for (int n = 0; n <= 90; ++n)
        l[V20] << QString::number(2 * n) + Degree;
    l[V21] = fixed({"Off", "Low-P", "High-P"});
    l[V22] = numbers(-98, 98, 2, "", " %");
    l[V23] = decimals({{5, 400, 5}, {410, 710, 10}, {760, 960, 50}}) + noteValues();
    l[V24] = decimals({{0, 500, 10},
                       {550, 1000, 50},
                       {1100, 4000, 100},
                       {5000, 30000, 1000},
                       {32000, 50000, 2000}});
    l[V25] = fixed({"normal", "cross"});
    l[V26] = fixed({"normal", "invert"});
    l[V27] = peakFrequencies() + fixed({"ByPass"});
    l[V29] = delayTimes();
    l[V28] = l[V29] + noteValues();
    l[V30] = numbers(-24, 12);
    l[V31] = numbers(-100, 100, 2);
    l[V32] = numbers(1, 5);
    l[V33] = ratios('A', 'B');
    l[V34] = fixed({"Room 1", "Room 2", "Stage 1", "Stage 2", "Hall 1", "Hall 2"});
    l[V35] = fixed({"normal", "reverse", "sweep1", "sweep2"});
    l[V36] = numbers(5, 500, 5);
    l[V37] = fixed({"extra"});
    l[V38] = fixed({" 200 Hz", " 400 Hz"});

    const QString blank(QLatin1Char(' '));
    m_unknown.control1Label = m_unknown.control2Label = blank;
    for (Slot &s : m_unknown.sliders)
        s.label = blank;

    for (int t = 0; t < TypeCount; ++t) {
        const RawType &raw = efxlayout::Types[t];
        Type &type = m_types[t];
        type = m_unknown;
        type.name = QLatin1String(raw.name);
        type.control1Label = QLatin1String(raw.control1);
        type.control2Label = QLatin1String(raw.control2);
        for (const RawSlot &r : raw.sliders) {
            if (r.slot < 1 || r.slot > SlotCount)
                continue;
            Slot &s = type.sliders[r.slot - 1];
            s.label = QLatin1String(r.label);
            s.list = r.list;
            s.offset = r.offset;
        }
        m_typeNames << type.name;
    }
}

const EffectTables::Type &EffectTables::type(int typeByte) const
{
    return isKnownType(typeByte) ? m_types[typeByte] : m_unknown;
}

const EffectTables::Slot &EffectTables::slot(int typeByte, int slotIndex) const
{
    const Type &t = type(typeByte);
    return slotIndex >= 0 && slotIndex < SlotCount ? t.sliders[slotIndex] : m_unknown.sliders[0];
}

QString EffectTables::typeName(int typeByte) const
{
    return isKnownType(typeByte) ? m_types[typeByte].name : QString::number(typeByte);
}

const QStringList &EffectTables::list(int listIndex) const
{
    return listIndex >= 0 && listIndex < ListCount ? m_lists[listIndex] : m_empty;
}

int EffectTables::listSize(int listIndex) const
{
    return int(list(listIndex).size());
}

QString EffectTables::text(int listIndex, int index) const
{
    const QStringList &l = list(listIndex);
    return index >= 0 && index < l.size() ? l[index] : QString();
}

QString EffectTables::valueText(int typeByte, int slotIndex, int value) const
{
    const int listIndex = slot(typeByte, slotIndex).list;
    return value < listSize(listIndex) ? text(listIndex, value) : text(ShiftedList, value);
}
