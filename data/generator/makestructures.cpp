// Draws the ten tone-structure diagrams shown beside the structure spin boxes
// of the main window. Each picture shows how the wave generators (WG),
// filters (TVF) and amplifiers (TVA) of a tone pair are chained, and where
// the two signals are mixed, boosted or ring-modulated.
//
// Layout: the upper row is the first tone of the pair (1 or 3), the lower
// row the second (2 or 4); blocks that work on the combined signal sit in
// the middle row. Signal flows left to right.
//
// Usage: makestructures <output folder> [--png] [--scale N]
// With --scale N the pictures are drawn N times as large and named
// STRU1-n@Nx.png, the name Qt gives pictures for high-resolution screens.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <vector>

namespace {

constexpr int Width = 364;
constexpr int Height = 110;
constexpr int LabelColumn = 34; // lane labels at the left
constexpr int SlotPitch = 46;   // distance between two block centres
constexpr int BoxWidth = 34;
constexpr int BoxHeight = 18;
constexpr int SquareSize = 18; // booster and ring modulator
constexpr int JunctionRadius = 6;
constexpr int ArrowSize = 5;
constexpr int OutEnd = Width - 30;

enum Row
{
    Upper,
    Middle,
    Lower
};
constexpr int RowY[] = {34, 62, 90};

enum Kind
{
    Box,
    Booster,
    Ring,
    Junction
};

struct Node
{
    const char *label;
    Row row;
    double slot;
    Kind kind;
    int tone; // 1 or 2; 0 for the combining blocks
};

struct Edge
{
    int from;
    int to;
};

struct Structure
{
    std::vector<Node> nodes;
    std::vector<Edge> edges;
    std::vector<int> outputs;
};

const QColor Ink(0x20, 0x20, 0x20);
const QColor ToneInk[] = {QColor(0x20, 0x20, 0x20), QColor(0x14, 0x3c, 0x8c),
                          QColor(0x14, 0x64, 0x28)};
const QColor ToneFill[] = {QColor(Qt::white), QColor(0xe6, 0xee, 0xfa), QColor(0xe4, 0xf4, 0xe6)};
const QColor BoosterFill(0x9a, 0x1c, 0x1c);
const QColor RingFill(0x40, 0x40, 0x40);

double centreX(const Node &n)
{
    return LabelColumn + BoxWidth / 2.0 + 4 + n.slot * SlotPitch;
}

double halfWidth(const Node &n)
{
    switch (n.kind) {
    case Box:
        return BoxWidth / 2.0;
    case Junction:
        return JunctionRadius;
    default:
        return SquareSize / 2.0;
    }
}

double halfHeight(const Node &n)
{
    return n.kind == Box ? BoxHeight / 2.0 : halfWidth(n);
}

void arrowHead(QPainter &p, QPointF tip, QPointF direction)
{
    const QPointF back = tip - direction * ArrowSize;
    const QPointF side(-direction.y() * ArrowSize * 0.6, direction.x() * ArrowSize * 0.6);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(back + side);
    head.lineTo(back - side);
    head.closeSubpath();
    p.fillPath(head, Ink);
}

// A signal line: along the source's row to the target's column, then up or
// down into the target when it sits in another row.
void drawEdge(QPainter &p, const Node &a, const Node &b, bool branchDot)
{
    const QPointF start(centreX(a) + halfWidth(a), RowY[a.row]);
    p.setPen(QPen(Ink, 1.4));
    if (a.row == b.row) {
        const QPointF end(centreX(b) - halfWidth(b), RowY[b.row]);
        p.drawLine(start, end - QPointF(ArrowSize - 1, 0));
        arrowHead(p, end, QPointF(1, 0));
        return;
    }
    const QPointF corner(centreX(b), RowY[a.row]);
    const double dir = b.row > a.row ? 1 : -1;
    const QPointF end(centreX(b), RowY[b.row] - dir * halfHeight(b));
    p.drawLine(start, corner);
    p.drawLine(corner, end - QPointF(0, dir * (ArrowSize - 1)));
    arrowHead(p, end, QPointF(0, dir));
    if (branchDot) {
        p.setBrush(Ink);
        p.drawEllipse(corner, 2.5, 2.5);
        p.setBrush(Qt::NoBrush);
    }
}

void drawNode(QPainter &p, const Node &n)
{
    const QPointF c(centreX(n), RowY[n.row]);
    const QRectF r(c.x() - halfWidth(n), c.y() - halfHeight(n), 2 * halfWidth(n),
                   2 * halfHeight(n));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    switch (n.kind) {
    case Box:
        p.setPen(QPen(ToneInk[n.tone], 1.4));
        p.setBrush(ToneFill[n.tone]);
        p.drawRoundedRect(r, 4, 4);
        p.drawText(r, Qt::AlignCenter, QString::fromLatin1(n.label));
        break;
    case Booster:
    case Ring:
        p.setPen(Qt::NoPen);
        p.setBrush(n.kind == Booster ? BoosterFill : RingFill);
        p.drawRect(r);
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignCenter, QString::fromLatin1(n.label));
        break;
    case Junction:
        p.setPen(QPen(Ink, 1.4));
        p.setBrush(Qt::white);
        p.drawEllipse(r);
        p.drawLine(QPointF(c.x() - 3, c.y()), QPointF(c.x() + 3, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - 3), QPointF(c.x(), c.y() + 3));
        break;
    }
    p.setBrush(Qt::NoBrush);
}

void drawOutput(QPainter &p, const Node &n)
{
    const QPointF start(centreX(n) + halfWidth(n), RowY[n.row]);
    const QPointF end(OutEnd, RowY[n.row]);
    p.setPen(QPen(Ink, 1.4));
    p.drawLine(start, end - QPointF(ArrowSize - 1, 0));
    arrowHead(p, end, QPointF(1, 0));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(OutEnd + 2, RowY[n.row] - 8, Width - OutEnd - 2, 16), Qt::AlignVCenter,
               QStringLiteral("OUT"));
}

// scale > 1 draws the same picture with that many pixels per unit, for
// high-resolution screens.
QImage draw(int type, const Structure &s, int scale)
{
    QImage image(Width * scale, Height * scale, QImage::Format_RGB888);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Tinted bands tie each row to its tone.
    for (int tone = 1; tone <= 2; ++tone) {
        const int y = RowY[tone == 1 ? Upper : Lower];
        p.fillRect(QRectF(1, y - 13, Width - 2, 26), ToneFill[tone]);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.setPen(ToneInk[tone]);
        p.drawText(QRectF(2, y - 12, LabelColumn - 2, 24), Qt::AlignCenter,
                   tone == 1 ? QStringLiteral("Tone\n1 / 3") : QStringLiteral("Tone\n2 / 4"));
    }
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    p.drawRect(QRectF(0.5, 0.5, Width - 1, Height - 1));

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(11);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Ink);
    p.drawText(QRectF(4, 2, 80, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("TYPE %1").arg(type));
    bool mixes = false, booster = false, ring = false;
    for (const Node &n : s.nodes) {
        mixes |= n.kind == Junction;
        booster |= n.kind == Booster;
        ring |= n.kind == Ring;
    }
    QFont legend(QStringLiteral("DejaVu Sans"));
    legend.setPixelSize(10);
    p.setFont(legend);
    QStringList legendItems;
    if (type == 1)
        legendItems << QStringLiteral("tones independent");
    if (mixes)
        legendItems << QStringLiteral("+ = mix");
    if (booster)
        legendItems << QStringLiteral("B = booster");
    if (ring)
        legendItems << QStringLiteral("R = ring mod");
    const QString text = legendItems.join(QStringLiteral("   "));
    p.drawText(QRectF(70, 2, Width - 76, 14), Qt::AlignRight | Qt::AlignVCenter, text);

    for (std::size_t i = 0; i < s.edges.size(); ++i) {
        const Edge &e = s.edges[i];
        // A source feeding two blocks of another row splits where the
        // nearer one turns off.
        bool split = false;
        for (std::size_t j = 0; j < s.edges.size(); ++j)
            split |= j != i && s.edges[j].from == e.from &&
                     s.nodes[s.edges[j].to].slot > s.nodes[e.to].slot;
        drawEdge(p, s.nodes[e.from], s.nodes[e.to], split);
    }
    for (const Node &n : s.nodes)
        drawNode(p, n);
    for (int o : s.outputs)
        drawOutput(p, s.nodes[o]);
    return image;
}

// Chains a list of nodes left to right and appends the edges between them.
void chain(Structure &s, std::initializer_list<int> ids)
{
    const int *prev = nullptr;
    for (const int &id : ids) {
        if (prev)
            s.edges.push_back({*prev, id});
        prev = &id;
    }
}

Structure structure(int type)
{
    Structure s;
    auto add = [&s](const char *label, Row row, double slot, Kind kind = Box, int tone = 0) {
        s.nodes.push_back({label, row, slot, kind, tone});
        return int(s.nodes.size() - 1);
    };
    if (type == 1) {
        chain(s, {add("WG1", Upper, 0, Box, 1), add("TVF1", Upper, 1, Box, 1),
                  add("TVA1", Upper, 2, Box, 1)});
        chain(s, {add("WG2", Lower, 0, Box, 2), add("TVF2", Lower, 1, Box, 2),
                  add("TVA2", Lower, 2, Box, 2)});
        s.outputs = {2, 5};
        return s;
    }

    const bool earlyMix = type <= 6; // tone 1's filter moves behind the mix
    const int wg1 = add("WG1", Upper, 0, Box, 1);
    int tone1 = wg1;
    if (!earlyMix) {
        tone1 = add("TVF1", Upper, 1, Box, 1);
        chain(s, {wg1, tone1});
    }
    const int tva1 = add("TVA1", Upper, earlyMix ? 1 : 2, Box, 1);
    chain(s, {tone1, tva1});
    const int wg2 = add("WG2", Lower, 0, Box, 2);
    int tone2 = wg2;
    if (type >= 9) {
        tone2 = add("TVF2", Lower, 1, Box, 2);
        chain(s, {wg2, tone2});
    }

    // Blocks sit one slot apart; a small mixer or square takes less room.
    auto gap = [](Kind a, Kind b) { return a == Box && b == Box ? 1.0 : 0.8; };
    Kind combiner = Junction;
    if (type == 4)
        combiner = Booster;
    else if (type >= 5)
        combiner = Ring;
    const char *combinerLabel = combiner == Booster ? "B" : combiner == Ring ? "R" : "";
    const int mix = add(combinerLabel, Middle, s.nodes[tva1].slot + gap(Box, combiner), combiner);
    s.edges.push_back({tva1, mix});
    s.edges.push_back({tone2, mix});

    int last = mix;
    auto next = [&](const char *label, Kind kind, int tone = 0) {
        const int id =
            add(label, Middle, s.nodes[last].slot + gap(s.nodes[last].kind, kind), kind, tone);
        s.edges.push_back({last, id});
        last = id;
        return id;
    };
    // Types 6, 8 and 10 add tone 2's dry signal to the ring modulator's output.
    if (type == 6 || type == 8 || type == 10)
        s.edges.push_back({tone2, next("", Junction)});
    if (earlyMix)
        next("TVF1", Box, 1);
    if (type == 3)
        next("B", Booster);
    if (type <= 8)
        next("TVF2", Box, 2);
    next("TVA2", Box, 2);
    s.outputs = {last};
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: makestructures <output folder> [--png] [--scale N]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool png = false;
    int scale = 1;
    for (int i = 2; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--png")
            png = true;
        else if (QByteArray(argv[i]) == "--scale" && i + 1 < argc)
            scale = QByteArray(argv[++i]).toInt();
    }
    if (scale < 1) {
        std::fprintf(stderr, "the scale is a whole number from 1 up\n");
        return 2;
    }
    if (scale > 1)
        png = true;
    for (int type = 1; type <= 10; ++type) {
        const QImage image = draw(type, structure(type), scale);
        const QString suffix = scale > 1 ? QStringLiteral("@%1x").arg(scale) : QString();
        const QString name =
            QStringLiteral("STRU1-%1%2.%3").arg(type).arg(suffix, png ? "png" : "BMP");
        if (!image.save(out.filePath(name), png ? "PNG" : "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(name)));
            return 1;
        }
    }
    return 0;
}
