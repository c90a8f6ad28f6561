// Under the dark palette the graphs and parameter pictures take a dark
// background; their lines and texts must stand out from it.

#include "app/apptheme.h"
#include "editors/envelopepainter.h"
#include "editors/lfowavepicture.h"
#include "editors/paintbox.h"
#include "editors/parameterpictures.h"

#include <QTest>
#include <functional>

using Paint = std::function<void(QPainter &, QSize, const ParameterPictures::Palette &)>;
Q_DECLARE_METATYPE(Paint)

class TestDarkPictures : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void inkStandsOutOnDark_data();
    void inkStandsOutOnDark();
};

void TestDarkPictures::inkStandsOutOnDark_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Paint>("paint");
    const EnvelopeValues v{{40, 60, 30, 50}, {100, 40, 90, 20}, 40};
    QTest::newRow("filter envelope")
        << QSize(EnvelopeGeometry::Width, EnvelopeGeometry::Height)
        << Paint([v](QPainter &p, QSize s, const ParameterPictures::Palette &pal) {
               EnvelopePainter(pal.window).paintFilter(p, s, EnvelopeGeometry::filter(v, false));
           });
    QTest::newRow("amplifier envelope")
        << QSize(EnvelopeGeometry::Width, EnvelopeGeometry::Height)
        << Paint([v](QPainter &p, QSize s, const ParameterPictures::Palette &pal) {
               EnvelopePainter(pal.window)
                   .paintAmplifier(p, s, EnvelopeGeometry::amplifier(v, false), {});
           });
    QTest::newRow("filter type") << ParameterPictures::FilterSize
                                 << Paint([](QPainter &p, QSize s, const auto &pal) {
                                        ParameterPictures::paintFilterType(p, s, 1, pal);
                                    });
    QTest::newRow("bias") << ParameterPictures::BiasSize
                          << Paint([](QPainter &p, QSize s, const auto &pal) {
                                 ParameterPictures::paintBias(p, s, 0, 40, 10, pal);
                             });
    QTest::newRow("velocity curve")
        << ParameterPictures::CurveSize << Paint([](QPainter &p, QSize s, const auto &pal) {
               ParameterPictures::paintVelocityCurve(p, s, 3, pal);
           });
    QTest::newRow("lfo wave") << LfoWavePicture::Size
                              << Paint([](QPainter &p, QSize s, const auto &pal) {
                                     LfoWavePicture::paint(
                                         p, s, LfoWavePicture::Saw, [](int) { return 0; }, pal);
                                 });
}

void TestDarkPictures::inkStandsOutOnDark()
{
    QFETCH(QSize, size);
    QFETCH(Paint, paint);
    const QPalette dark = AppTheme::darkPalette();
    const ParameterPictures::Palette pal{dark.color(QPalette::Base), dark.color(QPalette::Dark),
                                         dark.color(QPalette::Light)};
    const QImage image =
        TPaintBox::render(size, 1.0, [&](QPainter &p, QSize s) { paint(p, s, pal); });
    // Lines and texts, not frames: pixels far lighter than the background
    // and lighter than the frames' silver.
    constexpr int Contrast = 200;
    const int background = pal.window.lightness();
    int ink = 0;
    for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            ink += QColor(image.pixel(x, y)).lightness() - background >= Contrast;
    // Black ink leaves none.
    constexpr int MinInk = 20;
    QVERIFY2(ink >= MinInk, qPrintable(QString::number(ink)));
}

QTEST_MAIN(TestDarkPictures)
#include "tst_darkpictures.moc"
