// The custom controls, a graph and the structure picture drawn at the scale
// factors of high-resolution screens must be drawn at that resolution, not
// drawn small and stretched. Each factor needs a process of its own (Qt
// reads QT_SCALE_FACTOR once), so the test runs itself with --render for
// 1, 1.25, 1.5 and 2 and compares the pictures.

#include "controls/ledgauge.h"
#include "controls/lpanh.h"
#include "controls/mbutt.h"
#include "controls/sharppicture.h"
#include "controls/sliddt.h"
#include "controls/slidnavf.h"
#include "controls/spincw0r.h"
#include "editors/paintbox.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <map>
#include <memory>

namespace {
constexpr char RenderOption[] = "--render";
const QStringList Factors{QStringLiteral("1"), QStringLiteral("1.25"), QStringLiteral("1.5"),
                          QStringLiteral("2")};

struct Sample
{
    const char *name;
    std::function<QWidget *()> make;
};

std::vector<Sample> samples()
{
    return {
        {"spin",
         [] {
             auto *w = new TSpincw0R;
             w->setValue(64);
             return w;
         }},
        {"slider",
         [] {
             auto *w = new TSlidNaVf;
             w->setMinValue(0);
             w->setMaxValue(127);
             w->setPosition(90);
             return w;
         }},
        {"textslider",
         [] {
             auto *w = new TSliddt;
             w->setPosition(64);
             w->setText(QStringLiteral("Cent"));
             return w;
         }},
        {"pan",
         [] {
             auto *w = new TLPanH;
             w->setValue(40);
             return w;
         }},
        {"button",
         [] {
             auto *w = new TMButt;
             w->resize(24, 24);
             w->setDown(true);
             return w;
         }},
        {"gauge",
         [] {
             auto *w = new TLEDGauge;
             w->resize(16, 160);
             w->setShape(TLEDGauge::ShapeRound);
             w->setCount(16);
             w->setValue(90);
             return w;
         }},
        {"graph",
         [] {
             auto *w = new TPaintBox(QSize(120, 60));
             w->setPaintFunction([](QPainter &p, QSize size) {
                 p.setRenderHint(QPainter::Antialiasing);
                 p.drawLine(QPointF(4, size.height() - 4), QPointF(40, 8));
                 p.drawLine(QPointF(40, 8), QPointF(size.width() - 4, size.height() - 20));
                 p.drawText(QPointF(60, 20), QStringLiteral("T1"));
             });
             return w;
         }},
        {"structure",
         [] {
             auto *w = new QLabel;
             w->setPixmap(ctl::loadSharpPicture(QStringLiteral(TESSIVA_BIN_DIR "/STRU1-6.BMP"),
                                                w->devicePixelRatioF()));
             // A window is kept within the small test screen otherwise.
             w->setFixedSize(w->sizeHint());
             return w;
         }},
    };
}

// The child: every sample shown off screen and grabbed, as name.png.
int render(const QString &folder)
{
    for (const Sample &s : samples()) {
        std::unique_ptr<QWidget> w(s.make());
        w->setAttribute(Qt::WA_DontShowOnScreen);
        w->show();
        QApplication::processEvents();
        if (!w->grab().save(folder + QLatin1Char('/') + QLatin1String(s.name) + ".png"))
            return 1;
    }
    return 0;
}

// Mean difference in grey level (0..255) between two pictures of one size.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            sum += std::abs(qGray(x.pixel(col, row)) - qGray(y.pixel(col, row)));
    return sum / (x.width() * x.height());
}
} // namespace

class TestSharpDrawing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void drawnAtTheScreensResolution_data();
    void drawnAtTheScreensResolution();

private:
    QImage picture(const QString &factor, const char *name) const;

    QTemporaryDir dir_;
};

void TestSharpDrawing::initTestCase()
{
    QVERIFY(dir_.isValid());
    for (const QString &factor : Factors) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), factor);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        const QString folder = dir_.filePath(factor);
        QVERIFY(QDir().mkpath(folder));
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(RenderOption), folder});
        QVERIFY2(child.waitForFinished(60000), qPrintable(factor));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAllStandardError().constData());
    }
}

QImage TestSharpDrawing::picture(const QString &factor, const char *name) const
{
    return QImage(dir_.filePath(factor + QLatin1Char('/') + QLatin1String(name) + ".png"));
}

void TestSharpDrawing::drawnAtTheScreensResolution_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("name");
    // Samples with text or curves: drawn afresh they cannot match a
    // pixel-doubled small drawing. The others are all straight edges on
    // whole pixels, where doubling is what sharp looks like.
    QTest::addColumn<bool>("finerThanDoubled");
    const std::map<QString, bool> finer{{"spin", true},  {"slider", true},   {"textslider", true},
                                        {"pan", false},  {"button", false},  {"gauge", true},
                                        {"graph", true}, {"structure", true}};
    for (const QString &factor : Factors.mid(1))
        for (const auto &[name, curved] : finer)
            QTest::addRow("%s at %s", qPrintable(name), qPrintable(factor))
                << factor << name << curved;
}

void TestSharpDrawing::drawnAtTheScreensResolution()
{
    QFETCH(QString, factor);
    QFETCH(QString, name);
    QFETCH(bool, finerThanDoubled);
    const QByteArray n = name.toLatin1();
    const QImage small = picture(QStringLiteral("1"), n.constData());
    const QImage large = picture(factor, n.constData());
    QVERIFY(!small.isNull() && !large.isNull());

    const QSize expected = (QSizeF(small.size()) * factor.toDouble()).toSize();
    QCOMPARE(large.size(), expected);

    // A small drawing stretched by Qt comes within about one grey level of
    // these; drawn afresh, every sample is at least three away.
    constexpr double Stretched = 2.0;
    constexpr double Doubled = 0.5;
    const QImage smooth = small.scaled(expected, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage doubled = small.scaled(expected, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QVERIFY2(meanDifference(large, smooth) > Stretched,
             qPrintable(QString::number(meanDifference(large, smooth))));
    if (finerThanDoubled)
        QVERIFY2(meanDifference(large, doubled) > Doubled,
                 qPrintable(QString::number(meanDifference(large, doubled))));
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], RenderOption) == 0) {
        QApplication app(argc, argv);
        return render(QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    TestSharpDrawing test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sharpdrawing.moc"
